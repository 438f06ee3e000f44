/*
** ebdmdl.cpp: the board-description section: its keywords, the pin list,
** the reference designator map, the routing of path lines, and the checks
** when a board ends.
**
** A board is current from [Begin Board Description] to the first keyword
** of another section; [End Board Description] only marks it, so that the
** board's checks run once, when the board is really over.
*/
#include "IbisParser/ebdmdl.h"

#include "IbisParser/cmn.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <ctype.h>
#include <limits.h>
#include <string.h>

#define EBDMDL_SRC "IbisParser/ebdmdl"

static EBDMDL *ebdCurrent;                  /* null outside a board */
static int ebdKeyword = KW_NOT_KEY;         /* the keyword last handled */
static int ebdPreviousKeyword = KW_NOT_KEY; /* the one before it */
static int ebdSeenPinCount, ebdSeenManufacturer, ebdSeenPinList;
static int ebdSeenMap, ebdSeenEnd;

static void ebdClearState(void) {
  ebdKeyword = ebdPreviousKeyword = KW_NOT_KEY;
  ebdSeenPinCount = ebdSeenManufacturer = ebdSeenPinList = 0;
  ebdSeenMap = ebdSeenEnd = 0;
  EBDPATH_Reset();
}

void EBDMDL_Reset(void) {
  ebdCurrent = NULL;
  ebdClearState();
}

static void ebdEndBoard(void);

void EBDMDL_Init(void) {
  IbisFile *file;
  EBDMDL *b = NULL;
  /* After an unknown keyword the reader closes nothing: a board still open
  ** here is checked now rather than left unchecked. */
  if( ebdCurrent ) ebdEndBoard();
  if( !IBIS_Current(&file) ) {
    MSG_BugCodeLine(MSGC_EBD_NO_IBIS, EBDMDL_SRC, __LINE__);
    return;
  }
  if( !CMN_Calloc((void **)&b, sizeof(*b)) ) {
    MSG_ErrorCodeLine(MSGC_EBD_CREATE_FAILED);
    return;
  }
  if( !IBIS_Append(file, SECTION_BOARD, b) ) {
    MSG_ErrorCodeLine(MSGC_EBD_CREATE_FAILED);
    CMN_Free((void **)&b);
    return;
  }
  ebdCurrent = b;
  ebdClearState();
}

EBDPIN *EBDMDL_FindPin(const EBDMDL *board, const char *name) {
  CMN_ASSERT(board != NULL && name != NULL, EBDMDL_SRC);
  return (EBDPIN *)NAMEIDX_Find(&board->pinIndex, name);
}

EBDREFDES *EBDMDL_FindRefdes(const EBDMDL *board, const char *refdes) {
  CMN_ASSERT(board != NULL && refdes != NULL, EBDMDL_SRC);
  return (EBDREFDES *)NAMEIDX_Find(&board->mapIndex, refdes);
}

/* ---- end of a board ---------------------------------------------------- */

static void ebdCountPinRef(EBDELEM *e, void *context) {
  EBDPIN *pin;
  if( e->kind != EBD_ELEM_PIN ) return;
  pin = EBDMDL_FindPin((const EBDMDL *)context, e->pin);
  if( pin ) pin->refs++;
}

static int ebdIsSupply(const char *signal) {
  return strncmp(signal, "POWER", 5) == 0 || strncmp(signal, "GND", 3) == 0;
}

static void ebdCheckPins(EBDMDL *b) {
  EBDPATH *path;
  unsigned i;
  if( !ebdSeenPinList ) {
    MSG_ErrorCode(MSGC_EBD_NO_PIN_LIST);
    return;
  }
  if( b->numPins == 0 ) return;
  if( b->pinCount == 0 ) {
    MSG_ErrorCode(MSGC_EBD_NO_PIN_NAMES);
    return;
  }
  for( i = 0; i < b->pinCount; i++ ) b->pins[i]->refs = 0;
  for( path = b->paths; path; path = path->next ) {
    EBDPATH_Walk(path->first, ebdCountPinRef, b);
  }
  for( i = 0; i < b->pinCount; i++ ) {
    const EBDPIN *pin = b->pins[i];
    /* A repeated pin name counts the references of its name. */
    unsigned refs = EBDMDL_FindPin(b, pin->name)->refs;
    int supply = ebdIsSupply(pin->signal);
    if( refs == 0 && !supply && !CMN_IsReservedWord(pin->signal) ) {
      MSG_ErrorCode(MSGC_EBD_PIN_UNREFERENCED, pin->name);
    } else if( refs > 0 && supply ) {
      MSG_WarningCode(MSGC_EBD_SUPPLY_PIN_REFERENCED, pin->name);
    } else if( refs > 1 ) {
      MSG_ErrorCode(MSGC_EBD_PIN_REFERENCED_OFTEN, pin->name, (int)refs);
    }
  }
  if( b->pinCount < b->numPins ) {
    MSG_ErrorCode(MSGC_EBD_PIN_COUNT_MISMATCH, b->numPins, b->pinCount);
  }
}

