/*
** inidly.h: [Initial Delay] (IBIS 6.1), in a [Model] or a [Submodel]:
** typical, minimum and maximum delays, each row named or not.
*/
#ifndef IBISPARSER_INIDLY_H
#define IBISPARSER_INIDLY_H

#include "IbisParser/rng.h"
#include "IbisParser/section.h"

#define INIDLY_MAX_NAME 40

typedef struct InidlyRow {
  struct InidlyRow *next;
  char name[INIDLY_MAX_NAME + 1]; /* empty for an unnamed row */
  RNG_TypMinMax delay;
  int line;
} InidlyRow;

/* One [Initial Delay] of a model or submodel, on the file's
** SECTION_INITIAL_DELAY list. */
typedef struct InidlyRecord {
  const void *owner; /* the MDL_Model or SUBMDL_Submodel */
  int submodel;      /* 1 in a [Submodel] */
  int line;          /* of the keyword */
  int lines;         /* value lines, read or refused */
  InidlyRow *rows, *last;
  struct NameCount *names; /* the row names, for the repeats */
} InidlyRecord;

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection INIDLY_ParseSection;

#endif
