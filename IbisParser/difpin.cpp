/*
** difpin.cpp: [Diff Pin] data lines and the after-file pair check.
**
** A line pairs a pin with its inverting pin and may give the differential
** threshold and the typ/min/max delay between the two.  After the file the
** pairs are checked against the component's pins and against each other;
** the pair check indexes the pin and inv_pin names seen so far, so it is
** linear in the number of pairs.
*/
#include "IbisParser/difpin.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/nameidx.h"

#include <string.h>

#define DIFPIN_SRC "IbisParser/difpin"

/* ---- data lines --------------------------------------------------------- */

/* A value column: NA is taken as `na`. */
static void difpinValue(const char *text, const char *column, double na,
                        PinValue *out) {
  double v = 0.0;
  int isNa = 0;
  switch( CMN_GetValueOrNA(text, &v, &isNa) ) {
    case 0:
      MSG_ErrorCodeLine(MSGC_DIFPIN_BAD_VALUE, column);
      return;
    case 1:
      break;
    case 2:
      MSG_WarningCodeLine(MSGC_DIFPIN_SUSPICIOUS_VALUE, column);
      break;
    default:
      MSG_BugCodeLine(MSGC_DIFPIN_VALUE_READER, DIFPIN_SRC, __LINE__);
      return;
  }
  out->value = isNa ? na : v;
  out->state = PIN_VALUE_GIVEN;
}

static void difpinNames(DIFPIN_DiffPin *d, const CmnTokens *t) {
  if( t->found >= 1 )
    CMN_CopyTruncate(d->pin, t->token[0], DIFPIN_MAX_PIN, "Diff_Pin column");
  if( t->found >= 2 )
    CMN_CopyTruncate(d->invPin, t->token[1], DIFPIN_MAX_PIN, "inv_pin column");
  if( t->found > 6 ) MSG_ErrorCodeLine(MSGC_DIFPIN_TOO_MANY_COLUMNS);
  if( t->found < 1 ) MSG_ErrorCodeLine(MSGC_DIFPIN_NO_PIN);
  if( t->found < 2 ) MSG_ErrorCodeLine(MSGC_DIFPIN_NO_INV_PIN);
  if( t->found < 3 ) MSG_ErrorCodeLine(MSGC_DIFPIN_NO_VDIFF);
  if( t->found < 4 ) MSG_ErrorCodeLine(MSGC_DIFPIN_NO_TDELAY_TYP);
  if( d->pin[0] && strcmp(d->pin, d->invPin) == 0 )
    MSG_ErrorCodeLine(MSGC_DIFPIN_SAME_PIN);
}

static void difpinValues(DIFPIN_DiffPin *d, const CmnTokens *t) {
  if( t->found >= 3 ) difpinValue(t->token[2], "vdiff", 0.0, &d->vdiff);
  if( t->found >= 4 )
    difpinValue(t->token[3], "tdelay_typ", 0.0, &d->tdelayTyp);
  if( t->found >= 5 )
    difpinValue(t->token[4], "tdelay_min", 0.0, &d->tdelayMin);
  if( t->found >= 6 )
    difpinValue(t->token[5], "tdelay_max", d->tdelayTyp.value, &d->tdelayMax);
  if( d->tdelayTyp.state && d->tdelayMin.state && d->tdelayMax.state ) {
    double typ = d->tdelayTyp.value;
    double lo = d->tdelayMin.value, hi = d->tdelayMax.value;
    if( (typ < lo && typ < hi) || (typ > lo && typ > hi) )
      MSG_WarningCodeLine(MSGC_DIFPIN_TYP_OUTSIDE);
  }
}