typedef struct EbdPathCheck {
  const EBDMDL *board;
  const EBDPATH *path;
} EbdPathCheck;

static void ebdCheckElement(EBDELEM *e, void *context) {
  const EbdPathCheck *c = (const EbdPathCheck *)context;
  if( e->kind == EBD_ELEM_NODE && !EBDMDL_FindRefdes(c->board, e->refdes) ) {
    MSG_ErrorCode(MSGC_EBD_PATH_REFDES_UNDEFINED, e->refdes, c->path->name);
  } else if( e->kind == EBD_ELEM_PIN && !EBDMDL_FindPin(c->board, e->pin) ) {
    MSG_ErrorCode(MSGC_EBD_PATH_PIN_UNDEFINED, e->pin, c->path->name);
  } else if( e->kind == EBD_ELEM_NC && e->next ) {
    MSG_ErrorCode(MSGC_EBD_NC_NOT_LAST, c->path->name);
  }
}

static void ebdCheckPaths(const EBDMDL *b) {
  EbdPathCheck c;
  EBDPATH *path;
  EBDPATH_DropOpenForks();
  if( b->paths == NULL ) MSG_ErrorCode(MSGC_EBD_NO_PATHS, b->name);
  c.board = b;
  for( path = b->paths; path; path = path->next ) {
    if( path->first == NULL ) {
      MSG_ErrorCode(MSGC_EBD_EMPTY_PATH, path->name);
      continue;
    }
    c.path = path;
    EBDPATH_Walk(path->first, ebdCheckElement, &c);
  }
}

static void ebdEndBoard(void) {
  EBDMDL *b = ebdCurrent;
  if( b->name[0] == 0 ) MSG_ErrorCode(MSGC_EBD_NO_NAME);
  if( b->manufacturer[0] == 0 ) {
    MSG_ErrorCode(MSGC_EBD_MISSING_KEYWORD, "Manufacturer", b->name);
  }
  if( b->numPins == 0 ) MSG_ErrorCode(MSGC_EBD_NO_PIN_COUNT, b->name);
  ebdCheckPins(b);
  ebdCheckPaths(b);
  if( !ebdSeenEnd ) MSG_ErrorCode(MSGC_EBD_NO_END);
  ebdCurrent = NULL;
  ebdClearState();
}

void EBDMDL_Close(int previousCode, int newCode) {
  (void)previousCode;
  if( newCode >= KW_EBD_MANUFACTURER && newCode <= KW_END_BOARD_DESCRIPTION ) {
    return;
  }
  if( ebdCurrent ) ebdEndBoard();
}

/* ---- keyword lines ----------------------------------------------------- */

static void ebdPinCount(EBDMDL *b, const char *value) {
  unsigned long v = 0;
  int rc;
  if( ebdSeenPinCount ) MSG_ErrorCodeLine(MSGC_EBD_DUPLICATE_NUMBER_OF_PINS);
  ebdSeenPinCount = 1;
  if( value[0] == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_BLANK_PIN_COUNT);
    return;
  }
  if( b->numPins != 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_DUPLICATE_PIN_COUNT);
    return;
  }
  rc = CMN_ParseUnsigned(value, &v);
  /* A count past 32 bits is no count this checker can hold. */
  if( rc != 0 && v > UINT_MAX ) rc = 0;
  if( rc == 2 ) {
    MSG_WarningCodeLine(MSGC_EBD_SUSPICIOUS_PIN_COUNT);
  } else if( rc == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_BAD_PIN_COUNT);
    return;
  }
  if( v == 0 ) MSG_ErrorCodeLine(MSGC_EBD_ZERO_PIN_COUNT);
  b->numPins = (unsigned)v;
}

