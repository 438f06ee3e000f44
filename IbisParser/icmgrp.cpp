/*
** icmgrp.cpp: the interconnect model groups of a component: the
** interconnect model sets each group names, with the files they are in.
**
** A nested module of [Interconnect Model Group] .. [End Interconnect Model
** Group] (IBIS 7.0): its owner, the component (CMPNT_Current), hands it the
** keyword's lines (SECTION_NestedLine) and each keyword change after them
** (SECTION_NestedClose).  Records go in the module's own IbisFile list;
** messages in the 5400 block of msgcodes.h.
**
** Each data line names a set and the file that holds it, NA for this file:
** sets of one name may live in different files, the file telling them
** apart.  A set in another file is looked for while the line is read (the
** file is found beside this one and scanned for its set names, icmfile); a
** set of this file may come after the component, so those are resolved
** after the file (ICMGRP_CheckSets).  The set module checks that each set
** holds interconnect models and the icm module what each model names.
*/
#include "IbisParser/icmgrp.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/icmfile.h"
#include "IbisParser/icmset.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/parse.h"

#include <stdio.h>
#include <string.h>

typedef struct ICMGRP_Entry {
  struct ICMGRP_Entry *next;
  char *set;  /* allocated */
  char *file; /* allocated; "NA" (any case) for this file */
} ICMGRP_Entry;

typedef struct ICMGRP_Group {
  char *name; /* allocated; empty when the keyword line names none */
  char component[CMPNT_MAX_NAME + 1];
  ICMGRP_Entry *first, *last;
  int entries; /* data lines read, whatever their shape */
} ICMGRP_Group;

static struct { ICMGRP_Group *current; } icmgrp;

/* Called before the keyword line. */
static void icmgrpBegin(void) {
  IbisFile *file = NULL;
  ICMGRP_Group *g = NULL;
  CMPNT_Component *c = CMPNT_Current();
  icmgrp.current = NULL;
  if( c == NULL || !IBIS_Current(&file) || !CMN_Calloc(&g, sizeof *g) ) return;
  if( (g->name = CMN_StrDup("")) == NULL
      || !IBIS_Append(file, SECTION_INTERCONNECT_GROUP, g) ) {
    CMN_Free(&g->name);
    CMN_Free(&g);
    return;
  }
  snprintf(g->component, sizeof(g->component), "%s", c->name);
  icmgrp.current = g;
}

static void icmgrpName(ICMGRP_Group *g, char *text) {
  char *name = text, *copy;
  CMN_SkipPastBracket(&name);
  if( *name == 0 ) {
    MSG_ErrorCodeLine(MSGC_ICMGRP_MISSING_NAME);
    return;
  }
  if( (copy = CMN_StrDup(name)) == NULL ) return;
  CMN_Free(&g->name);
  g->name = copy;
  if( strpbrk(copy, " \t") ) MSG_WarningCodeLine(MSGC_ICMGRP_NAME_BLANK, copy);
}

/* The end of the open group, by its closing keyword or by another one. */
static void icmgrpFinish(void) {
  if( icmgrp.current->entries == 0 ) {
    MSG_WarningCodeLine(MSGC_ICMGRP_EMPTY, icmgrp.current->name);
  }
  icmgrp.current = NULL;
}

static void icmgrpEndLine(char *text) {
  char *rest = text;
  if( icmgrp.current == NULL ) {
    MSG_ErrorCodeLine(MSGC_ICMGRP_ORPHAN_END);
    return;
  }
  CMN_SkipPastBracket(&rest);
  if( *rest ) MSG_ErrorCodeLine(MSGC_ICMGRP_DATA_AFTER_END);
  icmgrpFinish();
}

static void icmgrpKeep(ICMGRP_Group *g, const char *set, const char *file) {
  ICMGRP_Entry *e = NULL;
  if( !CMN_Calloc(&e, sizeof *e) ) return;
  e->set = CMN_StrDup(set);
  e->file = CMN_StrDup(file);
  if( e->set == NULL || e->file == NULL ) {
    CMN_Free(&e->set);
    CMN_Free(&e->file);
    CMN_Free(&e);
    return;
  }
  if( g->last )
    g->last->next = e;
  else
    g->first = e;
  g->last = e;
}

