/*
** algmod.cpp: the Executable lines of [Algorithmic Model].
*/
#include "IbisParser/algmod.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/parse.h"
#include "amiparam/amiparam.h"

#include <ctype.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>

#define ALGMOD_SRC "IbisParser/algmod"

enum { NOT_ALGMOD = 0, ALGMOD_EXECUTABLE = 1 };

static const struct {
  const char *name;
  int code;
} algmodSubParam[] = { { "Executable", ALGMOD_EXECUTABLE },
                       { NULL, NOT_ALGMOD } };

static int algmodLine;

int ALGMOD_SectionLine(void) { return algmodLine; }

void ALGMOD_Free(AlgExecList **list) {
  AlgExecutable *rec, *next;
  CMN_ASSERT(list != NULL, ALGMOD_SRC);
  if( *list == NULL ) return;
  for( rec = (*list)->first; rec; rec = next ) {
    next = rec->next;
    if( rec->tree ) AMIPARAM_FreeTree(&rec->tree);
    CMN_FreeBlock(rec);
  }
  CMN_Free(list);
}

void ALGMOD_Begin(char *line, AlgExecList **list) {
  CmnTokens tok;
  char *p = line;
  CMN_ASSERT(line != NULL && list != NULL, ALGMOD_SRC);
  if( *list ) {
    MSG_ErrorCodeLine(MSGC_ALGMOD_DUPLICATE);
    ALGMOD_Free(list);
  }
  if( !CMN_Calloc(list, sizeof(AlgExecList)) ) {
    MSG_BugCodeLine(MSGC_ALGMOD_NO_MEMORY, ALGMOD_SRC, __LINE__);
    return;
  }
  if( !CMN_SkipPastBracket(&p) ) {
    MSG_BugCodeLine(MSGC_ALGMOD_SHOULD_NOT_BE_HERE, ALGMOD_SRC, __LINE__);
  } else if( !CMN_SplitTokens(p, 0, 0, &tok) ) {
    MSG_BugCodeLine(MSGC_ALGMOD_PARSE_FAILED, "Algorithmic Model", ALGMOD_SRC,
                    __LINE__);
  } else if( tok.found > 0 ) {
    MSG_ErrorCodeLine(MSGC_ALGMOD_LINE_ITEMS, tok.found + 1,
                      "Algorithmic Model", 1);
  }
  algmodLine = PARSE_GetLineNumber();
}

/* Copies a name of at most ALGMOD_MAX_NAME characters; a longer one is
** reported with `code` and cut. */
static void algmodName(char *field, const char *value, int code) {
  size_t n = strlen(value);
  if( n > ALGMOD_MAX_NAME ) {
    MSG_ErrorCodeLine(code, value);
    n = ALGMOD_MAX_NAME;
  }
  memcpy(field, value, n);
  field[n] = 0;
}

static AlgExecutable *algmodExecutable(CmnTokens *tok) {
  AlgExecutable *rec = NULL;
  CmnTokens part;
  const char *spec = tok->token[1] ? tok->token[1] : "";
  unsigned long bits;
  if( !CMN_SplitTokens(spec, 5, '_', &part) ) {
    MSG_BugCodeLine(MSGC_ALGMOD_SUBPARAM_PARSE_FAILED,
                    "Algorithmic Model Sub-Parameter", ALGMOD_SRC, __LINE__);
    return NULL;
  }
  if( part.found != 5 || strcmp(part.token[1], "_") != 0
      || strcmp(part.token[3], "_") != 0 || strcmp(part.token[0], "_") == 0
      || strcmp(part.token[2], "_") == 0 || strcmp(part.token[4], "_") == 0 ) {
    MSG_ErrorCodeLine(MSGC_ALGMOD_BAD_PLATFORM);
    CMN_FreeTokens(&part);
    return NULL;
  }
  if( !CMN_Calloc(&rec, sizeof(*rec)) ) {
    CMN_FreeTokens(&part);
    return NULL;
  }
  algmodName(rec->platform, part.token[0], MSGC_ALGMOD_PLATFORM_TOO_LONG);
  algmodName(rec->compiler, part.token[2], MSGC_ALGMOD_COMPILER_TOO_LONG);
  rec->bits = -1;
  if( CMN_ParseUnsigned(part.token[4], &bits) == 1 ) {
    rec->bits = bits > INT_MAX ? INT_MAX : (int)bits;
  } else {
    MSG_ErrorCodeLine(MSGC_ALGMOD_BITS_UNREADABLE, spec);
  }
  algmodName(rec->codeFile, tok->token[2] ? tok->token[2] : "",
             MSGC_ALGMOD_FILE_NAME_TOO_LONG);
  algmodName(rec->paramFile, tok->token[3] ? tok->token[3] : "",
             MSGC_ALGMOD_FILE_NAME_TOO_LONG);
  CMN_FreeTokens(&part);
  return rec;
}

