/*
** ebdpath.cpp: the electrical paths of a board ([Path Description]).
**
** A path is a chain of elements read left to right from its data lines:
** "Pin 1 Len=0 L=2n / Fork Len=1 L=1n C=1p / Node u1.3 Endfork".  The
** module keeps the current path, its last element and the stack of open
** forks; an element added right after a Fork starts that fork's branch.
** Forks nest as deep as a file makes them, so nothing here recurses.
*/
#include "IbisParser/cmn.h"
#include "IbisParser/ebdmdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <string.h>

#define EBDPATH_SRC "IbisParser/ebdpath"

static EBDPATH *pathCurrent; /* null outside a path */
static EBDELEM *pathLast;    /* the element new ones follow */
static EBDELEM *pathForks;   /* the innermost open fork */

/* The message codes of the name checks of one kind of word. */
typedef struct PathNameCodes {
  int hasEquals, hasSlash, suspicious;
} PathNameCodes;

static const PathNameCodes pathPinCodes = { MSGC_EBD_PATH_PIN_HAS_EQUALS,
                                            MSGC_EBD_PATH_PIN_HAS_SLASH,
                                            MSGC_EBD_PATH_PIN_SUSPICIOUS };
static const PathNameCodes pathNodeCodes = { MSGC_EBD_NODE_HAS_EQUALS,
                                             MSGC_EBD_NODE_HAS_SLASH,
                                             MSGC_EBD_NODE_SUSPICIOUS };

void EBDPATH_Reset(void) {
  pathCurrent = NULL;
  pathLast = NULL;
  while( pathForks ) {
    EBDELEM *below = pathForks->below;
    pathForks->below = NULL;
    pathForks = below;
  }
}

int EBDPATH_DropOpenForks(void) {
  if( pathForks == NULL ) return 0;
  MSG_ErrorCodeLine(MSGC_EBD_UNTERMINATED_FORKS);
  while( pathForks ) {
    EBDELEM *below = pathForks->below;
    pathForks->below = NULL;
    pathForks = below;
  }
  return 1;
}

void EBDPATH_Begin(EBDMDL *board, const char *name) {
  EBDPATH *path = NULL;
  CMN_ASSERT(board != NULL && name != NULL, EBDPATH_SRC);
  EBDPATH_DropOpenForks();
  pathCurrent = NULL;
  pathLast = NULL;
  if( !CMN_Calloc((void **)&path, sizeof(*path)) ) {
    MSG_ErrorCodeLine(MSGC_EBD_PATH_ALLOC_FAILED);
    return;
  }
  if( CMN_CopyTruncate(path->name, name, EBDMDL_MAX_NAME,
                       "Path Description") ) {
    CMN_CheckReservedWord(path->name);
  }
  if( board->lastPath )
    board->lastPath->next = path;
  else
    board->paths = path;
  board->lastPath = path;
  /* One message per path that repeats an earlier name: a message per
  ** earlier copy would grow with the square of the copies. */
  if( NAMEIDX_Contains(&board->pathIndex, path->name) ) {
    MSG_ErrorCodeLine(MSGC_EBD_DUPLICATE_PATH, path->name);
  } else {
    NAMEIDX_Add(&board->pathIndex, path->name, path);
  }
  pathCurrent = path;
}

/* ---- elements ---------------------------------------------------------- */

/* Links a new element of `kind` after the last one (or as the branch of
** the fork just opened) and makes it the last.  Null when memory ran out
** (reported). */
static EBDELEM *pathAdd(int kind) {
  EBDELEM *e = NULL;
  if( !CMN_Calloc((void **)&e, sizeof(*e)) ) {
    MSG_ErrorCodeLine(MSGC_EBD_ELEMENT_ALLOC_FAILED);
    return NULL;
  }
  e->kind = kind;
  if( pathLast == NULL )
    pathCurrent->first = e;
  else if( pathLast == pathForks && pathLast->branch == NULL )
    pathLast->branch = e;
  else
    pathLast->next = e;
  pathLast = e;
  return e;
}

static int pathIsBlank(int c) { return c == ' ' || c == '\t'; }

static const char *pathSkipBlanks(const char *p) {
  while( pathIsBlank(*p) ) p++;
  return p;
}

