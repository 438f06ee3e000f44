/*
** icmset.cpp: the interconnect model sets of an .ibs file: each set's name,
** its [Interconnect Model] blocks, which it hands to the icm module (a
** nested keyword, section.h), and its end.
**
** A set is open from [Interconnect Model Set] to [End Interconnect Model
** Set].  Any other keyword of the file ends it with an error, except the
** interconnect model keywords it owns and a keyword the checker skips (one
** it does not know).  Set names are unique within one file: a group names
** a set by its name and file, so two sets of one name in one file could
** not be told apart (a set in another file may reuse the name).
**
** Lines of a set outside its [Interconnect Model] blocks are skipped with
** a warning: the keywords and sub-parameters a set may hold besides its
** models are not in the sources the checker was built from (the stored
** keyword trees end before the set's own rows), so none is invented here.
**
** Records go in the section's IbisFile list; messages in the 5300 block of
** msgcodes.h.
*/
#include "IbisParser/icmset.h"

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <stdio.h>
#include <string.h>

#define ICMSET_KEYWORD "[Interconnect Model Set]"
#define ICMSET_END "[End Interconnect Model Set]"

static struct {
  ICMSET_Set *current; /* the open set */
  NameIndex names;     /* the file's set names so far, borrowed */
} icmset;

ICMSET_Set *ICMSET_Current(void) { return icmset.current; }

void ICMSET_Index(const struct IbisFile *file, NameIndex *index) {
  IbisItem *item = NULL;
  if( !IBIS_GetList(file, SECTION_INTERCONNECT_SET, &item) ) return;
  for( ; item; item = item->next ) {
    ICMSET_Set *set = (ICMSET_Set *)item->record;
    if( set && set->name[0] ) NAMEIDX_Add(index, set->name, set);
  }
}

/* [Interconnect Model Set]: a new set. */
static void icmsetBegin(void) {
  IbisFile *file = NULL;
  ICMSET_Set *set = NULL;
  icmset.current = NULL;
  if( !IBIS_Current(&file) || !CMN_Calloc(&set, sizeof *set) ) return;
  if( (set->name = CMN_StrDup("")) == NULL
      || !IBIS_Append(file, SECTION_INTERCONNECT_SET, set) ) {
    CMN_Free(&set->name);
    CMN_Free(&set);
    return;
  }
  set->line = PARSE_GetLineNumber();
  icmset.current = set;
}

/* The set's name: the rest of its keyword line. */
static void icmsetName(ICMSET_Set *set, char *text) {
  char *name = text, *copy;
  const ICMSET_Set *first;
  CMN_SkipPastBracket(&name);
  if( *name == 0 ) {
    MSG_ErrorCodeLine(MSGC_ICM_MISSING_NAME, ICMSET_KEYWORD);
    return;
  }
  if( (copy = CMN_StrDup(name)) == NULL ) return;
  CMN_Free(&set->name);
  set->name = copy;
  if( strpbrk(copy, " \t") ) {
    MSG_WarningCodeLine(MSGC_ICM_NAME_BLANK, ICMSET_KEYWORD, copy);
  }
  first = (const ICMSET_Set *)NAMEIDX_Find(&icmset.names, copy);
  if( first ) {
    MSG_ErrorCodeLine(MSGC_ICMSET_DUPLICATE, copy, first->line);
  } else {
    NAMEIDX_Add(&icmset.names, copy, set);
  }
}

/* The end of the open set, by its closing keyword or by another one. */
static void icmsetFinish(void) {
  if( icmset.current->models == 0 ) {
    MSG_WarningCodeLine(MSGC_ICMSET_EMPTY, icmset.current->name);
  }
  icmset.current = NULL;
}

static void icmsetEndLine(char *text) {
  char *rest = text;
  if( icmset.current == NULL ) {
    MSG_ErrorCodeLine(MSGC_ICM_ORPHAN_END, ICMSET_END, ICMSET_KEYWORD);
    return;
  }
  CMN_SkipPastBracket(&rest);
  if( *rest ) MSG_ErrorCodeLine(MSGC_ICM_DATA_AFTER_END, ICMSET_END);
  icmsetFinish();
}

/* A line of the set's own that is no model's: its first word, in the
** warning that skips it. */
static void icmsetUnknownLine(const char *text) {
  char word[41];
  size_t n = strcspn(text, " \t=");
  snprintf(word, sizeof(word), "%.*s", (int)(n < 40 ? n : 40), text);
  MSG_WarningCodeLine(MSGC_ICMSET_LINE_OUTSIDE_MODEL, word,
                      icmset.current->name);
}

/* [Interconnect Model], [End Interconnect Model] and their data lines. */
static void icmsetModelLine(int lineType, int code, char *text) {
  if( icmset.current == NULL ) {
    /* The data lines of a model outside any set follow its one error. */
    if( lineType == SECTION_LINE_KEYWORD ) {
      MSG_ErrorCodeLine(MSGC_ICM_OUTSIDE_SET, KEYWORD_Newer(code)->display);
    }
    return;
  }
  if( lineType == SECTION_LINE_DATA && code == KW_END_INTERCONNECT_MODEL ) {
    icmsetUnknownLine(text);
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD && code == KW_INTERCONNECT_MODEL ) {
    icmset.current->models++;
  }
  SECTION_NestedLine(lineType, code, text);
}

static void icmsetLine(int lineType, int code, char *text) {
  if( code == KW_INTERCONNECT_MODEL || code == KW_END_INTERCONNECT_MODEL ) {
    icmsetModelLine(lineType, code, text);
  } else if( lineType == SECTION_LINE_KEYWORD ) {
    if( code == KW_INTERCONNECT_MODEL_SET ) {
      if( icmset.current ) icmsetName(icmset.current, text);
    } else {
      icmsetEndLine(text);
    }
  } else if( code == KW_INTERCONNECT_MODEL_SET ) {
    if( icmset.current ) icmsetUnknownLine(text);
  } else {
    MSG_ErrorCodeLine(MSGC_ICM_DATA_AFTER_END, ICMSET_END);
  }
}

static void icmsetClose(int previousCode, int newCode) {
  SECTION_NestedClose(previousCode, newCode);
  if( icmset.current == NULL || newCode == KW_END_INTERCONNECT_MODEL_SET
      || SECTION_IsNestedIn(SECTION_INTERCONNECT_SET, newCode) ) {
    return;
  }
  MSG_ErrorCodeLine(MSGC_ICM_NOT_ENDED, ICMSET_KEYWORD, icmset.current->name,
                    ICMSET_END);
  icmsetFinish();
}

static void icmsetRelease(void *record) {
  ICMSET_Set *set = (ICMSET_Set *)record;
  if( set == NULL ) return;
  if( icmset.current == set ) icmset.current = NULL;
  CMN_Free(&set->name);
  CMN_Free(&set);
}

static void icmsetReset(void) {
  icmset.current = NULL;
  NAMEIDX_Free(&icmset.names);
}

const ParseSection ICMSET_ParseSection = { icmsetBegin, icmsetClose, icmsetLine,
                                           icmsetRelease, icmsetReset };