/* A set in another file: the file beside this one, and the set in it. */
static void icmgrpLookElsewhere(const ICMGRP_Group *g, const char *set,
                                const char *file) {
  switch( ICMFILE_Locate(file) ) {
    case ICMFILE_OUTSIDE:
      MSG_ErrorCodeLine(MSGC_ICMGRP_FILE_OUTSIDE, file, g->name);
      return;
    case ICMFILE_MISSING:
      MSG_ErrorCodeLine(MSGC_ICMGRP_FILE_MISSING, file, g->name);
      return;
    default:
      break;
  }
  if( !ICMFILE_DefinesSet(file, set) ) {
    MSG_ErrorCodeLine(MSGC_ICMGRP_SET_NOT_IN_FILE, set, g->name, file);
  }
}

/* set_name file_name */
static void icmgrpDataLine(ICMGRP_Group *g, char *text) {
  char *cursor = text, *set, *file;
  int n = 0;
  g->entries++;
  set = CMN_NextToken(&cursor);
  file = set ? CMN_NextToken(&cursor) : NULL;
  n = (set != NULL) + (file != NULL);
  while( CMN_NextToken(&cursor) ) n++;
  if( n != 2 ) {
    MSG_ErrorCodeLine(MSGC_ICMGRP_ITEMS, g->name, n);
    return;
  }
  if( CMN_StrEqualNoCase(file, "NA") ) {
    icmgrpKeep(g, set, file);
  } else {
    icmgrpLookElsewhere(g, set, file);
  }
}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it. */
static void icmgrpLine(int lineType, int code, char *text) {
  if( lineType == SECTION_LINE_KEYWORD ) {
    if( code == KW_END_INTERCONNECT_MODEL_GROUP ) {
      icmgrpEndLine(text);
    } else if( icmgrp.current ) {
      icmgrpName(icmgrp.current, text);
    }
  } else if( code == KW_END_INTERCONNECT_MODEL_GROUP ) {
    MSG_ErrorCodeLine(MSGC_ICMGRP_DATA_AFTER_END);
  } else if( icmgrp.current ) {
    icmgrpDataLine(icmgrp.current, text);
  }
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void icmgrpClose(int previousCode, int newCode) {
  (void)previousCode;
  if( icmgrp.current == NULL || newCode == KW_END_INTERCONNECT_MODEL_GROUP ) {
    return;
  }
  MSG_ErrorCodeLine(MSGC_ICMGRP_NOT_ENDED, icmgrp.current->name);
  icmgrpFinish();
}

void ICMGRP_CheckSets(struct IbisFile *file) {
  NameIndex sets = { NULL, 0, 0 };
  IbisItem *item = NULL;
  ICMFILE_Reset(); /* the set files were read for the lines */
  if( !IBIS_GetList(file, SECTION_INTERCONNECT_GROUP, &item) ) return;
  ICMSET_Index(file, &sets);
  for( ; item; item = item->next ) {
    const ICMGRP_Group *g = (const ICMGRP_Group *)item->record;
    const ICMGRP_Entry *e;
    for( e = g ? g->first : NULL; e; e = e->next ) {
      if( !NAMEIDX_Contains(&sets, e->set) ) {
        MSG_ErrorCode(MSGC_ICMGRP_SET_NOT_HERE, g->component, e->set, g->name);
      }
    }
  }
  NAMEIDX_Free(&sets);
}

/* One record of this module's IbisFile list. */
static void icmgrpRelease(void *record) {
  ICMGRP_Group *g = (ICMGRP_Group *)record;
  if( g == NULL ) return;
  if( icmgrp.current == g ) icmgrp.current = NULL;
  while( g->first ) {
    ICMGRP_Entry *e = g->first;
    g->first = e->next;
    CMN_Free(&e->set);
    CMN_Free(&e->file);
    CMN_Free(&e);
  }
  CMN_Free(&g->name);
  CMN_Free(&g);
}

/* Per-file state, forgotten at the start of each file: the open group and
** the set files read for this file's groups. */
static void icmgrpReset(void) {
  icmgrp.current = NULL;
  ICMFILE_Reset();
}

const ParseSection ICMGRP_ParseSection = { icmgrpBegin, icmgrpClose, icmgrpLine,
                                           icmgrpRelease, icmgrpReset };
