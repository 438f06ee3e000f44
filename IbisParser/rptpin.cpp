/*
** rptpin.cpp: the [Repeater Pin] lines of a component: each pairs the
** non-inverting pin of a differential receiver with the tx_non_inv_pin of the
** transmitter that repeats it.
**
** A nested module of [Repeater Pin] (IBIS 6.0): its owner, the component
** (CMPNT_Current), hands it the keyword's lines (SECTION_NestedLine) and each
** keyword change after them (SECTION_NestedClose).  Records go in the module's
** own IbisFile list; messages in the 5100 block of msgcodes.h.
**
** The keyword is recognised and its lines reach this module; nothing is
** checked of them yet.
*/
#include "IbisParser/rptpin.h"

/* Called before the keyword line. */
static void rptpinBegin(void) {}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it. */
static void rptpinLine(int lineType, int code, char *text) {
  (void)lineType;
  (void)code;
  (void)text;
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void rptpinClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
}

/* One record of this module's IbisFile list. */
static void rptpinRelease(void *record) { (void)record; }

/* Per-file state, forgotten at the start of each file. */
static void rptpinReset(void) {}

const ParseSection RPTPIN_ParseSection = { rptpinBegin, rptpinClose, rptpinLine,
                                           rptpinRelease, rptpinReset };
