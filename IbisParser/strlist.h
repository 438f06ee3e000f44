/*
** strlist.h: string lists and the name-count table shared by the IBIS
** section handlers.
**
** A list node borrows its text; releasing a list frees the nodes only.  The
** name-count table counts how often each name was added.  It grows in
** memory as names arrive, so no input can overflow it.
*/
#ifndef IBISPARSER_STRLIST_H
#define IBISPARSER_STRLIST_H

typedef struct StringNode {
  struct StringNode *next;
  const char *text; /* borrowed */
} StringNode;

/* Each returns 1 on success, 0 when memory ran out (PROGRAM BUG 2100). */
int STRING_Push(StringNode **list, const char *text);
int STRING_PushAll(StringNode **list, ...); /* ends with a null */
int STRING_AddUnique(StringNode **list, const char *text);
int STRING_Contains(const StringNode *list, const char *text);
StringNode *STRING_Next(const StringNode *node);
const char *STRING_Text(const StringNode *node);
void STRING_Free(StringNode **list);

typedef struct NameCount NameCount; /* opaque */

int STRING_CountAdd(NameCount **table, const char *name);
int STRING_CountGet(const NameCount *table, const char *name);
/* 1 when `name` was added to the table (a null table holds nothing). */
int STRING_CountHas(const NameCount *table, const char *name);
int STRING_CountSize(const NameCount *table);
void STRING_CountFree(NameCount **table);

#endif
