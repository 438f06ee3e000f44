/*
** smos.h: [Series MOSFET] entries: a Vds value and its I-V table.
*/
#ifndef IBISPARSER_SMOS_H
#define IBISPARSER_SMOS_H

#include "IbisParser/rngp.h"

#define SMOS_MAX_ENTRIES 100

typedef struct SmosEntry {
  double vds;
  int vdsGiven;
  RngpTable table;
  int line;
} SmosEntry;

/* The [Series MOSFET] keyword line's text after the keyword, which must
** be empty. */
void SMOS_KeywordLine(char *rest);
/* A data line of an entry: "Vds = value" first, then table rows. */
void SMOS_Line(SmosEntry *e, char *text);
/* The checks when the entry's section ends; `model` names the model. */
void SMOS_Close(const SmosEntry *e, const char *model);

#endif
