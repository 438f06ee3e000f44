/*
** inidly.cpp: the [Initial Delay] of a model or a submodel.
**
** A nested module of [Initial Delay] (IBIS 6.1): its owner, the model
** (MDL_Current) or, for KW_SUB_INITIAL_DELAY, the submodel (SUBMDL_Current),
** hands it the keyword's lines (SECTION_NestedLine) and each keyword change
** after them (SECTION_NestedClose).  Records go in the module's own IbisFile
** list; messages in the 5200 block of msgcodes.h.
**
** The keyword is recognised and its lines reach this module; nothing is
** checked of them yet.
*/
#include "IbisParser/inidly.h"

/* Called before the keyword line. */
static void inidlyBegin(void) {}

/* The keyword line (SECTION_LINE_KEYWORD) and each data line after it. */
static void inidlyLine(int lineType, int code, char *text) {
  (void)lineType;
  (void)code;
  (void)text;
}

/* The keyword after this one's lines: `previousCode` is this module's. */
static void inidlyClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
}

/* One record of this module's IbisFile list. */
static void inidlyRelease(void *record) { (void)record; }

/* Per-file state, forgotten at the start of each file. */
static void inidlyReset(void) {}

const ParseSection INIDLY_ParseSection = { inidlyBegin, inidlyClose, inidlyLine,
                                           inidlyRelease, inidlyReset };
