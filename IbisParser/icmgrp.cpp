/*
** icmgrp.cpp: the interconnect model groups of a component: the interconnect
** model sets each group names, with the files they are in.
**
** A nested module of [Interconnect Model Group] .. [End Interconnect Model
** Group] (IBIS 7.0): its owner, the component (CMPNT_Current), hands it the
** keyword's lines (SECTION_NestedLine) and each keyword change after them
** (SECTION_NestedClose).  Records go in the module's own IbisFile list;
** messages in the 5400 block of msgcodes.h.
**
** The keyword is recognised and its lines reach this module; nothing is
** checked of them yet.
*/
#include "IbisParser/icmgrp.h"

/* Called before the keyword line. */
static void icmgrpBegin(void) {}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it. */
static void icmgrpLine(int lineType, int code, char *text) {
  (void)lineType;
  (void)code;
  (void)text;
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void icmgrpClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
}

/* One record of this module's IbisFile list. */
static void icmgrpRelease(void *record) { (void)record; }

/* Per-file state, forgotten at the start of each file. */
static void icmgrpReset(void) {}

const ParseSection ICMGRP_ParseSection = { icmgrpBegin, icmgrpClose, icmgrpLine,
                                           icmgrpRelease, icmgrpReset };