/* The blank- and tab-separated token at or after `p`: its start, with its
** length in *n (0 at the end of the text). */
static const char *ebdToken(const char *p, size_t *n) {
  while( *p == ' ' || *p == '\t' ) p++;
  for( *n = 0; p[*n] && p[*n] != ' ' && p[*n] != '\t'; (*n)++ ) {}
  return p;
}

static void ebdPinListKeyword(const char *value) {
  size_t n;
  const char *t;
  if( ebdSeenPinList ) {
    MSG_ErrorCodeLine(MSGC_EBD_DUPLICATE_PIN_LIST);
  } else {
    ebdSeenPinList = 1;
  }
  t = ebdToken(value, &n);
  if( n == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_NO_SIGNAL_HEADER);
    return;
  }
  if( n != 11 || !CMN_StrNEqualNoCase(t, "signal_name", 11) ) {
    MSG_ErrorCodeLine(MSGC_EBD_BAD_SIGNAL_HEADER);
  }
  ebdToken(t + n, &n);
  if( n != 0 ) MSG_ErrorCodeLine(MSGC_EBD_DATA_AFTER_HEADER);
}

/* [Reference Designator Map] and [End Board Description]. */
static void ebdFlagKeyword(int *seen, const char *name, const char *value) {
  if( *seen ) {
    MSG_ErrorCodeLine(MSGC_EBD_DUPLICATE_KEYWORD, name);
    return;
  }
  if( value[0] ) MSG_ErrorCodeLine(MSGC_EBD_EXTRANEOUS_DATA, name);
  *seen = 1;
}

static void ebdKeywordLine(EBDMDL *b, int code, const char *value) {
  switch( code ) {
    case KW_BEGIN_BOARD_DESCRIPTION:
      if( CMN_CopyOnce(b->name, value, EBDMDL_MAX_NAME, "Define Ebd Model") ) {
        CMN_CheckReservedWord(b->name);
      }
      break;
    case KW_EBD_MANUFACTURER:
      CMN_CopyOnce(b->manufacturer, value, EBDMDL_MAX_MANUFACTURER,
                   "Manufacturer");
      ebdSeenManufacturer = 1;
      break;
    case KW_EBD_NUMBER_OF_PINS:
      ebdPinCount(b, value);
      break;
    case KW_PIN_LIST:
      ebdPinListKeyword(value);
      break;
    case KW_PATH_DESCRIPTION:
      EBDPATH_Begin(b, value);
      break;
    case KW_REFERENCE_DESIGNATOR_MAP:
      ebdFlagKeyword(&ebdSeenMap, "Reference_Designator_Map", value);
      break;
    case KW_END_BOARD_DESCRIPTION:
      ebdFlagKeyword(&ebdSeenEnd, "End_Board_Description", value);
      break;
    default:
      MSG_BugCodeLine(MSGC_EBD_ILLEGAL_KEYWORD, EBDMDL_SRC, __LINE__);
      break;
  }
}

/* ---- pin lines --------------------------------------------------------- */

/* Room for one more pin; 0 when memory ran out (reported). */
static int ebdGrowPins(EBDMDL *b) {
  unsigned cap;
  if( b->pinCount < b->pinCap ) return 1;
  cap = b->pinCap == 0           ? 16
      : b->pinCap > UINT_MAX / 2 ? b->numPins
                                 : b->pinCap * 2;
  if( cap > b->numPins ) cap = b->numPins;
  if( b->pins == NULL
          ? !CMN_Calloc((void **)&b->pins, cap * sizeof(*b->pins))
          : !CMN_Realloc((void **)&b->pins, cap * sizeof(*b->pins)) ) {
    MSG_ErrorCodeLine(MSGC_EBD_PIN_ARRAY_FAILED);
    return 0;
  }
  b->pinCap = cap;
  return 1;
}

/* Copies at most `maximum` of the `n` characters at `from` into `field`;
** 0 when there were more. */
static int ebdCopy(char *field, const char *from, size_t n, size_t maximum) {
  int fits = n <= maximum;
  if( !fits ) n = maximum;
  memcpy(field, from, n);
  field[n] = 0;
  return fits;
}

