/*
** dspads.cpp: the [Die Supply Pads] lines of a component.
**
** A nested module of [Die Supply Pads] (IBIS 7.0): its owner, the component
** (CMPNT_Current), hands it the keyword's lines (SECTION_NestedLine) and each
** keyword change after them (SECTION_NestedClose).
**
** Only recognised: the keyword and its lines are read and skipped.  In
** the interconnect task group's posts of January 2016 a line named a die
** pad and the signal_name of its rail, while a rival [Pin Pad Map] table
** and bus labels for pads were still argued over; the ratified columns and
** rules are not in the sources the checker was built from, so none is
** checked.  The module keeps no records, so it adds no messages.
*/
#include "IbisParser/dspads.h"

/* Called before the keyword line. */
static void dspadsBegin(void) {}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it. */
static void dspadsLine(int lineType, int code, char *text) {
  (void)lineType;
  (void)code;
  (void)text;
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void dspadsClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
}

/* One record of this module's IbisFile list. */
static void dspadsRelease(void *record) { (void)record; }

/* Per-file state, forgotten at the start of each file. */
static void dspadsReset(void) {}

const ParseSection DSPADS_ParseSection = { dspadsBegin, dspadsClose, dspadsLine,
                                           dspadsRelease, dspadsReset };
