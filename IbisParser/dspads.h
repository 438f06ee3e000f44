/*
** dspads.h: [Die Supply Pads] (IBIS 7.0).
*/
#ifndef IBISPARSER_DSPADS_H
#define IBISPARSER_DSPADS_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection DSPADS_ParseSection;

#endif
