/*
** buslbl.cpp: the [Bus Label] lines of a component.
**
** A nested module of [Bus Label] (IBIS 7.0): its owner, the component
** (CMPNT_Current), hands it the keyword's lines (SECTION_NestedLine) and each
** keyword change after them (SECTION_NestedClose).  Records go in the module's
** own IbisFile list; messages in the 5500 block of msgcodes.h.
**
** The keyword is recognised and its lines reach this module; nothing is
** checked of them yet.
*/
#include "IbisParser/buslbl.h"

/* Called before the keyword line. */
static void buslblBegin(void) {}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it. */
static void buslblLine(int lineType, int code, char *text) {
  (void)lineType;
  (void)code;
  (void)text;
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void buslblClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
}

/* One record of this module's IbisFile list. */
static void buslblRelease(void *record) { (void)record; }

/* Per-file state, forgotten at the start of each file. */
static void buslblReset(void) {}

const ParseSection BUSLBL_ParseSection = { buslblBegin, buslblClose, buslblLine,
                                           buslblRelease, buslblReset };
