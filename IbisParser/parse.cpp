/*
** parse.cpp: the IBIS reader and its line router.
**
** The reader keeps one file's state at a time (line number, comment
** character, current keyword, flags).  Each line is checked, classified and
** routed: a keyword line closes the section of the previous keyword, begins
** the section of its own keyword and then reaches that section's line
** handler; a data line goes to the line handler of the current keyword.
** The dispatch version picks the keyword table, the routing variant and the
** line-length limit; the rules level (ver.h) says which keywords of IBIS
** 5.1 and later a file may use.  Those keywords are in no dispatch table: a
** name the table lacks is looked up among them, and one the file's version
** may not use, or a name unknown in a 5.1 or later file, is reported once
** and skipped with its data lines.
*/
#include "IbisParser/parse.h"

#include "IbisParser/cmn.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/section.h"
#include "IbisParser/ver.h"

#include <ctype.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>

#define PARSE_SRC "IbisParser/parse"

/* Reader state, reset per file (the dispatch version excepted). */
static int parseLine;
static int parseComment = '|';
static int parseKeyword = KW_NOT_KEY;
static int parseFileType = CMN_FILE_IBS;
static int parseVersion = 2;
static int parseEndSeen;
static int parseVersionSeen;
static int parseTabSeen;
static int parseInSubmodel;
static int parseUnterminated;
static int parseSkipping;     /* data lines of a skipped keyword are dropped */
static int parseSkipPrevious; /* the keyword before the skipped one */

/* Switches. */
static int parseLongLines;
static int parseSilent;
static int parseNoFileNameCheck;
static int parseAcceptV1;
static int parseForceV5;

/* The gathered .ami text, and where each source line's text starts in it
** (ascending offsets), so that a finding in the text can name its line. */
static char *parseAmi;
static size_t parseAmiLen, parseAmiCap;
typedef struct ParseAmiLine {
  size_t offset;
  int line;
} ParseAmiLine;
static ParseAmiLine *parseAmiLines;
static size_t parseAmiLineCount, parseAmiLineCap;

int PARSE_GetLineNumber(void) { return parseLine; }
int PARSE_GetCommentChar(void) { return parseComment; }
int PARSE_GetCurrentKeyword(void) { return parseKeyword; }
int PARSE_GetFileType(void) { return parseFileType; }
int PARSE_GetDispatchVersion(void) { return parseVersion; }
void PARSE_SetDispatchVersion(int version) {
  if( version >= 1 && version <= 5 ) parseVersion = version;
}
void PARSE_SetUnterminated(void) { parseUnterminated = 1; }
int PARSE_InSubmodel(void) { return parseInSubmodel; }

int PARSE_AllowLongLines(int on) {
  parseLongLines = (on != 0);
  CMN_SetAllowLongLines(parseLongLines);
  return parseLongLines;
}
int PARSE_SetSilent(int on) { return parseSilent = (on != 0); }
int PARSE_GetSilent(void) { return parseSilent; }
int PARSE_SetNoFileNameCheck(int on) {
  return parseNoFileNameCheck = (on != 0);
}
int PARSE_SetAcceptVersion1(int on) { return parseAcceptV1 = (on != 0); }
int PARSE_SetForceVersion5(int on) { return parseForceV5 = (on != 0); }
int PARSE_GetNoFileNameCheck(void) { return parseNoFileNameCheck; }
int PARSE_GetAcceptVersion1(void) { return parseAcceptV1; }
int PARSE_GetForceVersion5(void) { return parseForceV5; }

void PARSE_GetFileName(char *buffer) {
  CMN_ASSERT(buffer != NULL, PARSE_SRC);
  snprintf(buffer, CMN_MAX_PATH + 1, "%s", CMN_GetFileName());
}

void PARSE_GetDirectory(char *buffer) {
  CMN_ASSERT(buffer != NULL, PARSE_SRC);
  snprintf(buffer, CMN_MAX_PATH + 1, "%s", CMN_GetDirectory());
}

