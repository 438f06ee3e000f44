/*
** pin.cpp: [Pin] data lines and the after-file pin check.
**
** A pin line is a pin name, a signal name, a model name and, under a
** six-column header, R_pin, L_pin and C_pin in the header's order.  Pins
** are kept in file order and indexed by name in the component as they are
** read, so a repeated name and every later look-up cost one hash probe.
*/
#include "IbisParser/pin.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/cmpntidx.h"
#include "IbisParser/difpin.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/pkgmdl.h"

#include <string.h>

#define PIN_SRC "IbisParser/pin"

/* ---- model-name tests -------------------------------------------------- */

int PIN_IsPower(const PIN_Pin *pin) {
  return pin != NULL && CMN_StrEqualNoCase(pin->model, "POWER");
}

int PIN_IsGnd(const PIN_Pin *pin) {
  return pin != NULL && CMN_StrEqualNoCase(pin->model, "GND");
}

int PIN_IsRail(const PIN_Pin *pin) {
  return PIN_IsPower(pin) || PIN_IsGnd(pin);
}

int PIN_IsReservedModel(const char *model) {
  return CMN_StrEqualNoCase(model, "POWER") || CMN_StrEqualNoCase(model, "GND")
      || CMN_StrEqualNoCase(model, "NC")
      || CMN_StrEqualNoCase(model, "CIRCUITCALL");
}

/* ---- data lines --------------------------------------------------------- */

/* R_pin, L_pin or C_pin from its token: NA, a number, or reported. */
static void pinValue(const char *text, const char *column, PinValue *out) {
  double v = 0.0;
  int state = CMN_VALUE_ABSENT;
  if( !CMN_ReadTypMinMax(text, column, "Pin", &v, &state) ) return;
  out->value = v;
  out->state = state == CMN_VALUE_NA ? PIN_VALUE_NA : PIN_VALUE_GIVEN;
}

static void pinNames(PIN_Pin *pin, const CmnTokens *t) {
  unsigned limit = PARSE_GetDispatchVersion() < 4 ? 20 : PIN_MAX_SIGNAL;
  if( t->found < 1 )
    MSG_ErrorCodeLine(MSGC_PIN_NO_NAME);
  else
    CMN_CopyTruncate(pin->name, t->token[0], PIN_MAX_NAME, "Pin");
  if( t->found < 2 )
    MSG_ErrorCodeLine(MSGC_PIN_NO_SIGNAL);
  else
    CMN_CopyTruncate(pin->signal, t->token[1], limit, "Signal name");
  if( t->found < 3 )
    MSG_ErrorCodeLine(MSGC_PIN_NO_MODEL);
  else
    CMN_CopyTruncate(pin->model, t->token[2], limit, "Model name");
}

static void pinValues(PIN_Pin *pin, const CmnTokens *t, const int position[3]) {
  static const char *const column[3] = { "R_pin", "L_pin", "C_pin" };
  PinValue *slot[3] = { &pin->rPin, &pin->lPin, &pin->cPin };
  int k;
  for( k = 0; k < 3; k++ ) {
    int at = 3 + position[k];
    if( at < t->found && at < t->expected && t->token[at] )
      pinValue(t->token[at], column[k], slot[k]);
  }
}

int PIN_ReadLine(CMPNT_Component *component, char *text, const int position[3],
                 PIN_Pin **tail) {
  PIN_Pin *pin = NULL;
  CmnTokens t;
  CMN_ASSERT(component != NULL && text != NULL && tail != NULL, PIN_SRC);
  if( !CMN_Calloc(&pin, sizeof(*pin)) ) {
    MSG_ErrorCodeLine(MSGC_PIN_NO_MEMORY);
    MSG_ErrorCodeLine(MSGC_PIN_ADD_FAILED);
    return 0;
  }
  if( !CMN_SplitTokens(text, 6, 0, &t) ) {
    CMN_FreeBlock(pin);
    MSG_ErrorCodeLine(MSGC_PIN_ADD_FAILED);
    return 0;
  }
  pin->line = PARSE_GetLineNumber();
  pinNames(pin, &t);
  pinValues(pin, &t, position);
  pin->columns = t.found;
  CMN_FreeTokens(&t);
  if( pin->columns != 3 && pin->columns != 6 )
    MSG_ErrorCodeLine(MSGC_PIN_COLUMNS);
  else if( pin->columns == 6 && component->pinColumns != 6 )
    MSG_ErrorCodeLine(MSGC_PIN_SIX_COLUMNS);
  if( pin->name[0] ) {
    if( NAMEIDX_Contains(&component->pinIndex, pin->name) )
      MSG_ErrorCodeLine(MSGC_PIN_DUPLICATE, pin->name);
    else
      NAMEIDX_Add(&component->pinIndex, pin->name, pin);
  }
  if( *tail )
    (*tail)->next = pin;
  else
    component->pins = pin;
  *tail = pin;
  return 1;
}

