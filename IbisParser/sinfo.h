/*
** sinfo.h: the series record of a Series or Series_switch model (one per
** [On] and [Off] state): the R, L, Rl, C, Lc and Rc series triples, the
** [Series Current] table and the [Series MOSFET] entries.
*/
#ifndef IBISPARSER_SINFO_H
#define IBISPARSER_SINFO_H

#include "IbisParser/rng.h"
#include "IbisParser/rngp.h"
#include "IbisParser/smos.h"

enum {
  SINFO_R = 0,
  SINFO_L,
  SINFO_RL,
  SINFO_C,
  SINFO_LC,
  SINFO_RC,
  SINFO_TRIPLE_COUNT
};

typedef struct SinfoRecord {
  RNG_TypMinMax triple[SINFO_TRIPLE_COUNT];
  int tripleGiven[SINFO_TRIPLE_COUNT];
  RngpTable current; /* [Series Current]; line 0 when absent */
  SmosEntry *mosfet; /* grown as entries arrive */
  int mosfetCount, mosfetCapacity;
  int off; /* 1 for the [Off] record */
} SinfoRecord;

/* A new record, or null (reported). */
SinfoRecord *SINFO_New(int off);
/* A series triple keyword line (`which` SINFO_R ...); `rest` is the text
** after the keyword, `label` the keyword's name and `model` the model's. */
void SINFO_Triple(SinfoRecord *s, int which, char *rest, const char *label,
                  const char *model);
/* Starts a new [Series MOSFET] entry; null when memory ran out. */
SmosEntry *SINFO_NewMosfet(SinfoRecord *s);
/* The end-of-model checks with the label "[On]", "[Off]" or "". */
void SINFO_Check(const SinfoRecord *s, const char *model, const char *label);
void SINFO_Free(SinfoRecord **slot);

#endif
