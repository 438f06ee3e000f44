/*
** msel.cpp: the [Model Selector] section.
**
** A selector is its name line and one entry per data line: a model name and
** the descriptor that a tool shows when the user picks among the models.
** Entries are kept in file order; a repeated model name is found through
** the selector's own name table, never by a search of the earlier entries.
*/
#include "IbisParser/msel.h"

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/rng.h"
#include "IbisParser/strlist.h"

#include <string.h>

#define MSEL_SRC "IbisParser/msel"

/* Per-file state. */
static MSEL_Selector *mselOpen; /* the current selector, or null */
static NameCount *mselNames;    /* selector names of the file */

/* ---- records ----------------------------------------------------------- */

void MSEL_Release(void *record) {
  MSEL_Selector *s = (MSEL_Selector *)record;
  MselEntry *e, *next;
  if( s == NULL ) return;
  if( s == mselOpen ) mselOpen = NULL;
  for( e = s->first; e; e = next ) {
    next = e->next;
    if( e->descriptor ) CMN_Free(&e->descriptor);
    CMN_FreeBlock(e);
  }
  STRING_CountFree(&s->entryNames);
  CMN_FreeBlock(s);
}

void MSEL_Reset(void) {
  mselOpen = NULL;
  STRING_CountFree(&mselNames);
}

void MSEL_Init(void) {
  IbisFile *file;
  MSEL_Selector *s = NULL;
  mselOpen = NULL;
  if( !IBIS_Current(&file) ) {
    MSG_BugCodeLine(MSGC_MSEL_NO_IBIS, MSEL_SRC, __LINE__);
    return;
  }
  if( !CMN_Calloc(&s, sizeof(*s)) ) {
    MSG_ErrorCodeLine(MSGC_MSEL_NO_MEMORY);
    return;
  }
  if( !IBIS_Append(file, SECTION_MODEL_SELECTOR, s) ) {
    MSG_ErrorCodeLine(MSGC_MSEL_NO_MEMORY);
    CMN_FreeBlock(s);
    return;
  }
  s->line = PARSE_GetLineNumber();
  mselOpen = s;
}

/* ---- lines ------------------------------------------------------------- */

static void mselNameLine(MSEL_Selector *s, char *rest) {
  RngItems items;
  int limit = MDL_NameLimit(PARSE_GetDispatchVersion());
  size_t len;
  RNG_Split(rest, &items);
  if( items.count == 0 ) {
    MSG_ErrorCodeLine(MSGC_MSEL_MISSING_NAME);
    return;
  }
  if( items.count != 1 )
    MSG_ErrorCodeLine(MSGC_MSEL_KEYWORD_ITEMS, items.count, "Model Selector",
                      1);
  len = strlen(items.item[0]);
  if( len > (size_t)limit ) {
    MSG_ErrorCodeLine(MSGC_MSEL_NAME_TOO_LONG, limit);
    len = (size_t)limit;
  }
  memcpy(s->name, items.item[0], len);
  s->name[len] = 0;
  if( CMN_IsReservedWord(s->name) )
    MSG_ErrorCodeLine(MSGC_MSEL_RESERVED_NAME, s->name);
  else if( STRING_CountAdd(&mselNames, s->name) > 1 )
    MSG_ErrorCodeLine(MSGC_MSEL_NAME_REPEATED, s->name);
}

void MSEL_Keyword(int code, char *text) {
  char *rest = text;
  if( code != KW_MODEL_SELECTOR ) {
    MSG_BugCodeLine(MSGC_MSEL_ILLEGAL_KEYWORD, MSEL_SRC, __LINE__);
    return;
  }
  if( mselOpen == NULL ) {
    MSG_ErrorCodeLine(MSGC_MSEL_ORPHAN_KEYWORD);
    return;
  }
  CMN_SkipPastBracket(&rest);
  mselNameLine(mselOpen, rest);
}

/* Splits an entry line in place into the model name and the descriptor
** (the rest of the line, its inner blanks kept). */
static void mselSplitEntry(char *text, char **name, char **descriptor) {
  char *p = text;
  CMN_SkipWhiteSpace(&p);
  *name = p;
  while( *p && !CMN_IsSpace((unsigned char)*p) ) p++;
  if( *p ) *p++ = 0;
  CMN_SkipWhiteSpace(&p);
  *descriptor = p;
}

/* The descriptor, cut so that name and descriptor fit the entry. */
static char *mselDescriptor(const char *text, size_t nameLength) {
  size_t room = nameLength < MSEL_MAX_ENTRY ? MSEL_MAX_ENTRY - nameLength : 0;
  size_t len = strlen(text);
  if( len > room ) {
    MSG_ErrorCodeLine(MSGC_MSEL_DESCRIPTOR_TOO_LONG, text, (unsigned)room);
    len = room;
  }
  return CMN_StrNDup(text, len);
}

