/*
** pinmpg.cpp: [Pin Mapping] data lines and the after-file mapping check.
**
** Each line names a pin and the buses its pullup, pulldown, clamps and
** external reference connect to.  After the file every bus a signal pin
** uses must reach at least one POWER or GND pin through the same column of
** another line.  The check indexes, per label column, the first rail-pin
** line of each bus, so it stays linear in the mapping however many pins
** share a bus.
*/
#include "IbisParser/pinmpg.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/cmpntidx.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <string.h>

#define PINMPG_SRC "IbisParser/pinmpg"

int PINMPG_IsOpen(const char *label) {
  return label[0] == 0 || CMN_StrEqualNoCase(label, "NC");
}

/* ---- data lines --------------------------------------------------------- */

static void pinmpgColumns(const PINMPG_PinMapping *e, int headerColumns) {
  int v4 = PARSE_GetDispatchVersion() >= 4;
  int n = e->columns;
  if( v4 && n != 3 && n != 5 && n != 6 )
    MSG_ErrorCodeLine(MSGC_PINMPG_COLUMNS_V4);
  else if( !v4 && n != 3 && n != 5 )
    MSG_ErrorCodeLine(MSGC_PINMPG_COLUMNS);
  else if( n == 5 && headerColumns == 3 )
    MSG_ErrorCodeLine(MSGC_PINMPG_FIVE_COLUMNS);
  else if( v4 && n == 6 && headerColumns != 6 )
    MSG_ErrorCodeLine(MSGC_PINMPG_SIX_COLUMNS);
}

static void pinmpgFields(PINMPG_PinMapping *e, const CmnTokens *t) {
  int k;
  if( t->found >= 1 )
    CMN_CopyTruncate(e->pin, t->token[0], PINMPG_MAX_PIN, "Pin");
  for( k = 0; k < PINMPG_LABEL_COUNT && k + 1 < t->found; k++ ) {
    const char *label = t->token[k + 1];
    if( CMN_StrEqualNoCase(label, "NA") )
      MSG_ErrorCodeLine(MSGC_PINMPG_NA_LABEL, label);
    CMN_CopyTruncate(e->label[k], label, PINMPG_MAX_LABEL, "Pin_Mapping");
  }
  if( t->found > 1 + PINMPG_LABEL_COUNT )
    MSG_ErrorCodeLine(MSGC_PINMPG_EXTRA_COLUMNS);
  if( t->found < 1 ) MSG_ErrorCodeLine(MSGC_PINMPG_NO_PIN);
  if( t->found < 2 ) MSG_ErrorCodeLine(MSGC_PINMPG_NO_PULLDOWN);
  if( t->found < 3 ) MSG_ErrorCodeLine(MSGC_PINMPG_NO_PULLUP);
}

int PINMPG_ReadLine(CMPNT_Component *component, char *text, NameIndex *mapped,
                    PINMPG_PinMapping **tail) {
  PINMPG_PinMapping *e = NULL;
  CmnTokens t;
  CMN_ASSERT(component && text && mapped && tail, PINMPG_SRC);
  if( !CMN_Calloc(&e, sizeof(*e)) ) {
    MSG_ErrorCodeLine(MSGC_PINMPG_NO_MEMORY);
    return 0;
  }
  if( !CMN_SplitTokens(text, 1 + PINMPG_LABEL_COUNT, 0, &t) ) {
    CMN_FreeBlock(e);
    return 0;
  }
  pinmpgFields(e, &t);
  e->columns = t.found;
  CMN_FreeTokens(&t);
  pinmpgColumns(e, component->pinMappingColumns);
  if( e->pin[0] ) {
    if( NAMEIDX_Contains(mapped, e->pin) )
      MSG_ErrorCodeLine(MSGC_PINMPG_DUPLICATE);
    else
      NAMEIDX_Add(mapped, e->pin, e);
  }
  if( *tail )
    (*tail)->next = e;
  else
    component->pinMappings = e;
  *tail = e;
  return 1;
}

void PINMPG_FreeList(PINMPG_PinMapping **list) {
  while( *list ) {
    PINMPG_PinMapping *e = *list;
    *list = e->next;
    CMN_FreeBlock(e);
  }
}

/* ---- after the file ----------------------------------------------------- */

