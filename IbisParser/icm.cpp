/*
** icm.cpp: one interconnect model of an interconnect model set: its name,
** its sub-parameter lines and its end.
**
** A nested module of [Interconnect Model] .. [End Interconnect Model]
** (IBIS 7.0): its owner, the set (ICMSET_Current), hands it the keyword's
** lines (SECTION_NestedLine) and each keyword change after them
** (SECTION_NestedClose).  Records go in the module's own IbisFile list;
** messages in the 5300 block of msgcodes.h.
**
** Checked, as the BIRD 189 drafts define them: a model is an IBIS-ISS
** subcircuit (File_IBIS-ISS file_name circuit_name) or a Touchstone file
** (File_TS file_name), exactly one of the two, and the file lies beside
** this one (icmfile); Param lines (name, the format Value, one number or
** quoted string, each name once) are passed to an IBIS-ISS subcircuit and
** so are not allowed with File_TS.
**
** Only recognised: Number_of_terminals, Unused_port_termination and the
** terminal lines (they start with the terminal number).  Their forms
** changed from draft to draft and the ratified text is not in the sources
** the checker was built from, so their lines are skipped unchecked, and so
** is what follows the file name of File_TS (the drafts gave it one file,
** or one for each of typ, min and max).  That leaves unchecked, too, the
** count of terminals against the ports of a Touchstone file.  Any other
** sub-parameter is skipped with a warning that names it.
*/
#include "IbisParser/icm.h"

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/icmfile.h"
#include "IbisParser/icmset.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/parse.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#define ICM_KEYWORD "[Interconnect Model]"
#define ICM_END "[End Interconnect Model]"

typedef struct IcmName {
  struct IcmName *next;
  char *text;
} IcmName;

typedef struct ICM_Model {
  char *name;            /* allocated; empty when the keyword line names none */
  const ICMSET_Set *set; /* the set it is in (not owned) */
  int line;              /* of its [Interconnect Model] line */
  int issLine, tsLine;   /* first File_IBIS-ISS / File_TS line, or 0 */
  int paramLine;         /* first Param line, or 0 */
  int conflictTold;      /* Param with File_TS reported */
  NameIndex params;      /* Param names, kept while the model is open */
  IcmName *paramNames;
} ICM_Model;

static struct { ICM_Model *current; } icm;

static void icmForgetParams(ICM_Model *m) {
  while( m->paramNames ) {
    IcmName *node = m->paramNames;
    m->paramNames = node->next;
    CMN_Free(&node->text);
    CMN_Free(&node);
  }
  NAMEIDX_Free(&m->params);
}

/* Called before the keyword line. */
static void icmBegin(void) {
  IbisFile *file = NULL;
  ICM_Model *m = NULL;
  icm.current = NULL;
  if( !IBIS_Current(&file) || !CMN_Calloc(&m, sizeof *m) ) return;
  if( (m->name = CMN_StrDup("")) == NULL
      || !IBIS_Append(file, SECTION_INTERCONNECT_MODEL, m) ) {
    CMN_Free(&m->name);
    CMN_Free(&m);
    return;
  }
  m->set = ICMSET_Current();
  m->line = PARSE_GetLineNumber();
  icm.current = m;
}

static void icmName(ICM_Model *m, char *text) {
  char *name = text, *copy;
  CMN_SkipPastBracket(&name);
  if( *name == 0 ) {
    MSG_ErrorCodeLine(MSGC_ICM_MISSING_NAME, ICM_KEYWORD);
    return;
  }
  if( (copy = CMN_StrDup(name)) == NULL ) return;
  CMN_Free(&m->name);
  m->name = copy;
  if( strpbrk(copy, " \t") ) {
    MSG_WarningCodeLine(MSGC_ICM_NAME_BLANK, ICM_KEYWORD, copy);
  }
}

