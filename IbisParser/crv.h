/*
** crv.h: I-V tables ([Pulldown], [Pullup], [GND Clamp], [POWER Clamp],
** [ISSO PD], [ISSO PU], [Series Current] and the [Series MOSFET] tables).
**
** A table is a row table (rngp.h) whose `line` is non-zero once its keyword
** was met.  Rows past the version's row limit are reported once and not
** kept.
*/
#ifndef IBISPARSER_CRV_H
#define IBISPARSER_CRV_H

#include "IbisParser/rngp.h"

/* Rows an I-V or waveform table may hold in a file of dispatch version v. */
int CRV_RowLimit(int version);

/* The keyword line: `rest` is the text after the keyword.  A table already
** there is reported ("%s Already Defined") when `reportRepeat` is set, and
** replaced either way. */
void CRV_Begin(RngpTable *t, char *rest, const char *label, int reportRepeat);
/* One data row. */
void CRV_Line(RngpTable *t, char *text, const char *label);
/* The checks when the table ends; `isClamp` adds the zero-crossing check,
** which names the table by `label` and the model by `modelName`. */
void CRV_Close(const RngpTable *t, const char *label, const char *modelName,
               int isClamp);

#endif
