/*
** node.cpp: [Node Declarations] lines.
** (Placeholder until the series modules land: names are not kept.)
*/
#include "IbisParser/node.h"

#include "IbisParser/cmn.h"

int NODE_NewList(NODE_List **out) {
  return CMN_Calloc((void **)out, sizeof(**out));
}

int NODE_ReadLine(char *text, NODE_List *list) {
  (void)text;
  (void)list;
  return 1;
}

void NODE_FreeList(NODE_List **list) {
  if( *list == NULL ) return;
  while( (*list)->first ) {
    NODE_Name *n = (*list)->first;
    (*list)->first = n->next;
    CMN_FreeBlock(n->name);
    CMN_FreeBlock(n);
  }
  CMN_FreeBlock(*list);
  *list = NULL;
}