void PIN_FreeList(PIN_Pin **list) {
  while( *list ) {
    PIN_Pin *p = *list;
    *list = p->next;
    CMN_FreeBlock(p);
  }
}

/* ---- after the file ----------------------------------------------------- */

static void pinCheckModel(const CMPNT_Component *c, const PIN_Pin *pin,
                          const CmpntIndex *ix, int version) {
  const MDL_Model *m;
  int differential;
  if( pin->model[0] == 0 || PIN_IsReservedModel(pin->model) ) return;
  m = (const MDL_Model *)NAMEIDX_Find(&ix->models, pin->model);
  differential = NAMEIDX_Contains(&ix->diffModels, pin->model)
      && !NAMEIDX_Contains(&ix->diffPins, pin->name);
  if( version <= 2 ) {
    if( m == NULL )
      MSG_ErrorCode(MSGC_PIN_MODEL_UNDEFINED, c->name, pin->model, pin->name);
    return;
  }
  if( m != NULL ) {
    if( m->type == MDL_TYPE_SERIES || m->type == MDL_TYPE_SERIES_SWITCH )
      MSG_ErrorCode(MSGC_PIN_SERIES_MODEL, c->name, pin->name, pin->model);
    if( differential )
      MSG_CautionCode(MSGC_PIN_MODEL_NOT_DIFF, pin->name, pin->model);
    return;
  }
  if( !NAMEIDX_Contains(&ix->selectors, pin->model) ) {
    MSG_ErrorCode(MSGC_PIN_MODEL_UNDEFINED, c->name, pin->model, pin->name);
    return;
  }
  if( differential )
    MSG_CautionCode(MSGC_PIN_SELECTOR_NOT_DIFF, pin->name, pin->model);
}

/* Every pin of the component's package model must be one of its pins. */
static void pinCheckPackageModel(const CMPNT_Component *c, IbisFile *file) {
  IbisItem *list = NULL;
  PKGMDL *pkg = NULL;
  unsigned i;
  if( c->packageModel[0] == 0 ) return;
  if( !IBIS_GetPackageModels(file, &list) ) return;
  if( !PKGMDL_Find(list, c->packageModel, &pkg) || pkg->pinName == NULL )
    return;
  for( i = 0; i < pkg->pinCount; i++ ) {
    if( !NAMEIDX_Contains(&c->pinIndex, pkg->pinName[i]) )
      MSG_ErrorCode(MSGC_PIN_PACKAGE_PIN_MISSING, pkg->pinName[i],
                    c->packageModel, c->name);
  }
}

void PIN_Check(const CMPNT_Component *component, const CmpntIndex *index) {
  const PIN_Pin *pin;
  int version = PARSE_GetDispatchVersion();
  CMN_ASSERT(component != NULL && index != NULL, PIN_SRC);
  if( index->file == NULL ) {
    MSG_BugCode(MSGC_PIN_CHECK_NO_IBIS, PIN_SRC, __LINE__);
    return;
  }
  for( pin = component->pins; pin; pin = pin->next ) {
    pinCheckModel(component, pin, index, version);
    if( component->pinMappings
        && !NAMEIDX_Contains(&index->mappings, pin->name) )
      MSG_ErrorCode(MSGC_PIN_NOT_MAPPED, component->name, pin->name);
  }
  pinCheckPackageModel(component, index->file);
}
