/*
** rng.cpp: the range reader.
*/
#include "IbisParser/rng.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

void RNG_Split(char *text, RngItems *out) {
  char *p = text;
  out->count = 0;
  if( p == NULL ) return;
  for( ;; ) {
    while( *p == ' ' || *p == '\t' ) p++;
    if( *p == 0 ) return;
    if( out->count < RNG_MAX_ITEMS ) out->item[out->count] = p;
    out->count++;
    while( *p && *p != ' ' && *p != '\t' ) p++;
    if( *p == 0 ) return;
    *p++ = 0;
  }
}

void RNG_SplitNamed(char *text, RngItems *out, int *equals) {
  char *p = text, *name;
  RngItems rest;
  int i, eq = 0;
  out->count = 0;
  if( equals ) *equals = 0;
  if( p == NULL ) return;
  while( *p == ' ' || *p == '\t' ) p++;
  if( *p == 0 ) return;
  name = p;
  while( *p && *p != ' ' && *p != '\t' && *p != '=' ) p++;
  if( *p == '=' ) eq = 1;
  if( *p ) *p++ = 0;
  while( *p == ' ' || *p == '\t' ) p++;
  if( !eq && *p == '=' ) {
    eq = 1;
    p++;
  }
  out->item[0] = name;
  RNG_Split(p, &rest);
  for( i = 0; i < rest.count && i + 1 < RNG_MAX_ITEMS; i++ )
    out->item[i + 1] = rest.item[i];
  out->count = rest.count + 1;
  if( equals ) *equals = eq;
}

int RNG_HasTyp(const RNG_TypMinMax *t) {
  return t->state[RNG_TYP] == CMN_VALUE_GIVEN;
}

int RNG_IsSet(const RNG_TypMinMax *t) {
  return t->state[RNG_TYP] || t->state[RNG_MIN] || t->state[RNG_MAX];
}

int RNG_Read(char *const *item, int n, const char *label, RNG_TypMinMax *out) {
  static const char *const column[3] = { "typ", "min", "max" };
  RNG_TypMinMax t;
  int i;
  if( n < 1 || n > 3 ) {
    MSG_ErrorCodeLine(MSGC_RNG_LINE_ITEMS, n, label, 3);
    return 0;
  }
  memset(&t, 0, sizeof(t));
  for( i = 0; i < n; i++ ) {
    if( !CMN_ReadTypMinMax(item[i], column[i], label, &t.value[i],
                           &t.state[i]) )
      return 0;
  }
  if( n == 1 ) MSG_ErrorCodeLine(MSGC_RNG_NO_VALUE, "minimum", label);
  if( n < 3 ) MSG_ErrorCodeLine(MSGC_RNG_NO_VALUE, "maximum", label);
  if( n == 3 && t.state[RNG_TYP] == CMN_VALUE_GIVEN
      && t.state[RNG_MIN] == CMN_VALUE_GIVEN
      && t.state[RNG_MAX] == CMN_VALUE_GIVEN ) {
    double typ = t.value[RNG_TYP];
    if( (typ < t.value[RNG_MIN] && typ < t.value[RNG_MAX])
        || (typ > t.value[RNG_MIN] && typ > t.value[RNG_MAX]) )
      MSG_WarningCodeLine(MSGC_RNG_TYP_OUTSIDE);
  }
  *out = t;
  return 1;
}

int RNG_ReadText(char *text, const char *label, RNG_TypMinMax *out) {
  RngItems items;
  RNG_Split(text, &items);
  return RNG_Read(items.item, items.count, label, out);
}