/* The word at `p` up to a blank or a tab (and '=' when `toEquals`), copied
** into `out` (PARSE_LINE_BUFFER + 1 bytes); returns its end. */
static const char *pathWord(const char *p, int toEquals, char *out) {
  size_t n = 0;
  while( p[n] && !pathIsBlank(p[n]) && !(toEquals && p[n] == '=') ) n++;
  memcpy(out, p, n > PARSE_LINE_BUFFER ? PARSE_LINE_BUFFER : n);
  out[n > PARSE_LINE_BUFFER ? PARSE_LINE_BUFFER : n] = 0;
  return p + n;
}

/* The warnings of a pin or node name that looks like a misplaced item. */
static void pathNameWarnings(const char *word, const PathNameCodes *codes) {
  static const char *const items[] = {
    "Len", "Fork", "Endfork", "C", "R", "L"
  };
  size_t i;
  if( strchr(word, '=') ) MSG_WarningCodeLine(codes->hasEquals, word);
  if( strchr(word, '/') ) MSG_WarningCodeLine(codes->hasSlash, word);
  for( i = 0; i < sizeof(items) / sizeof(items[0]); i++ ) {
    if( strcmp(word, items[i]) == 0 ) {
      MSG_WarningCodeLine(codes->suspicious, word);
      break;
    }
  }
}

/* Copies at most `maximum` characters of `word` into `field`; 0 when the
** word was longer. */
static int pathCopy(char *field, const char *word, size_t maximum) {
  size_t n = strlen(word);
  int fits = n <= maximum;
  if( !fits ) n = maximum;
  memcpy(field, word, n);
  field[n] = 0;
  return fits;
}

static void pathPin(const char *word) {
  EBDELEM *e;
  char pin[EBDMDL_MAX_PIN + 1];
  if( !pathCopy(pin, word, EBDMDL_MAX_PIN) ) {
    MSG_ErrorCodeLine(MSGC_EBD_PATH_PIN_TOO_LONG);
  }
  pathNameWarnings(word, &pathPinCodes);
  if( (e = pathAdd(EBD_ELEM_PIN)) != NULL ) memcpy(e->pin, pin, sizeof(pin));
}

static void pathNode(char *word) {
  EBDELEM *e;
  char refdes[EBDMDL_MAX_REFDES + 1], pin[EBDMDL_MAX_PIN + 1];
  char *dot = strchr(word, '.');
  pin[0] = 0;
  if( dot == NULL ) MSG_ErrorCodeLine(MSGC_EBD_NODE_NO_PERIOD);
  if( dot ) *dot = 0;
  if( !pathCopy(refdes, word, EBDMDL_MAX_REFDES) ) {
    MSG_ErrorCodeLine(MSGC_EBD_NODE_REFDES_TOO_LONG);
  }
  if( dot && !pathCopy(pin, dot + 1, EBDMDL_MAX_PIN) ) {
    MSG_ErrorCodeLine(MSGC_EBD_NODE_PIN_TOO_LONG);
  }
  if( dot ) *dot = '.';
  pathNameWarnings(word, &pathNodeCodes);
  if( (e = pathAdd(EBD_ELEM_NODE)) != NULL ) {
    memcpy(e->refdes, refdes, sizeof(refdes));
    memcpy(e->pin, pin, sizeof(pin));
  }
}

static void pathEndfork(void) {
  EBDELEM *fork = pathForks;
  if( fork == NULL ) {
    MSG_ErrorCodeLine(MSGC_EBD_ENDFORK_WITHOUT_FORK);
    return;
  }
  pathForks = fork->below;
  fork->below = NULL;
  pathLast = fork;
  if( fork->branch == NULL ) MSG_ErrorCodeLine(MSGC_EBD_EMPTY_FORK);
}

/* An R/L/C section from `p` (at its "Len"); returns where reading goes on,
** or null when the line is over. */
static const char *pathSection(const char *p) {
  SECT *sect = NULL;
  const char *rest = p;
  EBDELEM *e;
  if( pathLast == NULL ) {
    MSG_ErrorCodeLine(MSGC_EBD_ORPHAN_SECTION);
    return NULL;
  }
  if( !SECT_Read(p, &sect, &rest) ) return NULL;
  if( sect == NULL ) return rest;
  if( (e = pathAdd(EBD_ELEM_SECTION)) == NULL ) {
    SECT_Free(&sect);
    return rest;
  }
  e->sect = sect;
  return rest;
}

