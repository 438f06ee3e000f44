/*
** strlist.cpp: borrowed-text string lists and the name-count table.
**
** The name-count table is an open-addressing hash table that doubles when
** it is half full, so adding stays constant time on average and the table
** can only grow with the memory the names themselves need.
*/
#include "IbisParser/strlist.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <stdarg.h>
#include <stddef.h>
#include <string.h>

#define STRING_SRC "IbisParser/strlist"

int STRING_Push(StringNode **list, const char *text) {
  StringNode *node = NULL;
  CMN_ASSERT(list != NULL, STRING_SRC);
  if( !CMN_Calloc((void **)&node, sizeof(*node)) ) {
    MSG_BugCode(MSGC_STRING_NO_MEMORY, STRING_SRC, __LINE__);
    return 0;
  }
  node->text = text;
  node->next = *list;
  *list = node;
  return 1;
}

int STRING_PushAll(StringNode **list, ...) {
  va_list ap;
  const char *text;
  int ok = 1;
  va_start(ap, list);
  while( ok && (text = va_arg(ap, const char *)) != NULL ) {
    ok = STRING_Push(list, text);
  }
  va_end(ap);
  return ok;
}

int STRING_Contains(const StringNode *list, const char *text) {
  for( ; list; list = list->next ) {
    if( list->text == text ) return 1;
    if( list->text && text && strcmp(list->text, text) == 0 ) return 1;
  }
  return 0;
}

int STRING_AddUnique(StringNode **list, const char *text) {
  CMN_ASSERT(list != NULL, STRING_SRC);
  if( STRING_Contains(*list, text) ) return 1;
  return STRING_Push(list, text);
}

StringNode *STRING_Next(const StringNode *node) {
  return node ? node->next : NULL;
}

const char *STRING_Text(const StringNode *node) {
  return node ? node->text : NULL;
}

void STRING_Free(StringNode **list) {
  StringNode *node, *next;
  CMN_ASSERT(list != NULL, STRING_SRC);
  for( node = *list; node; node = next ) {
    next = node->next;
    CMN_FreeBlock(node);
  }
  *list = NULL;
}

typedef struct NameSlot {
  char *name; /* owned copy, null for an empty slot */
  int count;
} NameSlot;

struct NameCount {
  NameSlot *slot;
  size_t nSlot; /* a power of two */
  size_t nUsed;
};

static size_t countHash(const char *s) {
  size_t h = 2166136261u;
  for( ; *s; s++ ) h = (h ^ (unsigned char)*s) * 16777619u;
  return h;
}

static NameSlot *countFind(const NameCount *t, const char *name) {
  size_t i;
  if( t == NULL || t->nSlot == 0 ) return NULL;
  i = countHash(name) & (t->nSlot - 1);
  while( t->slot[i].name ) {
    if( strcmp(t->slot[i].name, name) == 0 ) return &t->slot[i];
    i = (i + 1) & (t->nSlot - 1);
  }
  return &t->slot[i];
}

static int countGrow(NameCount *t) {
  NameSlot *old = t->slot, *fresh = NULL;
  size_t nOld = t->nSlot, n = nOld ? nOld * 2 : 16, i;
  if( n < nOld || n > ((size_t)-1) / sizeof(NameSlot) ) return 0;
  if( !CMN_Calloc((void **)&fresh, n * sizeof(NameSlot)) ) return 0;
  t->slot = fresh;
  t->nSlot = n;
  for( i = 0; i < nOld; i++ ) {
    if( old[i].name ) *countFind(t, old[i].name) = old[i];
  }
  if( old ) CMN_FreeBlock(old);
  return 1;
}

int STRING_CountAdd(NameCount **table, const char *name) {
  NameCount *t;
  NameSlot *s;
  CMN_ASSERT(table != NULL && name != NULL, STRING_SRC);
  if( *table == NULL && !CMN_Calloc((void **)table, sizeof(NameCount)) ) {
    MSG_BugCode(MSGC_STRING_NO_MEMORY, STRING_SRC, __LINE__);
    return 0;
  }
  t = *table;
  if( (t->nUsed + 1) * 2 > t->nSlot && !countGrow(t) ) {
    MSG_BugCode(MSGC_STRING_NO_MEMORY, STRING_SRC, __LINE__);
    return 0;
  }
  s = countFind(t, name);
  if( s->name == NULL ) {
    s->name = CMN_StrDup(name);
    if( s->name == NULL ) return 0;
    t->nUsed++;
  }
  if( s->count < 0x7fffffff ) s->count++;
  return s->count;
}

int STRING_CountGet(const NameCount *table, const char *name) {
  NameSlot *s;
  CMN_ASSERT(name != NULL, STRING_SRC);
  s = countFind(table, name);
  if( s == NULL || s->name == NULL ) {
    MSG_BugCode(MSGC_STRING_UNKNOWN_NAME, STRING_SRC, __LINE__);
    return 0;
  }
  return s->count;
}

int STRING_CountHas(const NameCount *table, const char *name) {
  NameSlot *s;
  CMN_ASSERT(name != NULL, STRING_SRC);
  s = countFind(table, name);
  return s != NULL && s->name != NULL;
}

int STRING_CountSize(const NameCount *table) {
  return table ? (int)table->nUsed : 0;
}

void STRING_CountFree(NameCount **table) {
  size_t i;
  CMN_ASSERT(table != NULL, STRING_SRC);
  if( *table == NULL ) return;
  for( i = 0; i < (*table)->nSlot; i++ ) {
    if( (*table)->slot[i].name ) CMN_Free((void **)&(*table)->slot[i].name);
  }
  if( (*table)->slot ) CMN_FreeBlock((*table)->slot);
  CMN_Free((void **)table);
}