int PARSE_KeywordName(int code, char *buffer) {
  const char *name = KEYWORD_Name(code);
  CMN_ASSERT(buffer != NULL, PARSE_SRC);
  if( name == NULL ) {
    MSG_BugCode(MSGC_PARSE_UNKNOWN_KEYWORD_CODE);
    name = "Unknown enumerated keyword code";
    snprintf(buffer, KEYWORD_MAX_NAME + 1, "%s", name);
    return 0;
  }
  snprintf(buffer, KEYWORD_MAX_NAME + 1, "%s", name);
  return 1;
}

void PARSE_Reset(void) {
  parseComment = '|';
  parseKeyword = KW_NOT_KEY;
  parseTabSeen = 0;
  parseLine = 0;
  CMN_SetFileName("");
  parseVersionSeen = 0;
  parseEndSeen = 0;
}

/* Every piece of per-file state, the reader's and each section's, starts
** afresh here, so that what a file reports never depends on the file
** checked before it.  The dispatch version is set by the caller. */
static void parseResetFile(int fileType) {
  PARSE_Reset();
  parseFileType = fileType;
  parseInSubmodel = 0;
  parseUnterminated = 0;
  parseSkipping = 0;
  SECTION_ResetFileState();
}

static void parseNextLineNumber(void) {
  if( parseLine < INT_MAX ) parseLine++;
}

/* Removes the newline and applies the length limit and the tab warning. */
void PARSE_CheckLine(char *line) {
  size_t n;
  int limit = parseVersion < 4 ? 80 : 120;
  CMN_ASSERT(line != NULL, PARSE_SRC);
  n = strlen(line);
  if( n > 0 && line[n - 1] == '\n' ) line[--n] = 0;
  if( n > (size_t)limit && !parseLongLines ) {
    MSG_ErrorCodeLine(MSGC_PARSE_LINE_TOO_LONG, limit);
  }
  if( !parseTabSeen && memchr(line, '\t', n) != NULL ) {
    MSG_WarningCodeLine(MSGC_PARSE_TAB_CHARACTER);
    parseTabSeen = 1;
  }
}

int PARSE_LineType(const char *line) {
  const char *p = line;
  CMN_ASSERT(line != NULL, PARSE_SRC);
  while( isspace((unsigned char)*p) ) p++;
  if( *p == 0 || *p == parseComment ) return SECTION_LINE_COMMENT;
  if( *p != '[' ) return SECTION_LINE_DATA;
  if( p == line ) return SECTION_LINE_KEYWORD;
  if( parseKeyword >= KW_SOURCE && parseKeyword <= KW_COPYRIGHT ) {
    return SECTION_LINE_DATA;
  }
  MSG_ErrorCodeLine(MSGC_PARSE_KEYWORD_NOT_COLUMN1);
  return SECTION_LINE_KEYWORD;
}

char *PARSE_StripComment(char *line) {
  char *p;
  CMN_ASSERT(line != NULL, PARSE_SRC);
  p = strchr(line, parseComment);
  if( p ) *p = 0;
  return line;
}

/* "[Comment Char] #_char": one character followed by "_char". */
void PARSE_CommentCharLine(char *line) {
  char *p = line, *q;
  int c;
  CMN_ASSERT(line != NULL, PARSE_SRC);
  CMN_SkipPastBracket(&p);
  q = p;
  CMN_SkipToSpace(&q);
  if( q - p != 6 || !CMN_StrNEqualNoCase(p + 1, "_char", 5) ) {
    MSG_ErrorCodeLine(MSGC_PARSE_BAD_COMMENT_CHAR_DEF);
    return;
  }
  c = (unsigned char)p[0];
  if( isalnum(c) || strchr("[]._/=+-", c) != NULL ) {
    MSG_ErrorCodeLine(MSGC_PARSE_BAD_COMMENT_CHAR, c);
    return;
  }
  parseComment = c;
  while( isspace((unsigned char)*q) ) q++;
  if( *q && *q != c ) MSG_ErrorCodeLine(MSGC_PARSE_COMMENT_CHAR_EXTRA);
}

/* The rows of each version's keyword table chained by first letter, in
** table order, so that a keyword line is compared only with the rows that
** can match it.  Built on first use. */
typedef struct ParseKeywordIndex {
  const KeywordRow *table;
  int head[27]; /* first row of each letter A..Z, then of any other */
  int next[KW_COUNT + 1];
} ParseKeywordIndex;