/* The end of the open model, by its closing keyword or by another one. */
static void icmFinish(void) {
  ICM_Model *m = icm.current;
  if( m->issLine == 0 && m->tsLine == 0 ) {
    MSG_ErrorCodeLine(MSGC_ICM_NO_FILE, m->name);
  }
  icmForgetParams(m);
  icm.current = NULL;
}

static void icmEndLine(char *text) {
  char *rest = text;
  if( icm.current == NULL ) {
    MSG_ErrorCodeLine(MSGC_ICM_ORPHAN_END, ICM_END, ICM_KEYWORD);
    return;
  }
  CMN_SkipPastBracket(&rest);
  if( *rest ) MSG_ErrorCodeLine(MSGC_ICM_DATA_AFTER_END, ICM_END);
  icmFinish();
}

/* ---- sub-parameters ------------------------------------------------------ */

static int icmCountTokens(const char *text) {
  int n = 0;
  while( *text ) {
    while( *text == ' ' || *text == '\t' ) text++;
    if( *text == 0 ) break;
    n++;
    while( *text && *text != ' ' && *text != '\t' ) text++;
  }
  return n;
}

static void icmReportConflict(ICM_Model *m) {
  if( m->conflictTold ) return;
  MSG_ErrorCodeLine(MSGC_ICM_PARAM_WITH_TS, m->name);
  m->conflictTold = 1;
}

static void icmLocate(const ICM_Model *m, const char *file) {
  switch( ICMFILE_Locate(file) ) {
    case ICMFILE_OUTSIDE:
      MSG_ErrorCodeLine(MSGC_ICM_FILE_OUTSIDE, file, m->name);
      break;
    case ICMFILE_MISSING:
      MSG_ErrorCodeLine(MSGC_ICM_FILE_MISSING, file, m->name);
      break;
    default:
      break;
  }
}

/* File_IBIS-ISS file_name circuit_name, or File_TS file_name ... */
static void icmFileLine(ICM_Model *m, int touchstone, char *rest) {
  const char *sub = touchstone ? "File_TS" : "File_IBIS-ISS";
  int *own = touchstone ? &m->tsLine : &m->issLine;
  int other = touchstone ? m->issLine : m->tsLine;
  int n = icmCountTokens(rest);
  char *file;
  if( *own ) {
    MSG_ErrorCodeLine(MSGC_ICM_FILE_REPEATED, sub, m->name, *own);
    return;
  }
  *own = PARSE_GetLineNumber();
  if( other ) MSG_ErrorCodeLine(MSGC_ICM_BOTH_FILES, m->name);
  if( touchstone && m->paramLine ) icmReportConflict(m);
  if( touchstone ? n < 1 : n != 2 ) {
    MSG_ErrorCodeLine(
        MSGC_ICM_FILE_ITEMS, sub, m->name,
        touchstone ? "a file_name" : "a file_name and a circuit_name", n);
  }
  if( (file = CMN_NextToken(&rest)) != NULL ) icmLocate(m, file);
}

/* The value of a Param line: one number, or one string in double quotes
** (it may hold blanks).  Returns the items it counts for, 0 when absent. */
static int icmParamValue(const char *value, int *valid) {
  size_t n = strlen(value);
  if( n == 0 ) return 0;
  if( value[0] == '"' ) {
    *valid = n >= 2 && value[n - 1] == '"';
    return 1;
  }
  *valid = CMN_ParseNumber(value, NULL) != 0;
  return icmCountTokens(value);
}

static void icmParamName(ICM_Model *m, const char *name) {
  IcmName *node = NULL;
  if( NAMEIDX_Contains(&m->params, name) ) {
    MSG_ErrorCodeLine(MSGC_ICM_PARAM_REPEATED, name, m->name);
    return;
  }
  if( !CMN_Calloc(&node, sizeof *node) ) return;
  if( (node->text = CMN_StrDup(name)) == NULL ) {
    CMN_Free(&node);
    return;
  }
  node->next = m->paramNames;
  m->paramNames = node;
  NAMEIDX_Add(&m->params, node->text, node);
}

