/*
** smspec.h: the [Submodel Spec] record of a submodel: the trigger voltages
** V_trigger_r and V_trigger_f and the Off_delay, each a value triple.
*/
#ifndef IBISPARSER_SMSPEC_H
#define IBISPARSER_SMSPEC_H

#include "IbisParser/rng.h"

/* Subparameters, in table order. */
enum {
  SMSPEC_V_TRIGGER_R = 0,
  SMSPEC_V_TRIGGER_F,
  SMSPEC_OFF_DELAY,
  SMSPEC_COUNT
};

typedef struct SmspecRecord {
  RNG_TypMinMax value[SMSPEC_COUNT];
  int given[SMSPEC_COUNT];
  int line; /* line of the [Submodel Spec] keyword */
} SmspecRecord;

/* Starts a record in *slot; one already there is reported and replaced. */
void SMSPEC_Begin(SmspecRecord **slot);
/* A data line; `owner` names the submodel in repeat messages. */
void SMSPEC_Line(SmspecRecord *s, char *text, const char *owner);
/* The checks when the section ends. */
void SMSPEC_Close(const SmspecRecord *s, const char *owner);
/* 1 when subparameter `which` was given. */
int SMSPEC_Has(const SmspecRecord *s, int which);
void SMSPEC_Free(SmspecRecord **slot);

#endif