static int parseLetter(int c) {
  c = toupper((unsigned char)c);
  return c >= 'A' && c <= 'Z' ? c - 'A' : 26;
}

static const ParseKeywordIndex *parseKeywordIndex(int version) {
  static ParseKeywordIndex indexes[4];
  ParseKeywordIndex *x;
  int *tail[27];
  int i, n = 0;
  if( version < 2 ) version = 2;
  if( version > 5 ) version = 5;
  x = &indexes[version - 2];
  if( x->table ) return x;
  x->table = KEYWORD_Table(version, &n);
  for( i = 0; i < 27; i++ ) {
    x->head[i] = -1;
    tail[i] = &x->head[i];
  }
  for( i = 0; i < n && i <= KW_COUNT && x->table[i].code != KW_NOT_KEY; i++ ) {
    int letter = parseLetter(x->table[i].name[0]);
    x->next[i] = -1;
    *tail[letter] = i;
    tail[letter] = &x->next[i];
  }
  return x;
}

/* Skips a keyword and its data lines. */
static int parseSkip(void) {
  parseKeyword = KW_NOT_KEY;
  parseSkipping = 1;
  return KW_NOT_KEY;
}

/* A name the table of the dispatch version lacks: a keyword of IBIS 5.1 or
** later that the file may use gives its code; one it may not, or in a 5.1
** or later file a name the checker does not know at all, is reported and
** skipped; in an older file an unknown name stays the invalid keyword it
** always was. */
static int parseNewerKeyword(const char *original, const char *name,
                             int version) {
  const KeywordNewer *row = KEYWORD_FindNewer(original);
  const VerDecision *d = VER_Current();
  if( row ) {
    if( version >= 5 && d->level >= row->level ) {
      if( row->code == KW_INITIAL_DELAY && parseInSubmodel )
        return KW_SUB_INITIAL_DELAY;
      return row->code;
    }
    if( d->kind == VER_KIND_FORCED )
      MSG_ErrorCodeLine(MSGC_VER_KEYWORD_FORCED, row->display,
                        VER_LevelText(row->level));
    else
      MSG_ErrorCodeLine(MSGC_VER_KEYWORD_TOO_NEW, row->display,
                        VER_LevelText(row->level), d->declared);
    return parseSkip();
  }
  if( d->level >= VER_LEVEL_51 ) {
    MSG_WarningCodeLine(MSGC_VER_UNKNOWN_KEYWORD, original, VER_NEWEST);
    return parseSkip();
  }
  MSG_ErrorCodeLine(MSGC_PARSE_INVALID_KEYWORD_NAME, name);
  parseKeyword = KW_NOT_KEY;
  return KW_NOT_KEY;
}