/* One keyword word of a path line at `p` (`word` holds it, `end` is past
** it); returns where reading goes on, or null when the line is over. */
static const char *pathItem(const char *p, const char *end, const char *word) {
  char arg[PARSE_LINE_BUFFER + 1];
  if( strcmp(word, "Len") == 0 ) return pathSection(p);
  if( strcmp(word, "NC") == 0 ) {
    if( pathLast == NULL )
      MSG_ErrorCodeLine(MSGC_EBD_ORPHAN_NC);
    else
      pathAdd(EBD_ELEM_NC);
  } else if( strcmp(word, "Fork") == 0 ) {
    EBDELEM *fork;
    if( pathLast == NULL ) {
      MSG_ErrorCodeLine(MSGC_EBD_ORPHAN_FORK);
    } else if( (fork = pathAdd(EBD_ELEM_FORK)) != NULL ) {
      fork->below = pathForks;
      pathForks = fork;
    }
  } else if( strcmp(word, "Endfork") == 0 ) {
    if( pathLast == NULL )
      MSG_ErrorCodeLine(MSGC_EBD_ORPHAN_ENDFORK);
    else
      pathEndfork();
  } else if( strcmp(word, "Pin") == 0 || strcmp(word, "Node") == 0 ) {
    int isPin = word[0] == 'P';
    const char *q = pathSkipBlanks(end);
    if( *q == 0 ) {
      MSG_ErrorCodeLine(isPin ? MSGC_EBD_NO_PATH_PIN : MSGC_EBD_NO_NODE_NAME);
      return NULL;
    }
    end = pathWord(q, 0, arg);
    if( isPin )
      pathPin(arg);
    else if( pathLast == NULL )
      MSG_ErrorCodeLine(MSGC_EBD_ORPHAN_NODE);
    else
      pathNode(arg);
  } else {
    MSG_ErrorCodeLine(MSGC_EBD_UNKNOWN_TOKEN, word);
  }
  return end;
}

void EBDPATH_Line(EBDMDL *board, const char *text) {
  char word[PARSE_LINE_BUFFER + 1];
  const char *p = text;
  CMN_ASSERT(board != NULL && text != NULL, EBDPATH_SRC);
  /* No path: its allocation failed, and was reported. */
  if( pathCurrent == NULL ) return;
  for( ;; ) {
    const char *end;
    p = pathSkipBlanks(p);
    if( *p == 0 ) return;
    if( *p == '=' || *p == '/' ) {
      MSG_ErrorCodeLine(*p == '=' ? MSGC_EBD_UNEXPECTED_EQUALS
                                  : MSGC_EBD_UNEXPECTED_SLASH);
      p++;
      continue;
    }
    end = pathWord(p, 1, word);
    if( (p = pathItem(p, end, word)) == NULL ) return;
  }
}

/* ---- walking and release ----------------------------------------------- */

int EBDPATH_Walk(EBDELEM *first, EbdVisit visit, void *context) {
  EBDELEM **stack = NULL, *e = first;
  size_t depth = 0, cap = 0;
  CMN_ASSERT(visit != NULL, EBDPATH_SRC);
  /* A fork's branch is walked before the elements after the fork; the
  ** element to resume with waits on the stack. */
  while( e || depth > 0 ) {
    if( e == NULL ) {
      e = stack[--depth];
      continue;
    }
    visit(e, context);
    if( e->branch == NULL ) {
      e = e->next;
      continue;
    }
    if( e->next ) {
      if( depth == cap ) {
        size_t grown = cap ? cap * 2 : 16;
        if( !CMN_Realloc((void **)&stack, grown * sizeof(*stack)) ) {
          if( stack ) CMN_Free((void **)&stack);
          return 0;
        }
        cap = grown;
      }
      stack[depth++] = e->next;
    }
    e = e->branch;
  }
  if( stack ) CMN_Free((void **)&stack);
  return 1;
}

void EBDPATH_FreeChain(EBDELEM **first) {
  EBDELEM *e;
  CMN_ASSERT(first != NULL, EBDPATH_SRC);
  e = *first;
  /* A fork's branch is rotated up in its place until no element has one:
  ** each step moves one element, so the whole tree goes in linear time. */
  while( e ) {
    if( e->branch ) {
      EBDELEM *branch = e->branch;
      e->branch = branch->next;
      branch->next = e;
      e = branch;
    } else {
      EBDELEM *next = e->next;
      if( e->sect ) SECT_Free(&e->sect);
      CMN_FreeBlock(e);
      e = next;
    }
  }
  *first = NULL;
}