/* The first line of each bus, per column, whose pin is a rail pin; and the
** pullup buses of any line. */
typedef struct PinmpgRails {
  NameIndex rail[PINMPG_LABEL_COUNT];
  NameIndex anyPullup;
} PinmpgRails;

static const PIN_Pin *pinmpgPin(const CMPNT_Component *c,
                                const PINMPG_PinMapping *e) {
  return CMPNT_FindPin(c, e->pin);
}

static void pinmpgIndexRails(const CMPNT_Component *c, PinmpgRails *r) {
  const PINMPG_PinMapping *e;
  int k;
  for( e = c->pinMappings; e; e = e->next ) {
    int rail = PIN_IsRail(pinmpgPin(c, e));
    if( !PINMPG_IsOpen(e->label[PINMPG_PULLUP]) )
      NAMEIDX_Add(&r->anyPullup, e->label[PINMPG_PULLUP], (void *)e);
    if( !rail ) continue;
    for( k = 0; k < PINMPG_LABEL_COUNT; k++ ) {
      if( !PINMPG_IsOpen(e->label[k]) )
        NAMEIDX_Add(&r->rail[k], e->label[k], (void *)e);
    }
  }
}

static void pinmpgFreeRails(PinmpgRails *r) {
  int k;
  for( k = 0; k < PINMPG_LABEL_COUNT; k++ ) NAMEIDX_Free(&r->rail[k]);
  NAMEIDX_Free(&r->anyPullup);
}

/* POWER, GND and NC pins should connect only where their kind does. */
static void pinmpgRailEntries(const CMPNT_Component *c, const CmpntIndex *ix,
                              int v4) {
  const PIN_Pin *pin;
  for( pin = c->pins; pin; pin = pin->next ) {
    const PINMPG_PinMapping *e =
        (const PINMPG_PinMapping *)NAMEIDX_Find(&ix->mappings, pin->name);
    if( e == NULL ) continue;
    if( PIN_IsPower(pin) ) {
      if( PINMPG_IsOpen(e->label[PINMPG_PULLUP])
          || !PINMPG_IsOpen(e->label[PINMPG_PULLDOWN])
          || !PINMPG_IsOpen(e->label[PINMPG_GND_CLAMP])
          || !PINMPG_IsOpen(e->label[PINMPG_POWER_CLAMP]) ) {
        if( v4 )
          MSG_WarningCode(MSGC_PINMPG_POWER_REFS_COMPONENT, c->name, pin->name);
        else
          MSG_WarningCode(MSGC_PINMPG_POWER_REFS, pin->name);
      }
    } else if( PIN_IsGnd(pin) ) {
      if( PINMPG_IsOpen(e->label[PINMPG_PULLDOWN])
          || !PINMPG_IsOpen(e->label[PINMPG_PULLUP])
          || !PINMPG_IsOpen(e->label[PINMPG_GND_CLAMP])
          || !PINMPG_IsOpen(e->label[PINMPG_POWER_CLAMP]) ) {
        if( v4 )
          MSG_WarningCode(MSGC_PINMPG_GND_REFS_COMPONENT, c->name, pin->name);
        else
          MSG_WarningCode(MSGC_PINMPG_GND_REFS, pin->name);
      }
    } else if( CMN_StrEqualNoCase(pin->model, "NC") ) {
      int k, used = 0;
      for( k = 0; k < PINMPG_LABEL_COUNT; k++ )
        used |= !PINMPG_IsOpen(e->label[k]);
      if( used && v4 )
        MSG_WarningCode(MSGC_PINMPG_NC_REFS_COMPONENT, c->name, pin->name);
      else if( used )
        MSG_WarningCode(MSGC_PINMPG_NC_REFS, pin->name);
    }
  }
}

typedef struct PinmpgRule {
  int column;   /* the label checked */
  int compare;  /* the other lines' column it must meet */
  int fallback; /* a second column, or -1 */
  int power;    /* 1: POWER expected, 0: GND */
  int error, warning;
} PinmpgRule;