int PARSE_FindKeyword(const char *line, int previousCode, int version) {
  char name[KEYWORD_MAX_NAME + 1], original[KEYWORD_MAX_NAME + 1];
  const ParseKeywordIndex *index;
  const char *p = line, *end;
  size_t len;
  int code = KW_NOT_KEY, i;
  CMN_ASSERT(line != NULL, PARSE_SRC);
  parseSkipping = 0;
  while( isspace((unsigned char)*p) ) p++;
  CMN_ASSERT(*p == '[', PARSE_SRC);
  end = strchr(p, ']');
  if( end == NULL ) {
    MSG_ErrorCodeLine(MSGC_PARSE_MISSING_BRACKET);
    parseKeyword = KW_NOT_KEY;
    return KW_NOT_KEY;
  }
  len = (size_t)(end - p - 1);
  if( len == 0 || len > KEYWORD_MAX_NAME ) {
    MSG_ErrorCodeLine(MSGC_PARSE_INVALID_KEYWORD);
    parseKeyword = KW_NOT_KEY;
    return KW_NOT_KEY;
  }
  memcpy(name, p + 1, len);
  name[len] = 0;
  memcpy(original, name, len + 1);
  index = parseKeywordIndex(version);
  for( i = index->head[parseLetter(name[0])]; i >= 0; i = index->next[i] ) {
    if( CMN_KeywordEqual(index->table[i].name, name) ) {
      code = index->table[i].code;
      break;
    }
  }
  if( code == KW_NOT_KEY ) {
    code = parseNewerKeyword(original, name, version);
    if( code == KW_NOT_KEY ) return KW_NOT_KEY;
  }
  if( code == KW_MANUFACTURER ) {
    if( previousCode >= KW_DEFINE_PACKAGE_MODEL
        && previousCode <= KW_DESCRIPTION ) {
      code = KW_PKG_MANUFACTURER;
    } else if( previousCode == KW_BEGIN_BOARD_DESCRIPTION
               || previousCode == KW_EBD_MANUFACTURER ) {
      code = KW_EBD_MANUFACTURER;
    }
  } else if( code == KW_NUMBER_OF_PINS && parseFileType == CMN_FILE_EBD ) {
    code = KW_EBD_NUMBER_OF_PINS;
  } else if( parseInSubmodel ) {
    switch( code ) {
      case KW_PULLDOWN:
        code = KW_SUB_PULLDOWN;
        break;
      case KW_PULLUP:
        code = KW_SUB_PULLUP;
        break;
      case KW_GND_CLAMP:
        code = KW_SUB_GND_CLAMP;
        break;
      case KW_POWER_CLAMP:
        code = KW_SUB_POWER_CLAMP;
        break;
      case KW_RAMP:
        code = KW_SUB_RAMP;
        break;
      case KW_RISING_WAVEFORM:
        code = KW_SUB_RISING_WAVEFORM;
        break;
      case KW_FALLING_WAVEFORM:
        code = KW_SUB_FALLING_WAVEFORM;
        break;
    }
  }
  parseKeyword = code;
  return code;
}

void PARSE_EndLine(char *line) {
  char *p = line;
  CMN_ASSERT(line != NULL, PARSE_SRC);
  CMN_SkipPastBracket(&p);
  if( *p ) MSG_ErrorCodeLine(MSGC_PARSE_DATA_ON_END_LINE);
  parseEndSeen = 1;
}

/*
** Routing.  Variant 0 serves dispatch versions 1 and 2, variants 1, 2 and 3
** versions 3, 4 and 5 (and above).  SECTION_NONE marks a code the variant
** does not route; the header, [End] and the unknown keyword are handled
** before the tables are consulted.
*/
static int parseVariant(void) {
  if( parseVersion <= 2 ) return 0;
  return parseVersion >= 5 ? 3 : parseVersion - 2;
}

static int parseIn(int code, int lo, int hi) {
  return code >= lo && code <= hi;
}

static int parseSectionOf(int variant, int code, int forClose) {
  const KeywordNewer *newer;
  if( code == KW_IBIS_VER || parseIn(code, KW_FILE_NAME, KW_COPYRIGHT) ) {
    return SECTION_HEADER;
  }
  /* The keywords of IBIS 5.1 and later go to their owner (keyword.cpp);
  ** only the 5.1 and later rules, read by dispatch version 5, admit them. */
  if( (newer = KEYWORD_Newer(code)) != NULL ) {
    return variant == 3 ? newer->owner : SECTION_NONE;
  }
  switch( variant ) {
    case 0:
      if( parseIn(code, 9, 15) ) return SECTION_COMPONENT;
      if( parseIn(code, 32, 38) || parseIn(code, 40, 50) ) return SECTION_MODEL;
      if( parseIn(code, 74, 87) ) return SECTION_PACKAGE_MODEL;
      return SECTION_NONE;
    case 1:
      if( parseIn(code, 9, 17) ) return SECTION_COMPONENT;
      if( parseIn(code, forClose ? 30 : 32, 53) || parseIn(code, 55, 66) ) {
        return SECTION_MODEL;
      }
      break;
    default:
      if( parseIn(code, 9, 23) || (variant == 3 && parseIn(code, 26, 29)) ) {
        return SECTION_COMPONENT;
      }
      if( parseIn(code, 24, 25) ) {
        return forClose ? SECTION_NONE : SECTION_EXTERNAL_CIRCUIT;
      }
      if( parseIn(code, 30, variant == 3 ? 73 : 66) ) return SECTION_MODEL;
      if( parseIn(code, 108, 116) ) return SECTION_TEST_DATA;
      if( code == 117 ) return SECTION_TEST_LOAD;
      break;
  }
  if( parseIn(code, 74, 88) ) return SECTION_PACKAGE_MODEL;
  if( parseIn(code, 89, 95) ) return SECTION_BOARD;
  if( code == 96 ) return SECTION_MODEL_SELECTOR;
  if( parseIn(code, 97, 107) ) return SECTION_SUBMODEL;
  return SECTION_NONE;
}

