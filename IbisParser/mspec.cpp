/*
** mspec.cpp: [Model Spec].
*/
#include "IbisParser/mspec.h"

#include "IbisParser/cmn.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <string.h>

static const char *const mspecName[MSPEC_COUNT + 1] = { "",
                                                        "Vinh",
                                                        "Vinl",
                                                        "Vinh+",
                                                        "Vinh-",
                                                        "Vinl+",
                                                        "Vinl-",
                                                        "S_overshoot_high",
                                                        "S_overshoot_low",
                                                        "D_overshoot_high",
                                                        "D_overshoot_low",
                                                        "D_overshoot_time",
                                                        "Pulse_high",
                                                        "Pulse_low",
                                                        "Pulse_time",
                                                        "Vmeas",
                                                        "Vref",
                                                        "Cref",
                                                        "Rref",
                                                        "Rref_diff",
                                                        "Cref_diff",
                                                        "Vref_rising",
                                                        "Vref_falling",
                                                        "Cref_rising",
                                                        "Cref_falling",
                                                        "Rref_rising",
                                                        "Rref_falling",
                                                        "Vmeas_rising",
                                                        "Vmeas_falling",
                                                        "D_overshoot_amp_h",
                                                        "D_overshoot_amp_l",
                                                        "D_overshoot_area_h",
                                                        "D_overshoot_area_l" };

/* The names a file of dispatch version v knows end at this code. */
static int mspecLastCode(int version) {
  if( version < 4 ) return 15;
  return version == 4 ? 28 : 32;
}

static int mspecFind(const char *name, int version) {
  int c, last = mspecLastCode(version);
  for( c = 1; c <= last; c++ ) {
    if( strcmp(name, mspecName[c]) == 0 ) return c;
  }
  return 0;
}

/* Whether a name is out of place in a model of `type`.  The differential
** test loads follow the rule of their [Model] namesakes: they belong to
** output types, so a warning for every type would flag correct files. */
static int mspecMisplaced(int code, int type) {
  if( code <= 14 ) return !MDL_IsInputType(type);
  if( code == MSPEC_RREF_DIFF || code == MSPEC_CREF_DIFF )
    return !MDL_IsOutputType(type);
  if( code <= 28 ) {
    return type == MDL_TYPE_INPUT || type == MDL_TYPE_INPUT_ECL
        || type == MDL_TYPE_TERMINATOR || type == MDL_TYPE_SERIES
        || type == MDL_TYPE_SERIES_SWITCH;
  }
  return 0;
}

void MSPEC_Line(MspecRecord *m, char *text, int modelType) {
  RngItems items;
  RNG_TypMinMax t;
  int code;
  if( m == NULL ) return;
  RNG_SplitNamed(text, &items, NULL);
  if( items.count == 0 ) return;
  code = mspecFind(items.item[0], PARSE_GetDispatchVersion());
  if( code == 0 ) {
    MSG_ErrorCodeLine(MSGC_MSPEC_UNKNOWN_LINE);
    return;
  }
  if( mspecMisplaced(code, modelType) )
    MSG_WarningCodeLine(MSGC_MSPEC_WRONG_TYPE, mspecName[code],
                        MDL_TypeName(modelType));
  if( items.count - 1 > 3 ) {
    MSG_ErrorCodeLine(MSGC_MSPEC_LINE_ITEMS, items.count - 1, mspecName[code],
                      3);
    return;
  }
  if( !RNG_Read(items.item + 1, items.count - 1, mspecName[code], &t) ) return;
  /* As for every other triple of a model: reported, and kept. */
  if( t.state[RNG_TYP] == CMN_VALUE_NA ) MSG_ErrorCodeLine(MSGC_MDL_TYP_NA);
  m->value[code] = t;
  m->given[code] = 1;
}

int MSPEC_Has(const MspecRecord *m, int code) {
  return m && code > 0 && code <= MSPEC_COUNT && m->given[code];
}
