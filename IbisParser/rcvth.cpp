/*
** rcvth.cpp: [Receiver Thresholds].
*/
#include "IbisParser/rcvth.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/rng.h"

#include <string.h>

static const char *const rcvthName[RCVTH_COUNT + 1] = { "",
                                                        "Vth",
                                                        "Vth_min",
                                                        "Vth_max",
                                                        "Vinh_ac",
                                                        "Vinh_dc",
                                                        "Vinl_ac",
                                                        "Vinl_dc",
                                                        "Threshold_sensitivity",
                                                        "Reference_supply",
                                                        "Vcross_low",
                                                        "Vcross_high",
                                                        "Vdiff_ac",
                                                        "Vdiff_dc",
                                                        "Tslew_ac",
                                                        "Tdiffslew_ac" };

static const char *const rcvthSupply[] = {
  "",           "Power_clamp_ref", "Gnd_clamp_ref",
  "Pullup_ref", "Pulldown_ref",    "Ext_ref"
};

static int rcvthFind(const char *name) {
  int c;
  for( c = 1; c <= RCVTH_COUNT; c++ ) {
    if( strcmp(name, rcvthName[c]) == 0 ) return c;
  }
  return 0;
}

static int rcvthSupplyCode(const char *value) {
  int s;
  for( s = 1; s <= RCVTH_SUPPLY_EXT; s++ ) {
    if( strcmp(value, rcvthSupply[s]) == 0 ) return s;
  }
  return 0;
}

void RCVTH_Line(RcvthRecord *r, char *text) {
  RngItems items;
  int code, rc, supply;
  double v;
  if( r == NULL ) return;
  RNG_SplitNamed(text, &items, NULL);
  if( items.count == 0 ) return;
  code = rcvthFind(items.item[0]);
  if( code == 0 ) {
    MSG_ErrorCodeLine(MSGC_RCVTH_UNKNOWN_LINE);
    return;
  }
  if( r->given[code] ) {
    MSG_ErrorCodeLine(MSGC_RCVTH_DUPLICATE, rcvthName[code]);
    return;
  }
  if( items.count != 2 ) {
    MSG_ErrorCodeLine(MSGC_RCVTH_INVALID_LINE, rcvthName[code]);
    return;
  }
  if( code == RCVTH_REFERENCE_SUPPLY ) {
    if( (supply = rcvthSupplyCode(items.item[1])) == 0 ) {
      MSG_ErrorCodeLine(MSGC_RCVTH_UNKNOWN_SUPPLY, items.item[1]);
      return;
    }
    r->supply = supply;
    r->given[code] = 1;
    return;
  }
  rc = CMN_ParseNumber(items.item[1], &v);
  if( rc != 1 ) {
    MSG_ErrorCodeLine(MSGC_RCVTH_INVALID_VALUE, rcvthName[code], items.item[1]);
    return;
  }
  r->value[code] = v;
  r->given[code] = 1;
}

void RCVTH_Close(const RcvthRecord *r, const char *modelName) {
  if( r == NULL ) return;
  if( r->given[RCVTH_THRESHOLD_SENSITIVITY] && !r->supply )
    MSG_ErrorCode(MSGC_RCVTH_NO_SUPPLY, modelName);
}

void RCVTH_CheckPins(struct IbisFile *file) {
  /* The per-pin checks (single-ended and differential receivers need
  ** different thresholds) need the pins of the component section, which
  ** does not build them yet; until it does there is no pin to check. */
  (void)file;
}
