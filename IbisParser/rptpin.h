/*
** rptpin.h: [Repeater Pin] (IBIS 6.0): the receiver pins of a repeater
** component, each paired with the non-inverting pin of the transmitter
** that repeats its signal.
*/
#ifndef IBISPARSER_RPTPIN_H
#define IBISPARSER_RPTPIN_H

#include "IbisParser/section.h"

/* Nested module: its lines come through its owner (section.h). */
extern const ParseSection RPTPIN_ParseSection;

struct IbisFile;
/* After the file: every pair's pins against its component's [Pin] and
** [Diff Pin] lists. */
void RPTPIN_CheckAll(struct IbisFile *file);

#endif
