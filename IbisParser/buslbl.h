/*
** buslbl.h: [Bus Label] (IBIS 7.0).
*/
#ifndef IBISPARSER_BUSLBL_H
#define IBISPARSER_BUSLBL_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection BUSLBL_ParseSection;

#endif