/* Whether a section's routines run in a file of the current type. */
static int parseSectionAllowed(int section) {
  switch( section ) {
    case SECTION_HEADER:
      return 1;
    case SECTION_PACKAGE_MODEL:
      return parseVersion <= 2 || parseFileType == CMN_FILE_IBS
          || parseFileType == CMN_FILE_PKG;
    case SECTION_BOARD:
      return parseFileType == CMN_FILE_EBD;
    default:
      return parseFileType == CMN_FILE_IBS;
  }
}

static void parseWrongType(void) {
  if( parseFileType == CMN_FILE_PKG )
    MSG_ErrorCodeLine(MSGC_PARSE_ILLEGAL_IN_PKG);
  else if( parseFileType == CMN_FILE_EBD )
    MSG_ErrorCodeLine(MSGC_PARSE_ILLEGAL_IN_EBD);
  else if( parseFileType == CMN_FILE_IBS )
    MSG_ErrorCodeLine(MSGC_PARSE_ILLEGAL_IN_IBS);
}

static void parseBegin(int code) {
  int section = SECTION_NONE;
  int ibsOnly = 1;
  switch( code ) {
    case KW_IBIS_VER:
      if( parseVersionSeen ) MSG_ErrorCodeLine(MSGC_PARSE_DUPLICATE_IBIS_VER);
      parseVersionSeen = 1;
      SECTION_Get(SECTION_HEADER)->begin();
      return;
    case KW_COMPONENT:
      section = SECTION_COMPONENT;
      break;
    case KW_EXTERNAL_CIRCUIT:
      section = SECTION_EXTERNAL_CIRCUIT;
      break;
    case KW_MODEL:
      parseInSubmodel = 0;
      section = SECTION_MODEL;
      break;
    case KW_MODEL_SELECTOR:
      section = SECTION_MODEL_SELECTOR;
      break;
    case KW_SUBMODEL:
      parseInSubmodel = 1;
      section = SECTION_SUBMODEL;
      break;
    case KW_TEST_DATA:
      section = SECTION_TEST_DATA;
      break;
    case KW_TEST_LOAD:
      section = SECTION_TEST_LOAD;
      break;
    case KW_INTERCONNECT_MODEL_SET:
      section = SECTION_INTERCONNECT_SET;
      break;
    case KW_DEFINE_PACKAGE_MODEL:
      section = SECTION_PACKAGE_MODEL;
      ibsOnly = 0;
      if( parseFileType == CMN_FILE_EBD ) {
        MSG_ErrorCodeLine(MSGC_PARSE_ILLEGAL_IN_EBD);
        return;
      }
      break;
    case KW_BEGIN_BOARD_DESCRIPTION:
      section = SECTION_BOARD;
      ibsOnly = 0;
      if( parseFileType != CMN_FILE_EBD ) {
        parseWrongType();
        return;
      }
      break;
    default:
      return;
  }
  if( ibsOnly && parseFileType != CMN_FILE_IBS ) {
    parseWrongType();
    return;
  }
  SECTION_Get(section)->begin();
}

/* The line handler of a code: the header, [End], the unknown keyword or
** the section of the variant. */
static void parseHandle(int lineType, int code, char *text) {
  int section;
  if( code == KW_END ) {
    PARSE_EndLine(text);
    return;
  }
  if( code == KW_NOT_KEY ) {
    MSG_ErrorCodeLine(MSGC_PARSE_DATA_FOR_UNKNOWN_KEYWORD, text);
    return;
  }
  section = parseSectionOf(parseVariant(), code, 0);
  if( section == SECTION_NONE ) {
    MSG_BugCodeLine(MSGC_PARSE_UNKNOWN_CURRENT_KEYWORD, PARSE_SRC, __LINE__);
    return;
  }
  if( parseSectionAllowed(section) ) {
    SECTION_Get(section)->line(lineType, code, text);
  }
}