/* Param name Value value */
static void icmParamLine(ICM_Model *m, char *rest) {
  char *name = CMN_NextToken(&rest);
  char *format = name ? CMN_NextToken(&rest) : NULL;
  int valid = 1, items;
  while( *rest == ' ' || *rest == '\t' ) rest++;
  items = (name != NULL) + (format != NULL) + icmParamValue(rest, &valid);
  if( m->paramLine == 0 ) m->paramLine = PARSE_GetLineNumber();
  if( m->tsLine ) icmReportConflict(m);
  if( items != 3 ) {
    MSG_ErrorCodeLine(MSGC_ICM_PARAM_ITEMS, m->name, items);
    return;
  }
  if( !CMN_StrEqualNoCase(format, "Value") ) {
    MSG_ErrorCodeLine(MSGC_ICM_PARAM_FORMAT, name, format);
  }
  if( !valid ) MSG_ErrorCodeLine(MSGC_ICM_PARAM_VALUE, name, rest);
  icmParamName(m, name);
}

/* The sub-parameters whose lines are only recognised (see the header). */
static int icmRecognisedOnly(const char *word) {
  return CMN_StrEqualNoCase(word, "Number_of_terminals")
      || CMN_StrEqualNoCase(word, "Unused_port_termination");
}

static void icmDataLine(ICM_Model *m, char *text) {
  char word[41];
  size_t n = strcspn(text, " \t=");
  char *rest = text + n;
  /* A longer word is none of the sub-parameters; the warning shows its
  ** start. */
  snprintf(word, sizeof(word), "%.*s", (int)(n < 40 ? n : 40), text);
  if( isdigit((unsigned char)text[0]) ) return; /* a terminal line */
  if( n > 40 ) {
    MSG_WarningCodeLine(MSGC_ICM_UNKNOWN_LINE, word, m->name);
  } else if( CMN_StrEqualNoCase(word, "Param") ) {
    icmParamLine(m, rest);
  } else if( CMN_StrEqualNoCase(word, "File_IBIS-ISS") ) {
    icmFileLine(m, 0, rest);
  } else if( CMN_StrEqualNoCase(word, "File_TS") ) {
    icmFileLine(m, 1, rest);
  } else if( !icmRecognisedOnly(word) ) {
    MSG_WarningCodeLine(MSGC_ICM_UNKNOWN_LINE, word, m->name);
  }
}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it.  A
** data line after [End Interconnect Model] is the set's (icmset). */
static void icmLine(int lineType, int code, char *text) {
  if( lineType == SECTION_LINE_KEYWORD ) {
    if( code == KW_END_INTERCONNECT_MODEL ) {
      icmEndLine(text);
    } else if( icm.current ) {
      icmName(icm.current, text);
    }
  } else if( icm.current && code == KW_INTERCONNECT_MODEL ) {
    icmDataLine(icm.current, text);
  }
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void icmClose(int previousCode, int newCode) {
  (void)previousCode;
  if( icm.current == NULL || newCode == KW_END_INTERCONNECT_MODEL ) return;
  MSG_ErrorCodeLine(MSGC_ICM_NOT_ENDED, ICM_KEYWORD, icm.current->name,
                    ICM_END);
  icmFinish();
}

/* One record of this module's IbisFile list. */
static void icmRelease(void *record) {
  ICM_Model *m = (ICM_Model *)record;
  if( m == NULL ) return;
  if( icm.current == m ) icm.current = NULL;
  icmForgetParams(m);
  CMN_Free(&m->name);
  CMN_Free(&m);
}

/* Per-file state, forgotten at the start of each file. */
static void icmReset(void) { icm.current = NULL; }

const ParseSection ICM_ParseSection = { icmBegin, icmClose, icmLine, icmRelease,
                                        icmReset };
