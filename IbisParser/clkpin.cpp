/*
** clkpin.cpp: the [Clock Pins] lines of a component: the clocked_pins and the
** relationship of each clock pin.
**
** A nested module of [Clock Pins] (IBIS 7.1): its owner, the component
** (CMPNT_Current), hands it the keyword's lines (SECTION_NestedLine) and each
** keyword change after them (SECTION_NestedClose).  Records go in the module's
** own IbisFile list; messages in the 5100 block of msgcodes.h.
**
** The keyword is recognised and its lines reach this module; nothing is
** checked of them yet.
*/
#include "IbisParser/clkpin.h"

/* Called before the keyword line. */
static void clkpinBegin(void) {}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it. */
static void clkpinLine(int lineType, int code, char *text) {
  (void)lineType;
  (void)code;
  (void)text;
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void clkpinClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
}

/* One record of this module's IbisFile list. */
static void clkpinRelease(void *record) { (void)record; }

/* Per-file state, forgotten at the start of each file. */
static void clkpinReset(void) {}

const ParseSection CLKPIN_ParseSection = { clkpinBegin, clkpinClose, clkpinLine,
                                           clkpinRelease, clkpinReset };
