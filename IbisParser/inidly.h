/*
** inidly.h: [Initial Delay] (IBIS 6.1).
*/
#ifndef IBISPARSER_INIDLY_H
#define IBISPARSER_INIDLY_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection INIDLY_ParseSection;

#endif
