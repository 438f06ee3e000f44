/*
** algmod.cpp: the Executable lines of [Algorithmic Model].
**
** The Executable_Rx and Executable_Tx lines of IBIS 6.1 and later are held
** to the file's version (VER_CheckSubparam) and handed to
** ALGMOD_DirectionLine.  They name the executable and parameter file a
** buffer uses when it receives or when it drives (BIRD 178.3, "Specifying
** Buffer Directionality for AMI": an I/O buffer may need both), and have
** the Executable line's layout, so they are read into the same records,
** held to the same rules and their files checked the same way.  Two lines
** are duplicates only when they serve the same direction.
**
** Only recognised: which model types may use which direction, and whether
** a model may mix Executable with Executable_Rx or Executable_Tx; the
** BIRD's text, which would settle them, is not among the sources at hand.
*/
#include "IbisParser/algmod.h"

#include "IbisParser/cmn.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/parse.h"
#include "IbisParser/ver.h"
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

static AlgExecutable *algmodExecutable(const CmnTokens *tok) {
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
    int allowed = VER_CheckSubparam(KW_ALGORITHMIC_MODEL, tok.token[0]);
    if( allowed > 0 ) {
      ALGMOD_DirectionLine(&tok, *list);
    } else if( allowed < 0 ) {
      MSG_ErrorCodeLine(MSGC_ALGMOD_UNKNOWN_LINE);
    }
  }
  CMN_FreeTokens(&tok);
}

void ALGMOD_DirectionLine(const CmnTokens *tok, AlgExecList *list) {
  AlgExecutable *rec;
  int direction;
  CMN_ASSERT(tok != NULL && list != NULL, ALGMOD_SRC);
  /* Sub-parameter names keep their case, as Executable's does. */
  if( strcmp(tok->token[0], "Executable_Rx") == 0 )
    direction = ALGMOD_RX;
  else if( strcmp(tok->token[0], "Executable_Tx") == 0 )
    direction = ALGMOD_TX;
  else {
    MSG_ErrorCodeLine(MSGC_ALGMOD_UNKNOWN_LINE);
    return;
  }
  if( (rec = algmodExecutable(tok)) == NULL ) return;
  rec->direction = direction;
  rec->next = list->first;
  list->first = rec;
}

/* The key two Executable lines share when they name the same direction,
** platform, compiler (case ignored) and bits. */
#define ALGMOD_KEY (2 * (ALGMOD_MAX_NAME + 1) + 16)

static void algmodKey(const AlgExecutable *rec, char *key) {
  char *p;
  snprintf(key, ALGMOD_KEY, "%d\n%s\n%s\n%d", rec->direction, rec->platform,
           rec->compiler, rec->bits);
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
