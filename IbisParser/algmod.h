/*
** algmod.h: the [Algorithmic Model] section of a model.
**
** Each "Executable <platform>_<compiler>_<bits> <code file> <ami file>"
** line becomes an AlgExecutable record on the model's list (newest first).
** The model section calls ALGMOD_Begin for the keyword line, ALGMOD_Line for
** each data line and ALGMOD_Close when the section ends; the model owns the
** list and releases it with ALGMOD_Free.
*/
#ifndef IBISPARSER_ALGMOD_H
#define IBISPARSER_ALGMOD_H

#define ALGMOD_MAX_NAME 44

struct AmiParamTree;

/* Which buffer direction an executable serves. */
enum {
  ALGMOD_EITHER = 0, /* Executable */
  ALGMOD_RX = 1,     /* Executable_Rx (IBIS 6.1) */
  ALGMOD_TX = 2      /* Executable_Tx (IBIS 6.1) */
};

typedef struct AlgExecutable {
  struct AlgExecutable *next;
  int direction; /* ALGMOD_EITHER, ALGMOD_RX, ALGMOD_TX */
  char platform[ALGMOD_MAX_NAME + 1];
  char compiler[ALGMOD_MAX_NAME + 1];
  int bits; /* -1 until parsed */
  char codeFile[ALGMOD_MAX_NAME + 1];
  char paramFile[ALGMOD_MAX_NAME + 1];
  struct AmiParamTree *tree; /* the checked .ami file, or null */
} AlgExecutable;

typedef struct AlgExecList {
  AlgExecutable *first;
} AlgExecList;

void ALGMOD_Begin(char *line, AlgExecList **list);
void ALGMOD_Line(char *line, AlgExecList **list);
void ALGMOD_Close(AlgExecList *list);
void ALGMOD_Free(AlgExecList **list);
/* Line number of the last [Algorithmic Model] keyword. */
int ALGMOD_SectionLine(void);

struct CmnTokens;
/* An Executable_Rx or Executable_Tx line (IBIS 6.1 and later) that the
** file's version admits: its four tokens, as ALGMOD_Line split them.  It
** becomes a record like an Executable line's, marked with its direction,
** so that its files are looked for and read like an Executable's. */
void ALGMOD_DirectionLine(const struct CmnTokens *tok, AlgExecList *list);

#endif
