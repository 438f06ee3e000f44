/*
** ramp.cpp: [Ramp].
*/
#include "IbisParser/ramp.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <string.h>

#define RAMP_SRC "IbisParser/ramp"

static const char *const rampSlope[2] = { "dV/dt_r", "dV/dt_f" };

void RAMP_Free(RampRecord **slot) {
  if( *slot ) CMN_Free(slot);
}

void RAMP_Begin(RampRecord **slot) {
  RampRecord *r = NULL;
  if( *slot ) MSG_ErrorCodeLine(MSGC_RAMP_ALREADY_DEFINED);
  if( !CMN_Calloc(&r, sizeof(*r)) ) {
    MSG_BugCode(MSGC_RAMP_NO_MEMORY, RAMP_SRC, __LINE__);
    return;
  }
  RAMP_Free(slot);
  r->line = PARSE_GetLineNumber();
  *slot = r;
}

/* One number of a fraction: 1 when read (a suspicious scale is warned). */
static int rampNumber(const char *text, const char *name, const char *column,
                      const char *item, double *out) {
  int rc = CMN_ParseNumber(text, out);
  if( rc == 0 ) {
    MSG_ErrorCodeLine(MSGC_RAMP_INVALID_ITEM, name, column, item);
    return 0;
  }
  if( rc == 2 ) MSG_WarningCodeLine(MSGC_RAMP_SUSPICIOUS, name, column, item);
  return 1;
}

/* One item "dV/dT" or NA into column c of the two triples. */
static int rampFraction(char *item, const char *name, int c, RNG_TypMinMax *dv,
                        RNG_TypMinMax *dt) {
  static const char *const column[3] = { "typ", "min", "max" };
  char *slash;
  if( CMN_StrEqualNoCase(item, "NA") ) {
    if( c == RNG_TYP ) MSG_ErrorCodeLine(MSGC_RAMP_TYP_NA, name);
    dv->state[c] = dt->state[c] = CMN_VALUE_NA;
    return 1;
  }
  slash = strchr(item, '/');
  if( slash == NULL ) {
    MSG_ErrorCodeLine(MSGC_RAMP_INVALID_ITEM, name, column[c], item);
    return 0;
  }
  *slash = 0;
  if( !rampNumber(item, name, column[c], item, &dv->value[c])
      || !rampNumber(slash + 1, name, column[c], slash + 1, &dt->value[c]) ) {
    *slash = '/';
    return 0;
  }
  *slash = '/';
  if( dv->value[c] <= 0.0 ) MSG_ErrorCodeLine(MSGC_RAMP_NOT_POSITIVE, "dV");
  if( dt->value[c] <= 0.0 ) MSG_ErrorCodeLine(MSGC_RAMP_NOT_POSITIVE, "dT");
  dv->state[c] = dt->state[c] = CMN_VALUE_GIVEN;
  return 1;
}

static void rampSlopeLine(RampRecord *r, int s, RngItems *items,
                          const char *owner) {
  RNG_TypMinMax dv, dt;
  int i, n = items->count - 1;
  if( r->slopeGiven[s] ) {
    MSG_ErrorCodeLine(MSGC_RAMP_DUPLICATE, rampSlope[s], owner);
    return;
  }
  if( n < 1 || n > 3 ) {
    MSG_ErrorCodeLine(MSGC_RAMP_LINE_ITEMS, n, rampSlope[s], 3);
    return;
  }
  memset(&dv, 0, sizeof(dv));
  memset(&dt, 0, sizeof(dt));
  for( i = 0; i < n; i++ ) {
    if( !rampFraction(items->item[i + 1], rampSlope[s], i, &dv, &dt) ) return;
  }
  if( n == 1 ) MSG_ErrorCodeLine(MSGC_RAMP_NO_VALUE, "minimum", rampSlope[s]);
  if( n < 3 ) MSG_ErrorCodeLine(MSGC_RAMP_NO_VALUE, "maximum", rampSlope[s]);
  r->dv[s] = dv;
  r->dt[s] = dt;
  r->slopeGiven[s] = 1;
}

static void rampLoadLine(RampRecord *r, RngItems *items, const char *owner) {
  char *value;
  double v;
  int rc;
  if( r->rLoadGiven ) {
    MSG_ErrorCodeLine(MSGC_RAMP_DUPLICATE, "R_load", owner);
    return;
  }
  if( items->count == 2 )
    value = items->item[1];
  else {
    MSG_ErrorCodeLine(MSGC_RAMP_INVALID_LINE, "R_load");
    return;
  }
  rc = CMN_ParseNumber(value, &v);
  if( rc == 0 ) {
    MSG_ErrorCodeLine(MSGC_RAMP_INVALID_VALUE, "R_load", value);
    return;
  }
  if( rc == 2 )
    MSG_WarningCodeLine(MSGC_RAMP_SUSPICIOUS, "Ramp", "R_load", value);
  r->rLoad = v;
  r->rLoadGiven = 1;
}

void RAMP_Line(RampRecord *r, char *text, const char *owner) {
  RngItems items;
  if( r == NULL ) return;
  RNG_SplitNamed(text, &items, NULL);
  if( items.count == 0 ) return;
  if( strcmp(items.item[0], rampSlope[RAMP_RISE]) == 0 )
    rampSlopeLine(r, RAMP_RISE, &items, owner);
  else if( strcmp(items.item[0], rampSlope[RAMP_FALL]) == 0 )
    rampSlopeLine(r, RAMP_FALL, &items, owner);
  else if( CMN_StrEqualNoCase(items.item[0], "R_load") )
    rampLoadLine(r, &items, owner);
  else
    MSG_ErrorCodeLine(MSGC_RAMP_UNKNOWN_LINE);
}

void RAMP_Close(const RampRecord *r) {
  int s;
  if( r == NULL ) return;
  for( s = 0; s < 2; s++ ) {
    if( !r->slopeGiven[s] )
      MSG_ErrorCode(MSGC_RAMP_NOT_DEFINED, rampSlope[s], r->line);
  }
}