void ALGMOD_Line(char *line, AlgExecList **list) {
  CmnTokens tok;
  int i, code = NOT_ALGMOD;
  CMN_ASSERT(line != NULL && list != NULL, ALGMOD_SRC);
  if( *list == NULL ) return; /* the allocation at the keyword failed */
  if( !CMN_SplitTokens(line, 4, 0, &tok) ) {
    MSG_BugCodeLine(MSGC_ALGMOD_SUBPARAM_PARSE_FAILED,
                    "Algorithmic Model Sub-Parameter", ALGMOD_SRC, __LINE__);
    return;
  }
  if( tok.found != 4 ) {
    MSG_ErrorCodeLine(MSGC_ALGMOD_LINE_ITEMS, tok.found, "Algorithmic Model",
                      4);
  }
  for( i = 0; tok.token[0] && algmodSubParam[i].name; i++ ) {
    if( strcmp(algmodSubParam[i].name, tok.token[0]) == 0 ) {
      code = algmodSubParam[i].code;
      break;
    }
  }
  if( code == ALGMOD_EXECUTABLE ) {
    AlgExecutable *rec = algmodExecutable(&tok);
    if( rec ) {
      rec->next = (*list)->first;
      (*list)->first = rec;
    }
  } else {
    MSG_ErrorCodeLine(MSGC_ALGMOD_UNKNOWN_LINE);
  }
  CMN_FreeTokens(&tok);
}

/* The key two Executable lines share when they name the same platform,
** compiler (case ignored) and bits. */
#define ALGMOD_KEY (2 * (ALGMOD_MAX_NAME + 1) + 16)

static void algmodKey(const AlgExecutable *rec, char *key) {
  char *p;
  snprintf(key, ALGMOD_KEY, "%s\n%s\n%d", rec->platform, rec->compiler,
           rec->bits);
  for( p = key; *p; p++ ) *p = (char)tolower((unsigned char)*p);
}

/* Bits other than 32 and 64, and each record that repeats an earlier one
** (once per repeat: a message per pair would grow with the square of the
** copies).  The repeat is named as the record it repeats spells it. */
void ALGMOD_Close(AlgExecList *list) {
  NameIndex seen = { NULL, 0, 0 };
  AlgExecutable *rec;
  char *keys = NULL;
  size_t n = 0, i = 0;
  if( list == NULL ) return;
  for( rec = list->first; rec; rec = rec->next ) n++;
  if( n > 1 && !CMN_Calloc(&keys, n * ALGMOD_KEY) ) keys = NULL;
  for( rec = list->first; rec; rec = rec->next, i++ ) {
    const AlgExecutable *first;
    if( rec->bits != 32 && rec->bits != 64 ) {
      MSG_ErrorCodeLine(MSGC_ALGMOD_BAD_BITS, rec->platform, rec->compiler,
                        algmodLine);
    }
    if( keys == NULL ) continue;
    algmodKey(rec, keys + i * ALGMOD_KEY);
    first = (const AlgExecutable *)NAMEIDX_Find(&seen, keys + i * ALGMOD_KEY);
    if( first ) {
      MSG_ErrorCodeLine(MSGC_ALGMOD_DUPLICATE_EXECUTABLE, first->platform,
                        first->compiler, first->bits, algmodLine);
    } else {
      NAMEIDX_Add(&seen, keys + i * ALGMOD_KEY, rec);
    }
  }
  NAMEIDX_Free(&seen);
  if( keys ) CMN_Free(&keys);
}
