/*
** clkpin.h: [Clock Pins] (IBIS 7.1): the clock pin of each clocked pin
** of a component and how the two relate.
*/
#ifndef IBISPARSER_CLKPIN_H
#define IBISPARSER_CLKPIN_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection CLKPIN_ParseSection;

struct IbisFile;
/* After the file: every clock and clocked pin against its component's
** [Pin] list. */
void CLKPIN_CheckAll(struct IbisFile *file);

#endif
