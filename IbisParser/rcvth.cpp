/*
** rcvth.cpp: [Receiver Thresholds].
*/
#include "IbisParser/rcvth.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/difpin.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
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

/* The thresholds each kind of receiver needs, with the warning for each
** one missing. */
static const int rcvthDiffNeeds[][2] = {
  { RCVTH_VCROSS_LOW, MSGC_RCVTH_DIFF_VCROSS_LOW },
  { RCVTH_VCROSS_HIGH, MSGC_RCVTH_DIFF_VCROSS_HIGH },
  { RCVTH_VDIFF_AC, MSGC_RCVTH_DIFF_VDIFF_AC },
  { RCVTH_VDIFF_DC, MSGC_RCVTH_DIFF_VDIFF_DC },
  { RCVTH_TDIFFSLEW_AC, MSGC_RCVTH_DIFF_TDIFFSLEW_AC },
};
static const int rcvthSingleNeeds[][2] = {
  { RCVTH_VTH, MSGC_RCVTH_SE_VTH },
  { RCVTH_VINH_AC, MSGC_RCVTH_SE_VINH_AC },
  { RCVTH_VINL_AC, MSGC_RCVTH_SE_VINL_AC },
  { RCVTH_VINH_DC, MSGC_RCVTH_SE_VINH_DC },
  { RCVTH_VINL_DC, MSGC_RCVTH_SE_VINL_DC },
  { RCVTH_TSLEW_AC, MSGC_RCVTH_SE_TSLEW_AC },
};

/* A pin's model, or every model of the selector it names, as used. */
static void rcvthUse(NameIndex *used, const NameIndex *selectors,
                     const char *model) {
  const MSEL_Selector *s;
  const MselEntry *e;
  if( model[0] == 0 || NAMEIDX_Contains(used, model) ) return;
  NAMEIDX_Add(used, model, (void *)model);
  s = (const MSEL_Selector *)NAMEIDX_Find(selectors, model);
  if( s == NULL ) return;
  for( e = s->first; e; e = e->next )
    NAMEIDX_Add(used, e->name, (void *)e->name);
}

/* The models used by a pin that is in no differential pair. */
static void rcvthSingleEnded(IbisFile *file, NameIndex *used) {
  NameIndex selectors = { NULL, 0, 0 };
  IbisItem *item = NULL;
  if( IBIS_GetModelSelectors(file, &item) ) {
    for( ; item; item = item->next ) {
      MSEL_Selector *s = (MSEL_Selector *)item->record;
      if( s ) NAMEIDX_Add(&selectors, s->name, s);
    }
  }
  IBIS_GetComponents(file, &item);
  for( ; item; item = item->next ) {
    const CMPNT_Component *c = (const CMPNT_Component *)item->record;
    NameIndex paired = { NULL, 0, 0 };
    const DIFPIN_DiffPin *d;
    const PIN_Pin *p;
    if( c == NULL ) continue;
    for( d = c->diffPins; d; d = d->next ) {
      NAMEIDX_Add(&paired, d->pin, (void *)d);
      NAMEIDX_Add(&paired, d->invPin, (void *)d);
    }
    for( p = c->pins; p; p = p->next ) {
      if( !NAMEIDX_Contains(&paired, p->name) )
        rcvthUse(used, &selectors, p->model);
    }
    NAMEIDX_Free(&paired);
  }
  NAMEIDX_Free(&selectors);
}

void RCVTH_CheckPins(struct IbisFile *file) {
  NameIndex used = { NULL, 0, 0 };
  IbisItem *item = NULL;
  size_t i;
  if( file == NULL ) return;
  /* Without components no pin uses any model. */
  if( !IBIS_GetComponents(file, &item) || !IBIS_GetModels(file, &item) ) return;
  rcvthSingleEnded(file, &used);
  for( ; item; item = item->next ) {
    MDL_Model *m = (MDL_Model *)item->record;
    PIN_Pin *pin = NULL;
    const RcvthRecord *r;
    if( m == NULL || (r = m->thresholds) == NULL ) continue;
    /* Each model once: the first differential pin that uses it stands for
    ** them all, and the single-ended warnings name no pin. */
    if( CMPNT_FindDiffPin(m, &pin) ) {
      for( i = 0; i < sizeof(rcvthDiffNeeds) / sizeof(rcvthDiffNeeds[0]); i++ )
        if( !r->given[rcvthDiffNeeds[i][0]] )
          MSG_WarningCode(rcvthDiffNeeds[i][1], m->name, pin->name);
    }
    if( NAMEIDX_Contains(&used, m->name) ) {
      for( i = 0; i < sizeof(rcvthSingleNeeds) / sizeof(rcvthSingleNeeds[0]);
           i++ )
        if( !r->given[rcvthSingleNeeds[i][0]] )
          MSG_WarningCode(rcvthSingleNeeds[i][1], m->name);
    }
  }
  NAMEIDX_Free(&used);
}
