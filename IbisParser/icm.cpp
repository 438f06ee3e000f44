/*
** icm.cpp: one interconnect model of an interconnect model set: its
** sub-parameters (Param, File_IBIS-ISS, File_TS ...) and terminal lines.
**
** A nested module of [Interconnect Model] .. [End Interconnect Model] (IBIS
** 7.0): its owner, the set (ICMSET_Current), hands it the keyword's lines
** (SECTION_NestedLine) and each keyword change after them
** (SECTION_NestedClose).  Records go in the module's own IbisFile list;
** messages in the 5300 block of msgcodes.h.
**
** The keyword is recognised and its lines reach this module; nothing is
** checked of them yet.
*/
#include "IbisParser/icm.h"

/* Called before the keyword line. */
static void icmBegin(void) {}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it. */
static void icmLine(int lineType, int code, char *text) {
  (void)lineType;
  (void)code;
  (void)text;
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void icmClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
}

/* One record of this module's IbisFile list. */
static void icmRelease(void *record) { (void)record; }

/* Per-file state, forgotten at the start of each file. */
static void icmReset(void) {}

const ParseSection ICM_ParseSection = { icmBegin, icmClose, icmLine, icmRelease,
                                        icmReset };