static const PinmpgRule pinmpgRules[] = {
  { PINMPG_PULLUP, PINMPG_PULLUP, -1, 1, MSGC_PINMPG_PULLUP_NO_RAIL,
    MSGC_PINMPG_PULLUP_NOT_POWER },
  { PINMPG_GND_CLAMP, PINMPG_PULLDOWN, -1, 0, MSGC_PINMPG_GND_CLAMP_NO_RAIL,
    MSGC_PINMPG_GND_CLAMP_NOT_GND },
  { PINMPG_POWER_CLAMP, PINMPG_PULLUP, -1, 1, MSGC_PINMPG_POWER_CLAMP_NO_RAIL,
    MSGC_PINMPG_POWER_CLAMP_NOT_POWER },
  { PINMPG_EXT, PINMPG_PULLUP, PINMPG_PULLDOWN, 1, MSGC_PINMPG_EXT_NO_RAIL,
    MSGC_PINMPG_EXT_NOT_POWER },
};

/* One label of a signal pin's line against the rail lines. */
static void pinmpgReach(const CMPNT_Component *c, const PINMPG_PinMapping *e,
                        const PinmpgRails *r, const PinmpgRule *rule) {
  const char *label = e->label[rule->column];
  const PINMPG_PinMapping *to;
  const PIN_Pin *pin;
  to = (const PINMPG_PinMapping *)NAMEIDX_Find(&r->rail[rule->compare], label);
  if( to == NULL && rule->fallback >= 0 )
    to = (const PINMPG_PinMapping *)NAMEIDX_Find(&r->rail[rule->fallback],
                                                 label);
  if( to == NULL ) {
    MSG_ErrorCode(rule->error, c->name, label);
    return;
  }
  pin = pinmpgPin(c, to);
  if( rule->power ? !PIN_IsPower(pin) : !PIN_IsGnd(pin) )
    MSG_WarningCode(rule->warning, c->name, e->pin);
}

static void pinmpgPulldown(const CMPNT_Component *c, const PINMPG_PinMapping *e,
                           const PinmpgRails *r, int v4) {
  const char *label = e->label[PINMPG_PULLDOWN];
  const PINMPG_PinMapping *to;
  if( PINMPG_IsOpen(label) ) return;
  if( PIN_IsRail(pinmpgPin(c, e)) ) {
    if( !NAMEIDX_Contains(&r->anyPullup, label) ) return;
    if( v4 )
      MSG_WarningCode(MSGC_PINMPG_PULLDOWN_AS_PULLUP_COMPONENT, c->name, label);
    else
      MSG_WarningCode(MSGC_PINMPG_PULLDOWN_AS_PULLUP, label);
    return;
  }
  to =
      (const PINMPG_PinMapping *)NAMEIDX_Find(&r->rail[PINMPG_PULLDOWN], label);
  if( to == NULL )
    MSG_ErrorCode(MSGC_PINMPG_PULLDOWN_NO_RAIL, c->name, label);
  else if( !PIN_IsGnd(pinmpgPin(c, to)) )
    MSG_WarningCode(MSGC_PINMPG_PULLDOWN_NOT_GND, c->name, e->pin);
}

void PINMPG_Check(const CMPNT_Component *component, const CmpntIndex *index) {
  const PINMPG_PinMapping *e;
  PinmpgRails rails;
  int v4 = PARSE_GetDispatchVersion() >= 4;
  size_t i;
  CMN_ASSERT(component != NULL && index != NULL, PINMPG_SRC);
  memset(&rails, 0, sizeof(rails));
  pinmpgRailEntries(component, index, v4);
  for( e = component->pinMappings; e; e = e->next ) {
    if( CMPNT_FindPin(component, e->pin) == NULL )
      MSG_ErrorCode(MSGC_PINMPG_UNDECLARED_PIN, component->name, e->pin);
  }
  pinmpgIndexRails(component, &rails);
  for( e = component->pinMappings; e; e = e->next )
    pinmpgPulldown(component, e, &rails, v4);
  for( i = 0; i < sizeof(pinmpgRules) / sizeof(pinmpgRules[0]); i++ ) {
    const PinmpgRule *rule = &pinmpgRules[i];
    if( rule->column == PINMPG_EXT && !v4 ) continue;
    for( e = component->pinMappings; e; e = e->next ) {
      if( PINMPG_IsOpen(e->label[rule->column]) ) continue;
      if( PIN_IsRail(pinmpgPin(component, e)) ) continue;
      pinmpgReach(component, e, &rails, rule);
    }
  }
  pinmpgFreeRails(&rails);
}
