/*
** ramp.h: the [Ramp] record of a model or submodel: the rising and falling
** slopes, each a triple of dV/dt fractions, and the optional R_load.
*/
#ifndef IBISPARSER_RAMP_H
#define IBISPARSER_RAMP_H

#include "IbisParser/rng.h"

enum { RAMP_RISE = 0, RAMP_FALL = 1 };

typedef struct RampRecord {
  RNG_TypMinMax dv[2]; /* by RAMP_RISE, RAMP_FALL */
  RNG_TypMinMax dt[2];
  int slopeGiven[2];
  double rLoad;
  int rLoadGiven;
  int line; /* line of the [Ramp] keyword */
} RampRecord;

/* Starts a ramp in *slot ("Ramp Already Defined" when one is there; the
** new one replaces it). */
void RAMP_Begin(RampRecord **slot);
/* A data line of the ramp; `owner` names the model in repeat messages. */
void RAMP_Line(RampRecord *r, char *text, const char *owner);
/* The checks when the ramp ends. */
void RAMP_Close(const RampRecord *r);
void RAMP_Free(RampRecord **slot);

#endif