static void parseRoute(int lineType, char *text) {
  if( lineType == SECTION_LINE_KEYWORD ) {
    int previous = parseKeyword, code, section;
    /* A skipped keyword is not there: the one before it closes. */
    if( previous == KW_NOT_KEY && parseSkipping ) previous = parseSkipPrevious;
    if( parseVersion >= 3 && parseUnterminated ) {
      MSG_ErrorCodeLine(MSGC_PARSE_KEYWORD_NOT_TERMINATED);
      parseUnterminated = 0;
    }
    code = PARSE_FindKeyword(text, previous, parseVersion);
    if( code == KW_NOT_KEY ) {
      parseSkipPrevious = previous;
      return;
    }
    section = parseSectionOf(parseVariant(), previous, 1);
    if( section != SECTION_NONE && parseSectionAllowed(section) ) {
      SECTION_Get(section)->close(previous, code);
    }
    parseBegin(code);
    parseHandle(SECTION_LINE_KEYWORD, code, text);
  } else {
    CMN_ASSERT(lineType == SECTION_LINE_DATA, PARSE_SRC);
    if( parseKeyword == KW_NOT_KEY && parseSkipping ) return;
    while( isspace((unsigned char)*text) ) text++;
    parseHandle(SECTION_LINE_DATA, parseKeyword, text);
  }
}

static int parseIsCommentCharLine(const char *line) {
  while( isspace((unsigned char)*line) ) line++;
  return CMN_StrNEqualNoCase(line, "[COMMENT_CHAR]", 14)
      || CMN_StrNEqualNoCase(line, "[COMMENT CHAR]", 14);
}

/* Reads one line of an .ibs, .pkg or .ebd file through the router. */
static void parseOneLine(char *line) {
  int type;
  PARSE_CheckLine(line);
  type = PARSE_LineType(line);
  if( parseEndSeen && type != SECTION_LINE_COMMENT ) {
    MSG_ErrorCodeLine(MSGC_PARSE_LINE_AFTER_END);
    return;
  }
  if( type == SECTION_LINE_KEYWORD && parseIsCommentCharLine(line) ) {
    PARSE_CommentCharLine(line);
    return;
  }
  if( type == SECTION_LINE_COMMENT ) return;
  PARSE_StripComment(line);
  CMN_TrimRight(line);
  parseRoute(type, line);
}

/* Says why the pre-scan found no version it can check by, at the line it
** looked at, and what the user can do about it. */
static void parseExplainVersion(const CmnVersionScan *scan) {
  if( !scan->opened ) return; /* the open failure said it all */
  parseLine = scan->line;
  if( scan->line == 0 ) {
    MSG_NoteCode(MSGC_PARSE_VERSION_NO_KEYWORD);
  } else if( !scan->found ) {
    MSG_NoteCodeLine(MSGC_PARSE_VERSION_NOT_FIRST, scan->value);
  } else if( CMN_IsNewerVersion(scan->value, VER_NEWEST) ) {
    MSG_NoteCodeLine(MSGC_PARSE_VERSION_TOO_NEW, scan->value, VER_NEWEST);
  } else if( CMN_IsVersionNumber(scan->value) && scan->value[0] == '1' ) {
    MSG_NoteCodeLine(MSGC_PARSE_VERSION_ONE, scan->value);
  } else {
    MSG_NoteCodeLine(MSGC_PARSE_VERSION_NOT_NUMBER, scan->value);
  }
  parseLine = 0;
}

/* What a file's lines are read from: the file at `path`, or `size` bytes
** of `text` in memory that stand for it (the path still names the file). */
typedef struct ParseInput {
  const char *path;
  const char *text; /* null: read the file */
  size_t size;
  const char *amiRules; /* the rules an .ami file's banner names; null: the
                        ** IBIS 5.0 rules */
} ParseInput;

