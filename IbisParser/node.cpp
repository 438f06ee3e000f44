/*
** node.cpp: [Node Declarations] lines: every token is the name of one
** internal node of the component, kept as an allocated copy (names are not
** limited in length; the circuit-call check compares them whole).
*/
#include "IbisParser/node.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

#define NODE_SRC "IbisParser/node"

int NODE_NewList(NODE_List **out) {
  return CMN_Calloc((void **)out, sizeof(**out));
}

static int nodeAdd(NODE_List *list, const char *token, size_t len) {
  NODE_Name *n = NULL;
  if( !CMN_Calloc(&n, sizeof(*n)) ) return 0;
  if( (n->name = CMN_StrNDup(token, len)) == NULL ) {
    CMN_FreeBlock(n);
    return 0;
  }
  n->next = list->first;
  list->first = n;
  return 1;
}

int NODE_ReadLine(char *text, NODE_List *list) {
  const char *p = text;
  CMN_ASSERT(text != NULL && list != NULL, NODE_SRC);
  for( ;; ) {
    size_t len;
    p += strspn(p, " \t");
    if( *p == 0 ) return 1;
    len = strcspn(p, " \t");
    if( !nodeAdd(list, p, len) ) {
      MSG_BugCode(MSGC_NODE_NO_MEMORY, NODE_SRC, __LINE__);
      return 0;
    }
    p += len;
  }
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
