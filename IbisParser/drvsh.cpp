/*
** drvsh.cpp: [Driver Schedule].
*/
#include "IbisParser/drvsh.h"

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/strlist.h"

#include <stdlib.h>
#include <string.h>

#define DRVSH_SRC "IbisParser/drvsh"

void DRVSH_Free(DrvshRecord **slot) {
  if( *slot == NULL ) return;
  if( (*slot)->entry ) CMN_Free(&(*slot)->entry);
  STRING_CountFree(&(*slot)->names);
  CMN_Free(slot);
}

/* Checks and copies the scheduled model's name; 0 when there is none. */
static int drvshName(DrvshRecord *s, const char *name, const char *owner,
                     char *field) {
  int limit = MDL_NameLimit(PARSE_GetDispatchVersion());
  size_t len = strlen(name);
  if( len == 0 ) {
    MSG_ErrorCodeLine(MSGC_DRVSH_NO_NAME);
    return 0;
  }
  if( len > (size_t)limit ) {
    MSG_ErrorCodeLine(MSGC_DRVSH_NAME_TOO_LONG, limit);
    len = (size_t)limit;
  }
  memcpy(field, name, len);
  field[len] = 0;
  if( strcmp(field, owner) == 0 )
    MSG_ErrorCodeLine(MSGC_DRVSH_SAME_AS_MODEL, field);
  else if( CMN_IsReservedWord(field) )
    MSG_ErrorCodeLine(MSGC_DRVSH_RESERVED_NAME, field);
  else if( STRING_CountAdd(&s->names, field) > 1 )
    MSG_ErrorCodeLine(MSGC_DRVSH_NAME_REPEATED, field);
  return 1;
}

void DRVSH_Line(DrvshRecord *s, char *text, const char *owner) {
  RngItems items;
  DrvshEntry e;
  if( s == NULL ) return;
  memset(&e, 0, sizeof(e));
  RNG_Split(text, &items);
  if( items.count == 0 || !drvshName(s, items.item[0], owner, e.name) ) {
    if( items.count == 0 ) MSG_ErrorCodeLine(MSGC_DRVSH_NO_NAME);
    return;
  }
  e.line = PARSE_GetLineNumber();
  DLY_Read(items.item + 1, items.count - 1, &e.delays);
  if( s->count == s->capacity ) {
    int capacity = s->capacity ? s->capacity * 2 : 4;
    size_t bytes = sizeof(DrvshEntry) * (size_t)capacity;
    if( s->entry == NULL ? !CMN_Calloc(&s->entry, bytes)
                         : !CMN_Realloc(&s->entry, bytes) ) {
      MSG_BugCode(MSGC_DRVSH_NO_MEMORY, DRVSH_SRC, __LINE__);
      return;
    }
    s->capacity = capacity;
  }
  s->entry[s->count++] = e;
}

static int drvshCompare(const void *a, const void *b) {
  return strcmp((*(MDL_Model *const *)a)->name, (*(MDL_Model *const *)b)->name);
}

/* The file's models sorted by name, so each scheduled name is found by a
** binary search instead of a walk of the model list. */
static int drvshIndex(IbisFile *file, MDL_Model ***out, int *count) {
  IbisItem *item = NULL;
  MDL_Model **all = NULL;
  int n = 0;
  IBIS_GetModels(file, &item);
  for( IbisItem *i = item; i; i = i->next ) n++;
  *out = NULL;
  *count = 0;
  if( n == 0 ) return 1;
  if( !CMN_Calloc(&all, sizeof(MDL_Model *) * (size_t)n) ) return 0;
  n = 0;
  for( ; item; item = item->next ) all[n++] = (MDL_Model *)item->record;
  qsort(all, (size_t)n, sizeof(MDL_Model *), drvshCompare);
  *out = all;
  *count = n;
  return 1;
}

static MDL_Model *drvshFind(MDL_Model **all, int n, const char *name) {
  MDL_Model key, *k = &key;
  MDL_Model **hit;
  if( n == 0 ) return NULL;
  strcpy(key.name, name);
  hit = (MDL_Model **)bsearch(&k, all, (size_t)n, sizeof(MDL_Model *),
                              drvshCompare);
  return hit ? *hit : NULL;
}

static void drvshCheckOne(const MDL_Model *owner, MDL_Model **all, int n) {
  const DrvshRecord *s = owner->schedule;
  int i;
  if( s->count == 0 ) MSG_ErrorCode(MSGC_DRVSH_NO_MODELS, owner->name);
  if( s->count == 1 ) MSG_WarningCode(MSGC_DRVSH_ONE_MODEL, owner->name);
  for( i = 0; i < s->count; i++ ) {
    MDL_Model *m = drvshFind(all, n, s->entry[i].name);
    if( m == NULL ) {
      MSG_ErrorCode(MSGC_DRVSH_NOT_DEFINED, s->entry[i].name, owner->name);
      continue;
    }
    m->scheduled = 1;
    if( m->schedule ) MSG_ErrorCode(MSGC_DRVSH_NESTED, m->name, owner->name);
    if( m->type == MDL_TYPE_INPUT || m->type == MDL_TYPE_INPUT_ECL
        || m->type == MDL_TYPE_TERMINATOR || m->type == MDL_TYPE_SERIES
        || m->type == MDL_TYPE_SERIES_SWITCH )
      MSG_ErrorCode(MSGC_DRVSH_NOT_OUTPUT, m->name, owner->name);
  }
}

void DRVSH_CheckSchedules(IbisFile *file) {
  MDL_Model **all;
  IbisItem *item = NULL;
  int n;
  if( file == NULL || !drvshIndex(file, &all, &n) ) return;
  IBIS_GetModels(file, &item);
  for( ; item; item = item->next ) {
    const MDL_Model *m = (const MDL_Model *)item->record;
    if( m && m->schedule ) drvshCheckOne(m, all, n);
  }
  if( all ) CMN_Free(&all);
}
