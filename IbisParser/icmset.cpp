/*
** icmset.cpp: the interconnect model sets of an .ibs file: each set's name,
** the lines of its own keywords, and the [Interconnect Model] blocks in it,
** which it hands to the icm module (a nested keyword, section.h).
**
** Opened by [Interconnect Model Set], closed by [End Interconnect Model
** Set].  Records go in the section's IbisFile list; messages in the 5300
** block of msgcodes.h.
**
** The keywords are recognised and routed; nothing is checked of them yet.
*/
#include "IbisParser/icmset.h"

ICMSET_Set *ICMSET_Current(void) { return (ICMSET_Set *)0; }

/* [Interconnect Model Set]: a new set. */
static void icmsetBegin(void) {}

static void icmsetLine(int lineType, int code, char *text) {
  if( SECTION_NestedLine(lineType, code, text) ) return;
}

static void icmsetClose(int previousCode, int newCode) {
  SECTION_NestedClose(previousCode, newCode);
}

static void icmsetRelease(void *record) { (void)record; }

static void icmsetReset(void) {}

const ParseSection ICMSET_ParseSection = { icmsetBegin, icmsetClose, icmsetLine,
                                           icmsetRelease, icmsetReset };