int DIFPIN_ReadLine(CMPNT_Component *component, char *text,
                    DIFPIN_DiffPin **tail) {
  DIFPIN_DiffPin *d = NULL;
  CmnTokens t;
  CMN_ASSERT(component && text && tail, DIFPIN_SRC);
  if( !CMN_Calloc(&d, sizeof(*d)) ) {
    MSG_ErrorCodeLine(MSGC_DIFPIN_NO_MEMORY);
    return 0;
  }
  if( !CMN_SplitTokens(text, 6, 0, &t) ) {
    CMN_FreeBlock(d);
    return 0;
  }
  difpinNames(d, &t);
  difpinValues(d, &t);
  d->columns = t.found;
  CMN_FreeTokens(&t);
  if( d->columns != 4 && d->columns != 6 )
    MSG_ErrorCodeLine(MSGC_DIFPIN_COLUMNS);
  else if( d->columns == 6 && component->diffPinColumns == 4 )
    MSG_ErrorCodeLine(MSGC_DIFPIN_SIX_COLUMNS);
  if( *tail )
    (*tail)->next = d;
  else
    component->diffPins = d;
  *tail = d;
  return 1;
}

void DIFPIN_FreeList(DIFPIN_DiffPin **list) {
  while( *list ) {
    DIFPIN_DiffPin *d = *list;
    *list = d->next;
    CMN_FreeBlock(d);
  }
}

/* ---- after the file ----------------------------------------------------- */

/* Whether an earlier entry has `name` in the column `index` holds. */
static int difpinSeen(const NameIndex *index, const char *name) {
  if( name[0] == 0 ) return 0; /* a missing column, reported at its line */
  return NAMEIDX_Contains(index, name);
}

static void difpinRepeat(int code, int error, const char *component,
                         const char *pin, int seen) {
  if( !seen ) return;
  if( error )
    MSG_ErrorCode(code, component, pin);
  else
    MSG_WarningCode(code, component, pin);
}

/* Every later entry against the earlier ones: one message per entry and
** rule it breaks, however many earlier entries it clashes with, so the
** messages grow with the entries and not with their square.  The names
** seen are kept in two indexes, so the walk is linear in the entries. */
static void difpinPairs(const CMPNT_Component *component) {
  const DIFPIN_DiffPin *d;
  NameIndex pins = { NULL, 0, 0 }, invs = { NULL, 0, 0 };
  const char *name = component->name;
  for( d = component->diffPins; d; d = d->next ) {
    difpinRepeat(MSGC_DIFPIN_PIN_NOT_UNIQUE, 0, name, d->pin,
                 difpinSeen(&pins, d->pin));
    difpinRepeat(MSGC_DIFPIN_INV_IN_USE, 1, name, d->invPin,
                 difpinSeen(&pins, d->invPin));
    difpinRepeat(MSGC_DIFPIN_PIN_IN_USE, 1, name, d->pin,
                 difpinSeen(&invs, d->pin));
    difpinRepeat(MSGC_DIFPIN_INV_NOT_UNIQUE, 0, name, d->invPin,
                 difpinSeen(&invs, d->invPin));
    if( d->pin[0] ) NAMEIDX_Add(&pins, d->pin, (void *)d);
    if( d->invPin[0] ) NAMEIDX_Add(&invs, d->invPin, (void *)d);
  }
  NAMEIDX_Free(&pins);
  NAMEIDX_Free(&invs);
}

void DIFPIN_Check(const CMPNT_Component *component) {
  const DIFPIN_DiffPin *d;
  CMN_ASSERT(component != NULL, DIFPIN_SRC);
  if( component->pins ) {
    for( d = component->diffPins; d; d = d->next ) {
      /* A missing column was reported at its line. */
      if( d->pin[0] && !CMPNT_FindPin(component, d->pin) )
        MSG_ErrorCode(MSGC_DIFPIN_PIN_UNDECLARED, component->name, d->pin);
      if( d->invPin[0] && !CMPNT_FindPin(component, d->invPin) )
        MSG_ErrorCode(MSGC_DIFPIN_INV_UNDECLARED, component->name, d->invPin);
    }
  }
  difpinPairs(component);
}