static int parseVersionOf(const ParseInput *in, int fileType,
                          CmnVersionScan *scan) {
  if( in->text == NULL ) return CMN_ScanIbisVersion(in->path, fileType, scan);
  return CMN_ScanIbisTextVersion(in->path, fileType, in->text, in->size, scan);
}

/* Opens the input as a line source; *fp receives the stream to close, null
** for a text in memory. */
static int parseOpen(const ParseInput *in, int fileType, CmnSource *src,
                     FILE **fp) {
  char name[CMN_MAX_PATH + 1];
  *fp = NULL;
  if( in->text != NULL ) {
    if( !CMN_NameIbisFile(in->path, fileType, name) ) return 0;
    CMN_SourceFromText(src, in->text, in->size);
    return 1;
  }
  if( !CMN_OpenIbisFile(in->path, fileType, fp, name) ) return 0;
  CMN_SourceFromFile(src, *fp);
  return 1;
}

static int parseIbis(const ParseInput *in, int fileType) {
  char line[PARSE_LINE_BUFFER];
  CmnSource src;
  FILE *fp;
  CmnVersionScan scan;
  VerDecision d;
  parseVersionOf(in, fileType, &scan);
  /* --force-v5 applies the 5.0 rules to whatever version the file declares;
  ** the header reports what is wrong with the value itself. */
  VER_Decide(scan.found ? scan.value : "", parseForceV5 && scan.found,
             parseAcceptV1, &d);
  if( !scan.found || d.kind == VER_KIND_NONE ) {
    MSG_ErrorCode(MSGC_PARSE_NO_VERSION, in->path);
    parseExplainVersion(&scan);
    return 0;
  }
  if( !parseSilent ) {
    printf("\nChecking %s for IBIS %s Compatibility...\n\n", in->path, d.rules);
  }
  /* Each file starts at the version its pre-scan found, so what a file
  ** reports does not depend on the files checked before it. */
  parseVersion = d.dispatch;
  VER_SetCurrent(&d);
  parseResetFile(fileType);
  if( !parseOpen(in, fileType, &src, &fp) ) return 0;
  for( ;; ) {
    parseNextLineNumber();
    if( CMN_ReadSourceLine(line, sizeof(line), &src) == NULL ) {
      parseLine--;
      break;
    }
    parseOneLine(line);
  }
  if( !parseEndSeen ) {
    char end[] = "[END]";
    MSG_ErrorCodeLine(MSGC_PARSE_NO_END);
    parseRoute(SECTION_LINE_KEYWORD, end);
  }
  if( fp ) fclose(fp);
  return 1;
}

static int parseAmiAppend(const char *text, size_t n) {
  if( parseAmiLen + n + 1 > parseAmiCap ) {
    size_t cap = parseAmiCap ? parseAmiCap : 256;
    while( cap < parseAmiLen + n + 1 ) cap *= 2;
    if( parseAmi == NULL ? !CMN_Calloc((void **)&parseAmi, cap)
                         : !CMN_Realloc((void **)&parseAmi, cap) ) {
      MSG_ErrorCodeLine(MSGC_PARSE_AMI_NO_MEMORY, PARSE_SRC, __LINE__);
      PARSE_FreeAmiText();
      parseAmiLen = parseAmiCap = 0;
      return 0;
    }
    parseAmiCap = cap;
  }
  memcpy(parseAmi + parseAmiLen, text, n);
  parseAmiLen += n;
  parseAmi[parseAmiLen] = 0;
  return 1;
}

/* Notes that the text appended next comes from the current line. */
static void parseAmiMark(void) {
  if( parseAmiLineCount == parseAmiLineCap ) {
    size_t cap = parseAmiLineCap ? parseAmiLineCap * 2 : 64;
    int ok = parseAmiLines == NULL
        ? CMN_Calloc((void **)&parseAmiLines, cap * sizeof(ParseAmiLine))
        : CMN_Realloc((void **)&parseAmiLines, cap * sizeof(ParseAmiLine));
    if( !ok ) return; /* lines are then named less precisely, never wrongly */
    parseAmiLineCap = cap;
  }
  parseAmiLines[parseAmiLineCount].offset = parseAmiLen;
  parseAmiLines[parseAmiLineCount].line = parseLine;
  parseAmiLineCount++;
}

