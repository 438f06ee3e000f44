/*
** buslbl.cpp: the [Bus Label] lines of a component.
**
** A nested module of [Bus Label] (IBIS 7.0): its owner, the component
** (CMPNT_Current), hands it the keyword's lines (SECTION_NestedLine) and each
** keyword change after them (SECTION_NestedClose).
**
** Only recognised: the keyword and its lines are read and skipped.  The
** sources the checker was built from place [Bus Label] in the component
** after [Pin Mapping] (the IBIS 7.0 keyword tree) but end before its
** columns and rules, and the BIRD 189 drafts changed how bus labels tie
** pins, pads and buffer rails together; checking a column layout taken
** from none of them would call valid files wrong.  The module keeps no
** records, so it adds no messages.
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