static void ebdPinLine(EBDMDL *b, const char *text) {
  char name[EBDMDL_MAX_PIN + 1];
  EBDPIN *pin = NULL;
  size_t n;
  const char *t = ebdToken(text, &n);
  if( n == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_NO_PIN_NAME);
    return;
  }
  if( !ebdCopy(name, t, n, EBDMDL_MAX_PIN) ) {
    MSG_ErrorCodeLine(MSGC_EBD_PIN_NAME_TOO_LONG);
  }
  if( b->numPins == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_PINS_BEFORE_COUNT);
    return;
  }
  if( b->pinCount >= b->numPins ) {
    MSG_ErrorCodeLine(MSGC_EBD_TOO_MANY_PINS);
    return;
  }
  if( !ebdGrowPins(b) ) return;
  if( !CMN_Calloc((void **)&pin, sizeof(*pin)) ) {
    MSG_ErrorCodeLine(MSGC_EBD_PIN_ALLOC_FAILED);
    return;
  }
  memcpy(pin->name, name, sizeof(name));
  if( NAMEIDX_Contains(&b->pinIndex, pin->name) ) {
    MSG_ErrorCodeLine(MSGC_EBD_DUPLICATE_PIN, pin->name);
  } else {
    NAMEIDX_Add(&b->pinIndex, pin->name, pin);
  }
  b->pins[b->pinCount++] = pin;
  t = ebdToken(t + n, &n);
  if( n == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_NO_SIGNAL);
    return;
  }
  if( !ebdCopy(pin->signal, t, n, EBDMDL_MAX_SIGNAL) ) {
    MSG_ErrorCodeLine(MSGC_EBD_SIGNAL_TOO_LONG);
  }
  ebdToken(t + n, &n);
  if( n != 0 ) MSG_ErrorCodeLine(MSGC_EBD_DATA_AFTER_SIGNAL);
}

/* ---- reference designator map ------------------------------------------ */

static int ebdDosCharacter(int c) {
  return isalnum(c) || (c != 0 && strchr(".!#$%&'()-^_`{}~@", c) != NULL);
}

/* The rules of a file name in the map; 1 when it passes them all. */
static int ebdCheckMapFileName(const char *name) {
  const char *dot = strrchr(name, '.'), *p;
  int valid = 1, periods = 0;
  if( dot == NULL ) {
    MSG_ErrorCodeLine(MSGC_EBD_FILE_NO_EXTENSION, name);
    valid = 0;
  } else if( strcmp(dot, ".ibs") != 0 && strcmp(dot, ".ebd") != 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_FILE_BAD_EXTENSION, dot);
    valid = 0;
  }
  for( p = name; *p; p++ ) {
    unsigned char c = (unsigned char)*p;
    if( isupper(c) ) {
      MSG_ErrorCodeLine(MSGC_EBD_FILE_NAME_UPPER, name, c);
      valid = 0;
    } else if( !ebdDosCharacter(c) ) {
      MSG_ErrorCodeLine(MSGC_EBD_FILE_NAME_DOS_CHAR, name, c);
      valid = 0;
    }
    if( c == '.' && ++periods == 2 ) {
      MSG_ErrorCodeLine(MSGC_EBD_FILE_NAME_PERIODS, name);
      valid = 0;
    }
  }
  return valid;
}

/* The file name and the component of a map line, from `p` on. */
static void ebdMapFile(EBDREFDES *r, const char *p) {
  char file[PARSE_LINE_BUFFER + 1];
  size_t n,
      maximum = PARSE_GetDispatchVersion() <= 3 ? EBDMDL_MAX_FILE_V3
                                                : EBDMDL_MAX_FILE;
  const char *t = ebdToken(p, &n);
  if( n == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_NO_FILE_NAME);
  } else {
    int whole;
    ebdCopy(file, t, n, PARSE_LINE_BUFFER);
    whole = ebdCopy(r->file, t, n, maximum);
    if( !whole ) MSG_ErrorCodeLine(MSGC_EBD_FILE_NAME_TOO_LONG, file);
    /* The name checked is the name used: a name cut short is no file the
    ** map meant, so, like any other refused name, it is not followed. */
    r->fileValid = ebdCheckMapFileName(file) && whole;
  }
  for( p = t + n; *p == ' ' || *p == '\t'; p++ ) {}
  if( *p == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_NO_COMPONENT);
    return;
  }
  if( !ebdCopy(r->component, p, strlen(p), EBDMDL_MAX_COMPONENT) ) {
    MSG_ErrorCodeLine(MSGC_EBD_COMPONENT_TOO_LONG, p);
  }
  r->componentGiven = 1;
}

