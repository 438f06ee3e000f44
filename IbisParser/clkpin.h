/*
** clkpin.h: [Clock Pins] (IBIS 7.1).
*/
#ifndef IBISPARSER_CLKPIN_H
#define IBISPARSER_CLKPIN_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection CLKPIN_ParseSection;

#endif
