/*
** rptpin.cpp: the [Repeater Pin] table of a component.
**
** A repeater (a redriver or retimer) receives a differential signal and
** drives it out again; each line names the receiver's pin in the keyword's
** column and, in the tx_non_inv_pin column, the non-inverting pin of the
** transmitter that repeats it.  Both columns name the non-inverting pin of
** a [Diff Pin] pair: the second by its column name, the first as its
** receiving counterpart (BIRD 131, the first proposal of the keyword,
** says so of both).
**
** While the lines are read: the header, the column count, a pin paired
** with itself, a pin used as a receiver in one line and as a transmitter
** in another (one pin cannot be both ends of a repeater), and pins listed
** twice in one column.  After the file (the component's [Pin] and [Diff
** Pin] lists may come after the keyword): each pin against both lists.
**
** Only recognised: that the receiver's model is a receiver and the
** transmitter's a driver, and any rule on their [Algorithmic Model]s; the
** accepted text of the keyword, which would settle them, is not among the
** sources at hand.
**
** A nested module of the component (CMPNT_Current); its tables are
** records of its own IbisFile list, each pointing at its component.
*/
#include "IbisParser/rptpin.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/difpin.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/pintab.h"

#include <string.h>

static const char rptpinRx[] = "Repeater_Pin";
static const char rptpinTx[] = "tx_non_inv_pin";

typedef struct RptpinRow {
  struct RptpinRow *next;
  char rx[PIN_MAX_NAME + 1];
  char tx[PIN_MAX_NAME + 1];
} RptpinRow;

typedef struct RptpinTable {
  const CMPNT_Component *component;
  RptpinRow *rows, *last; /* file order */
  NameIndex rx, tx;       /* the names of each column, for the repeats */
} RptpinTable;

static struct {
  RptpinTable *open; /* the table the data lines go to, or null */
  RptpinTable *last; /* the newest table, for a repeated keyword */
} rptpin;

static void rptpinRelease(void *record) {
  RptpinTable *t = (RptpinTable *)record;
  if( t == NULL ) return;
  if( t == rptpin.open ) rptpin.open = NULL;
  if( t == rptpin.last ) rptpin.last = NULL;
  while( t->rows ) {
    RptpinRow *r = t->rows;
    t->rows = r->next;
    CMN_FreeBlock(r);
  }
  NAMEIDX_Free(&t->rx);
  NAMEIDX_Free(&t->tx);
  CMN_FreeBlock(t);
}

static void rptpinReset(void) {
  rptpin.open = NULL;
  rptpin.last = NULL;
}

/* A new table for `c` on the file's list, or null (reported). */
static RptpinTable *rptpinNew(const CMPNT_Component *c) {
  RptpinTable *t = NULL;
  if( !IBIS_AppendNew(SECTION_REPEATER_PIN, sizeof(*t), &t) ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, rptpinRx);
    return NULL;
  }
  t->component = c;
  return t;
}

static void rptpinKeyword(char *text) {
  static const char *const names[] = { rptpinTx };
  const CMPNT_Component *c = CMPNT_Current();
  char *rest = text;
  rptpin.open = NULL;
  if( c == NULL ) return; /* the component reported the orphan keyword */
  if( rptpin.last && rptpin.last->component == c ) {
    /* Like a repeated [Diff Pin]: reported, its lines still read. */
    MSG_ErrorCodeLine(MSGC_RPTPIN_DUPLICATE);
    rptpin.open = rptpin.last;
    return;
  }
  if( (rptpin.open = rptpinNew(c)) == NULL ) return;
  rptpin.last = rptpin.open;
  CMN_SkipPastBracket(&rest);
  PINTAB_Header(rest, rptpinRx, names, 1);
}

/* The checks of one pair against the pairs before it; 0 for a pin paired
** with itself, which then takes no part in the later pairs' checks. */
static int rptpinPairChecks(const RptpinTable *t, const RptpinRow *r) {
  if( strcmp(r->rx, r->tx) == 0 ) {
    MSG_ErrorCodeLine(MSGC_RPTPIN_SAME_PIN, r->rx);
    return 0;
  }
  if( NAMEIDX_Contains(&t->tx, r->rx) )
    MSG_ErrorCodeLine(MSGC_RPTPIN_BOTH_ROLES, r->rx);
  if( NAMEIDX_Contains(&t->rx, r->tx) )
    MSG_ErrorCodeLine(MSGC_RPTPIN_BOTH_ROLES, r->tx);
  if( NAMEIDX_Contains(&t->rx, r->rx) )
    MSG_WarningCodeLine(MSGC_RPTPIN_NOT_UNIQUE, rptpinRx, r->rx);
  if( NAMEIDX_Contains(&t->tx, r->tx) )
    MSG_WarningCodeLine(MSGC_RPTPIN_NOT_UNIQUE, rptpinTx, r->tx);
  return 1;
}

static void rptpinData(RptpinTable *t, char *text) {
  RngItems items;
  RptpinRow *r = NULL;
  if( !PINTAB_Line(text, rptpinRx, 2, &items) ) return;
  if( !CMN_Calloc(&r, sizeof(*r)) ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, rptpinRx);
    return;
  }
  PINTAB_CopyPin(r->rx, items.item[0], rptpinRx);
  PINTAB_CopyPin(r->tx, items.item[1], rptpinTx);
  if( rptpinPairChecks(t, r) ) {
    NAMEIDX_Add(&t->rx, r->rx, r);
    NAMEIDX_Add(&t->tx, r->tx, r);
  }
  if( t->last )
    t->last->next = r;
  else
    t->rows = r;
  t->last = r;
}

static void rptpinLine(int lineType, int code, char *text) {
  (void)code;
  if( lineType == SECTION_LINE_KEYWORD )
    rptpinKeyword(text);
  else if( rptpin.open )
    rptpinData(rptpin.open, text);
}

static void rptpinClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
  rptpin.open = NULL;
}

/* One pin of a pair: declared, and the non-inverting pin of a pair. */
static void rptpinCheckPin(const RptpinTable *t, const NameIndex *nonInverting,
                           const char *column, const char *pin) {
  if( !PINTAB_PinDeclared(t->component, column, pin) ) return;
  if( !NAMEIDX_Contains(nonInverting, pin) )
    MSG_ErrorCode(MSGC_RPTPIN_NOT_NON_INVERTING, t->component->name, column,
                  pin);
}

static void rptpinCheckTable(const RptpinTable *t) {
  const CMPNT_Component *c = t->component;
  const DIFPIN_DiffPin *d;
  const RptpinRow *r;
  NameIndex nonInverting = { NULL, 0, 0 };
  /* A component without [Pin] is reported as such; its pairs are not. */
  if( c->pins == NULL ) return;
  for( d = c->diffPins; d; d = d->next ) {
    if( d->pin[0] ) NAMEIDX_Add(&nonInverting, d->pin, (void *)d);
  }
  for( r = t->rows; r; r = r->next ) {
    rptpinCheckPin(t, &nonInverting, rptpinRx, r->rx);
    rptpinCheckPin(t, &nonInverting, rptpinTx, r->tx);
  }
  NAMEIDX_Free(&nonInverting);
}

void RPTPIN_CheckAll(IbisFile *file) {
  IbisItem *item;
  if( file == NULL || !IBIS_GetList(file, SECTION_REPEATER_PIN, &item) ) return;
  for( ; item; item = item->next ) {
    if( item->record ) rptpinCheckTable((const RptpinTable *)item->record);
  }
}

const ParseSection RPTPIN_ParseSection = { NULL, rptpinClose, rptpinLine,
                                           rptpinRelease, rptpinReset };
