/*
** clkpin.cpp: the [Clock Pins] table of a component.
**
** A receiver that samples its data with a forwarded clock (a DDR data pin
** and its strobe) names the pin the clock arrives on: each line holds the
** clock pin in the keyword's column, a pin it clocks in the clocked_pins
** column and their relationship.
**
** While the lines are read: the header, the column count, a pin clocking
** itself and a pair listed twice.  After the file (the component's [Pin]
** list may come after the keyword): both pins against it.
**
** Only recognised: the relationship column, whose defined values lie past
** the parts of the 7.1 and 7.2 keyword trees at hand, and any rule tying
** the pins to differential pairs or to the models' clock parameters.
**
** A nested module of the component (CMPNT_Current); its tables are
** records of its own IbisFile list, each pointing at its component.
*/
#include "IbisParser/clkpin.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/pintab.h"

#include <stdio.h>
#include <string.h>

static const char clkpinClock[] = "Clock_Pins";
static const char clkpinClocked[] = "clocked_pins";

typedef struct ClkpinRow {
  struct ClkpinRow *next;
  char clock[PIN_MAX_NAME + 1];
  char clocked[PIN_MAX_NAME + 1];
  char pair[2 * PIN_MAX_NAME + 2]; /* "clock clocked", for the repeats */
} ClkpinRow;

typedef struct ClkpinTable {
  const CMPNT_Component *component;
  ClkpinRow *rows, *last; /* file order */
  NameIndex pairs;
} ClkpinTable;

static struct {
  ClkpinTable *open; /* the table the data lines go to, or null */
  ClkpinTable *last; /* the newest table, for a repeated keyword */
} clkpin;

static void clkpinRelease(void *record) {
  ClkpinTable *t = (ClkpinTable *)record;
  if( t == NULL ) return;
  if( t == clkpin.open ) clkpin.open = NULL;
  if( t == clkpin.last ) clkpin.last = NULL;
  while( t->rows ) {
    ClkpinRow *r = t->rows;
    t->rows = r->next;
    CMN_FreeBlock(r);
  }
  NAMEIDX_Free(&t->pairs);
  CMN_FreeBlock(t);
}

static void clkpinReset(void) {
  clkpin.open = NULL;
  clkpin.last = NULL;
}

/* A new table for `c` on the file's list, or null (reported). */
static ClkpinTable *clkpinNew(const CMPNT_Component *c) {
  ClkpinTable *t = NULL;
  if( !IBIS_AppendNew(SECTION_CLOCK_PINS, sizeof(*t), &t) ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, clkpinClock);
    return NULL;
  }
  t->component = c;
  return t;
}

static void clkpinKeyword(char *text) {
  static const char *const names[] = { clkpinClocked, "relationship" };
  const CMPNT_Component *c = CMPNT_Current();
  char *rest = text;
  clkpin.open = NULL;
  if( c == NULL ) return; /* the component reported the orphan keyword */
  if( clkpin.last && clkpin.last->component == c ) {
    MSG_ErrorCodeLine(MSGC_CLKPIN_DUPLICATE);
    clkpin.open = clkpin.last;
    return;
  }
  if( (clkpin.open = clkpinNew(c)) == NULL ) return;
  clkpin.last = clkpin.open;
  CMN_SkipPastBracket(&rest);
  PINTAB_Header(rest, clkpinClock, names, 2);
}

static void clkpinData(ClkpinTable *t, char *text) {
  RngItems items;
  ClkpinRow *r = NULL;
  if( !PINTAB_Line(text, clkpinClock, 3, &items) ) return;
  if( !CMN_Calloc(&r, sizeof(*r)) ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, clkpinClock);
    return;
  }
  PINTAB_CopyPin(r->clock, items.item[0], clkpinClock);
  PINTAB_CopyPin(r->clocked, items.item[1], clkpinClocked);
  snprintf(r->pair, sizeof(r->pair), "%s %s", r->clock, r->clocked);
  if( strcmp(r->clock, r->clocked) == 0 )
    MSG_ErrorCodeLine(MSGC_CLKPIN_SELF, r->clock);
  else if( NAMEIDX_Contains(&t->pairs, r->pair) )
    MSG_WarningCodeLine(MSGC_CLKPIN_PAIR_REPEATED, r->clock, r->clocked);
  if( t->last )
    t->last->next = r;
  else
    t->rows = r;
  t->last = r;
  NAMEIDX_Add(&t->pairs, r->pair, r);
}

static void clkpinLine(int lineType, int code, char *text) {
  (void)code;
  if( lineType == SECTION_LINE_KEYWORD )
    clkpinKeyword(text);
  else if( clkpin.open )
    clkpinData(clkpin.open, text);
}

static void clkpinClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
  clkpin.open = NULL;
}

void CLKPIN_CheckAll(IbisFile *file) {
  IbisItem *item;
  if( file == NULL || !IBIS_GetList(file, SECTION_CLOCK_PINS, &item) ) return;
  for( ; item; item = item->next ) {
    const ClkpinTable *t = (const ClkpinTable *)item->record;
    const ClkpinRow *r;
    /* A component without [Pin] is reported as such; its pins are not. */
    if( t == NULL || t->component->pins == NULL ) continue;
    for( r = t->rows; r; r = r->next ) {
      PINTAB_PinDeclared(t->component, clkpinClock, r->clock);
      PINTAB_PinDeclared(t->component, clkpinClocked, r->clocked);
    }
  }
}

const ParseSection CLKPIN_ParseSection = { NULL, clkpinClose, clkpinLine,
                                           clkpinRelease, clkpinReset };
