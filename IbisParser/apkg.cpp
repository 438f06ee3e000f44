/*
** apkg.cpp: the name lines of [Alternate Package Models].
*/
#include "IbisParser/apkg.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

#define APKG_SRC "IbisParser/apkg"

void APKG_AddName(APKG_Name **list, APKG_Name **tail, NameIndex *names,
                  const char *text) {
  APKG_Name *a = NULL;
  size_t len;
  CMN_ASSERT(list && tail && names && text, APKG_SRC);
  len = strlen(text);
  if( len == 0 ) {
    MSG_ErrorCodeLine(MSGC_APKG_MISSING);
    return;
  }
  if( len > APKG_MAX_NAME ) {
    MSG_ErrorCodeLine(MSGC_APKG_TOO_LONG, text);
    len = APKG_MAX_NAME;
  }
  if( !CMN_Calloc(&a, sizeof(*a)) ) {
    MSG_ErrorCodeLine(MSGC_APKG_NO_MEMORY);
    return;
  }
  memcpy(a->name, text, len);
  a->name[len] = 0;
  if( NAMEIDX_Contains(names, a->name) )
    MSG_ErrorCodeLine(MSGC_APKG_DUPLICATE, a->name);
  else
    NAMEIDX_Add(names, a->name, a);
  if( *tail )
    (*tail)->next = a;
  else
    *list = a;
  *tail = a;
}

void APKG_FreeList(APKG_Name **list) {
  while( *list ) {
    APKG_Name *a = *list;
    *list = a->next;
    CMN_FreeBlock(a);
  }
}

int APKG_CountUpTo2(const APKG_Name *list) {
  int n = 0;
  for( ; list && n < 2; list = list->next ) n++;
  return n;
}
