/*
** rptpin.h: [Repeater Pin] (IBIS 6.0).
*/
#ifndef IBISPARSER_RPTPIN_H
#define IBISPARSER_RPTPIN_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection RPTPIN_ParseSection;

#endif
