/*
** mspec.h: the [Model Spec] record of a model: up to 32 named triples,
** the names known to the file's version.
*/
#ifndef IBISPARSER_MSPEC_H
#define IBISPARSER_MSPEC_H

#include "IbisParser/rng.h"

/* Codes of the names the model end checks consult. */
enum {
  MSPEC_VMEAS = 15,
  MSPEC_VREF = 16,
  MSPEC_CREF = 17,
  MSPEC_RREF = 18,
  MSPEC_RREF_DIFF = 19,
  MSPEC_CREF_DIFF = 20,
  MSPEC_COUNT = 32
};

typedef struct MspecRecord {
  RNG_TypMinMax value[MSPEC_COUNT + 1]; /* by code, 0 unused */
  int given[MSPEC_COUNT + 1];
  int line;
} MspecRecord;

/* A data line; `modelType` is the enclosing model's type code. */
void MSPEC_Line(MspecRecord *m, char *text, int modelType);
/* 1 when the record holds the name of `code`. */
int MSPEC_Has(const MspecRecord *m, int code);

#endif