static void mselAppend(MSEL_Selector *s, MselEntry *e) {
  if( s->last )
    s->last->next = e;
  else
    s->first = e;
  s->last = e;
  s->count++;
}

void MSEL_DataLine(char *text) {
  MSEL_Selector *s = mselOpen;
  MselEntry *e = NULL;
  int limit = MDL_NameLimit(PARSE_GetDispatchVersion());
  char *name, *descriptor;
  size_t len;
  if( s == NULL ) {
    MSG_ErrorCodeLine(MSGC_MSEL_ORPHAN_DATA);
    return;
  }
  mselSplitEntry(text, &name, &descriptor);
  if( *name == 0 ) {
    MSG_ErrorCodeLine(MSGC_MSEL_MISSING_MODEL);
    return;
  }
  len = strlen(name);
  if( len > (size_t)limit ) {
    MSG_ErrorCodeLine(MSGC_MSEL_MODEL_NAME_TOO_LONG, limit);
    len = (size_t)limit;
    name[len] = 0;
  }
  if( strcmp(name, "NA") == 0 ) {
    MSG_ErrorCodeLine(MSGC_MSEL_MODEL_NA);
    return;
  }
  if( STRING_CountAdd(&s->entryNames, name) > 1 ) {
    MSG_ErrorCodeLine(MSGC_MSEL_MODEL_REPEATED, name);
    return;
  }
  if( !CMN_Calloc(&e, sizeof(*e)) ) {
    MSG_ErrorCodeLine(MSGC_MSEL_NO_MEMORY_ENTRY);
    return;
  }
  memcpy(e->name, name, len + 1);
  e->descriptor = mselDescriptor(descriptor, len);
  e->line = PARSE_GetLineNumber();
  mselAppend(s, e);
}

void MSEL_Line(int lineType, int code, char *text) {
  CMN_ASSERT(text != NULL, MSEL_SRC);
  if( lineType == SECTION_LINE_KEYWORD )
    MSEL_Keyword(code, text);
  else if( lineType == SECTION_LINE_DATA )
    MSEL_DataLine(text);
  else
    MSG_BugCodeLine(MSGC_MSEL_ILLEGAL_LINE_TYPE, MSEL_SRC, __LINE__);
}

/* ---- closing ----------------------------------------------------------- */

void MSEL_EndSelector(MSEL_Selector *selector) {
  if( selector == NULL ) return;
  /* The repeat check is over; the names stay in the entries. */
  STRING_CountFree(&selector->entryNames);
  if( selector->count == 0 )
    MSG_ErrorCode(MSGC_MSEL_NO_MODELS, selector->name);
  else if( selector->count == 1 )
    MSG_WarningCode(MSGC_MSEL_ONE_MODEL, selector->name);
}

void MSEL_EndSection(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
  /* A selector has no keyword of its own after its name line. */
  MSEL_EndSelector(mselOpen);
  mselOpen = NULL;
}

/* ---- after the file ---------------------------------------------------- */

void MSEL_CheckModels(IbisFile *file) {
  NameCount *models = NULL;
  IbisItem *item = NULL;
  if( file == NULL ) {
    MSG_BugCode(MSGC_MSEL_CHECK_NO_IBIS, MSEL_SRC, __LINE__);
    return;
  }
  if( !IBIS_GetModelSelectors(file, &item) ) return;
  if( IBIS_GetModels(file, &item) ) {
    for( ; item; item = item->next ) {
      const MDL_Model *m = (const MDL_Model *)item->record;
      if( m && m->name[0] ) STRING_CountAdd(&models, m->name);
    }
  }
  IBIS_GetModelSelectors(file, &item);
  for( ; item; item = item->next ) {
    const MSEL_Selector *s = (const MSEL_Selector *)item->record;
    const MselEntry *e;
    if( s == NULL ) continue;
    if( s->name[0] && STRING_CountHas(models, s->name) )
      MSG_ErrorCode(MSGC_MSEL_MODEL_AND_SELECTOR, s->name);
    for( e = s->first; e; e = e->next ) {
      if( !STRING_CountHas(models, e->name) )
        MSG_ErrorCode(MSGC_MSEL_MODEL_UNDEFINED, e->name, s->name);
    }
  }
  STRING_CountFree(&models);
}

const ParseSection MSEL_ParseSection = { MSEL_Init, MSEL_EndSection, MSEL_Line,
                                         MSEL_Release, MSEL_Reset };
