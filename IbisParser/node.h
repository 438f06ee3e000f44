/*
** node.h: [Node Declarations] ... [End Node Declarations] of a component:
** the names of the component's internal nodes, which circuit calls may
** connect to.
*/
#ifndef IBISPARSER_NODE_H
#define IBISPARSER_NODE_H

typedef struct NODE_Name {
  struct NODE_Name *next;
  char *name; /* allocated copy of the token */
} NODE_Name;

typedef struct NODE_List {
  NODE_Name *first; /* newest first: the first declared name is last */
} NODE_List;

/* A new, empty list: 1, or 0 when memory ran out. */
int NODE_NewList(NODE_List **out);
/* Adds every token of the line: 1, or 0 after an allocation failure. */
int NODE_ReadLine(char *text, NODE_List *list);
void NODE_FreeList(NODE_List **list);

#endif