int PARSE_AmiLineAt(long offset) {
  size_t low = 0, high = parseAmiLineCount;
  if( parseAmiLineCount == 0 ) return 0;
  if( offset < 0 ) offset = 0;
  /* The last mark at or before the offset. */
  while( high - low > 1 ) {
    size_t mid = low + (high - low) / 2;
    if( parseAmiLines[mid].offset <= (size_t)offset )
      low = mid;
    else
      high = mid;
  }
  return parseAmiLines[low].line;
}

static int parseAmiFile(const ParseInput *in) {
  CmnSource src;
  FILE *fp;
  char *line;
  int longLines = parseLongLines;
  int inDescription = 0;
  if( !parseSilent ) {
    printf("\nChecking %s for %s Compatibility...\n\n", in->path,
           in->amiRules ? in->amiRules : "IBIS 5.0");
  }
  parseResetFile(CMN_FILE_AMI);
  PARSE_FreeAmiText();
  if( !parseOpen(in, CMN_FILE_AMI, &src, &fp) ) return 0;
  PARSE_AllowLongLines(1);
  for( ;; ) {
    char *p, *start;
    parseNextLineNumber();
    if( (line = CMN_ReadSourceLongLine(NULL, &src)) == NULL ) {
      parseLine--;
      break;
    }
    PARSE_CheckLine(line);
    for( p = line; isspace((unsigned char)*p); p++ ) {}
    if( *p == 0 || *p == parseComment ) {
      CMN_Free((void **)&line);
      continue;
    }
    if( *p == '(' ) {
      const char *q = p + 1;
      while( isspace((unsigned char)*q) ) q++;
      inDescription = strncmp(q, "Description", 11) == 0;
    }
    if( inDescription && strlen(line) > 120 ) {
      MSG_ErrorCode(MSGC_PARSE_AMI_DESCRIPTION_TOO_LONG, parseLine, 120);
    }
    PARSE_StripComment(line);
    CMN_TrimRight(line);
    for( start = line; isspace((unsigned char)*start); start++ ) {}
    parseAmiMark();
    parseAmiAppend(start, strlen(start));
    CMN_Free((void **)&line);
  }
  PARSE_AllowLongLines(longLines);
  if( fp ) fclose(fp);
  /* A file with no content still hands over a text, so that the checker
  ** reports it instead of passing it silently. */
  if( parseAmi == NULL ) parseAmiAppend("", 0);
  return 1;
}

static int parseInput(const ParseInput *in, int fileType) {
  CMN_ASSERT(in->path != NULL, PARSE_SRC);
  MSG_SetLineSource(PARSE_GetLineNumber);
  CMN_ASSERT(fileType >= CMN_FILE_IBS && fileType <= CMN_FILE_AMI, PARSE_SRC);
  if( fileType == CMN_FILE_AMI ) return parseAmiFile(in);
  return parseIbis(in, fileType);
}

int PARSE_File(const char *path, int fileType) {
  ParseInput in = { path, NULL, 0, NULL };
  return parseInput(&in, fileType);
}

int PARSE_AmiFile(const char *path, const char *rules) {
  ParseInput in = { path, NULL, 0, rules };
  return parseInput(&in, CMN_FILE_AMI);
}

int PARSE_FileText(const char *path, const char *text, size_t size,
                   int fileType) {
  ParseInput in = { path, text ? text : "", text ? size : 0, NULL };
  return parseInput(&in, fileType);
}

char *PARSE_TakeAmiText(void) {
  char *text = parseAmi;
  parseAmi = NULL;
  parseAmiLen = parseAmiCap = 0;
  return text;
}

void PARSE_FreeAmiText(void) {
  if( parseAmi ) CMN_Free((void **)&parseAmi);
  parseAmiLen = parseAmiCap = 0;
  if( parseAmiLines ) CMN_Free((void **)&parseAmiLines);
  parseAmiLineCount = parseAmiLineCap = 0;
}