static void ebdMapLine(EBDMDL *b, const char *text) {
  char refdes[PARSE_LINE_BUFFER + 1];
  EBDREFDES *r = NULL;
  size_t n;
  const char *t = ebdToken(text, &n);
  if( n == 0 ) {
    MSG_ErrorCodeLine(MSGC_EBD_NO_REFDES);
    return;
  }
  if( !CMN_Calloc((void **)&r, sizeof(*r)) ) {
    MSG_ErrorCodeLine(MSGC_EBD_REFDES_ALLOC_FAILED);
    return;
  }
  r->next = b->map;
  b->map = r;
  ebdCopy(refdes, t, n, PARSE_LINE_BUFFER);
  if( !ebdCopy(r->refdes, t, n, EBDMDL_MAX_REFDES) ) {
    MSG_ErrorCodeLine(MSGC_EBD_REFDES_TOO_LONG, refdes);
  }
  if( NAMEIDX_Contains(&b->mapIndex, r->refdes) ) {
    MSG_ErrorCodeLine(MSGC_EBD_DUPLICATE_REFDES, r->refdes);
  } else {
    NAMEIDX_Add(&b->mapIndex, r->refdes, r);
  }
  ebdMapFile(r, t + n);
}

/* ---- line handler ------------------------------------------------------ */

static void ebdDataLine(EBDMDL *b, char *text) {
  switch( ebdKeyword ) {
    case KW_PIN_LIST:
      ebdPinLine(b, text);
      break;
    case KW_PATH_DESCRIPTION:
      EBDPATH_Line(b, text);
      break;
    case KW_REFERENCE_DESIGNATOR_MAP:
      ebdMapLine(b, text);
      break;
    default:
      MSG_ErrorCodeLine(MSGC_EBD_ORPHAN_DATA);
      break;
  }
}

void EBDMDL_Line(int lineType, int code, char *text) {
  CMN_ASSERT(text != NULL, EBDMDL_SRC);
  if( lineType == SECTION_LINE_KEYWORD ) {
    char *p = text;
    if( ebdCurrent == NULL ) {
      MSG_ErrorCodeLine(MSGC_EBD_ORPHAN_KEYWORD);
      return;
    }
    CMN_SkipPastBracket(&p);
    ebdPreviousKeyword = ebdKeyword;
    ebdKeyword = code;
    ebdKeywordLine(ebdCurrent, code, p);
  } else if( lineType == SECTION_LINE_DATA ) {
    if( ebdCurrent == NULL ) {
      MSG_ErrorCodeLine(MSGC_EBD_ORPHAN_DATA);
      return;
    }
    ebdDataLine(ebdCurrent, text);
  } else {
    MSG_BugCodeLine(MSGC_EBD_ILLEGAL_LINE_TYPE, EBDMDL_SRC, __LINE__);
  }
}

/* ---- release ----------------------------------------------------------- */

void EBDMDL_FreeBoard(EBDMDL **board) {
  EBDMDL *b;
  unsigned i;
  CMN_ASSERT(board != NULL, EBDMDL_SRC);
  if( (b = *board) == NULL ) return;
  if( ebdCurrent == b ) EBDMDL_Reset();
  for( i = 0; i < b->pinCount; i++ ) CMN_Free((void **)&b->pins[i]);
  if( b->pins ) CMN_Free((void **)&b->pins);
  while( b->paths ) {
    EBDPATH *next = b->paths->next;
    EBDPATH_FreeChain(&b->paths->first);
    CMN_Free((void **)&b->paths);
    b->paths = next;
  }
  while( b->map ) {
    EBDREFDES *next = b->map->next;
    CMN_Free((void **)&b->map);
    b->map = next;
  }
  NAMEIDX_Free(&b->pinIndex);
  NAMEIDX_Free(&b->pathIndex);
  NAMEIDX_Free(&b->mapIndex);
  CMN_Free((void **)board);
}

static void ebdRelease(void *record) {
  EBDMDL *b = (EBDMDL *)record;
  EBDMDL_FreeBoard(&b);
}

/* A board the reader never closed (its last keyword was unknown) is
** checked by the after-file check; EBDMDL_AfterFile calls this. */
void EBDMDL_EndOpenBoard(void) {
  if( ebdCurrent ) ebdEndBoard();
}

const ParseSection EBDMDL_ParseSection = { EBDMDL_Init, EBDMDL_Close,
                                           EBDMDL_Line, ebdRelease,
                                           EBDMDL_Reset };
