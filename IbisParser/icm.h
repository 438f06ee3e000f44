/*
** icm.h: [Interconnect Model] .. [End Interconnect Model] (IBIS 7.0).
*/
#ifndef IBISPARSER_ICM_H
#define IBISPARSER_ICM_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection ICM_ParseSection;

#endif
