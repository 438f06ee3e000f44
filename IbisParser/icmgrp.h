/*
** icmgrp.h: [Interconnect Model Group] .. [End Interconnect Model Group] (IBIS
** 7.0).
*/
#ifndef IBISPARSER_ICMGRP_H
#define IBISPARSER_ICMGRP_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection ICMGRP_ParseSection;

struct IbisFile;
/* After the file: the sets that groups name in this file (file NA) are
** sets of this file. */
void ICMGRP_CheckSets(struct IbisFile *file);

#endif
