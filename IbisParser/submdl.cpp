/*
** submdl.cpp: the [Submodel] section.
**
** One submodel is open at a time.  A keyword line of the submodel first
** closes the section of the keyword before it (SUBMDL_EndSection), then
** starts its own; data lines go to the module of the current keyword.  The
** tables, ramp and waveforms are read by the model section's routines.
** The submodel ends at the next [Submodel] or at any keyword that does not
** belong to a submodel, when the rules of its Submodel_type are checked.
*/
#include "IbisParser/submdl.h"

#include "IbisParser/cmn.h"
#include "IbisParser/crv.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/strlist.h"

#include <string.h>

#define SUBMDL_SRC "IbisParser/submdl"

/* Per-file state. */
static SUBMDL_Submodel *subOpen; /* the current submodel, or null */
static int subKeyword;           /* the keyword whose data lines arrive */
static Waveform *subWave;        /* the waveform or pulse table being read */
static NameCount *subNames;      /* submodel names of the file */
static int subOtherSeen; /* a keyword that [Submodel Spec] must precede */

static const char *const subTypeName[] = { "Dynamic_clamp", "Bus_hold",
                                           "Fall_back" };

static const char *const subTableName[SUBMDL_TABLE_COUNT] = {
  "Pulldown", "Pullup", "GND Clamp", "POWER Clamp"
};

/* ---- records ----------------------------------------------------------- */

void SUBMDL_Release(void *record) {
  SUBMDL_Submodel *s = (SUBMDL_Submodel *)record;
  int i;
  if( s == NULL ) return;
  if( s == subOpen ) {
    subOpen = NULL;
    subWave = NULL;
  }
  SMSPEC_Free(&s->spec);
  for( i = 0; i < SUBMDL_TABLE_COUNT; i++ ) RNGP_Free(&s->table[i]);
  RAMP_Free(&s->ramp);
  WVFRM_FreeList(&s->rising);
  WVFRM_FreeList(&s->falling);
  WVFRM_Free(&s->gndPulse);
  WVFRM_Free(&s->powerPulse);
  CMN_FreeBlock(s);
}

void SUBMDL_Reset(void) {
  subOpen = NULL;
  subKeyword = KW_NOT_KEY;
  subWave = NULL;
  STRING_CountFree(&subNames);
  subOtherSeen = 0;
}

void SUBMDL_Begin(void) {
  IbisFile *file;
  SUBMDL_Submodel *s = NULL;
  subOpen = NULL;
  subWave = NULL;
  subOtherSeen = 0;
  if( !IBIS_Current(&file) ) {
    MSG_BugCode(MSGC_SUBMDL_NO_IBIS);
    return;
  }
  if( !CMN_Calloc(&s, sizeof(*s)) ) {
    MSG_BugCode(MSGC_SUBMDL_NO_MEMORY, SUBMDL_SRC, __LINE__);
    return;
  }
  if( !IBIS_Append(file, SECTION_SUBMODEL, s) ) {
    MSG_BugCode(MSGC_SUBMDL_NO_MEMORY, SUBMDL_SRC, __LINE__);
    CMN_FreeBlock(s);
    return;
  }
  s->line = PARSE_GetLineNumber();
  subOpen = s;
  subKeyword = KW_SUBMODEL;
}

/* ---- the name line and Submodel_type ----------------------------------- */

static void subNameLine(SUBMDL_Submodel *s, char *rest) {
  RngItems items;
  size_t len;
  RNG_Split(rest, &items);
  if( items.count == 0 ) {
    MSG_ErrorCodeLine(MSGC_SUBMDL_MISSING_NAME);
    return;
  }
  if( items.count != 1 )
    MSG_ErrorCodeLine(MSGC_SUBMDL_KEYWORD_ITEMS, items.count, "Sub Model", 1);
  len = strlen(items.item[0]);
  if( len > SUBMDL_MAX_NAME ) {
    MSG_ErrorCodeLine(MSGC_SUBMDL_NAME_TOO_LONG, SUBMDL_MAX_NAME);
    len = SUBMDL_MAX_NAME;
  }
  memcpy(s->name, items.item[0], len);
  s->name[len] = 0;
  if( CMN_IsReservedWord(s->name) )
    MSG_ErrorCodeLine(MSGC_SUBMDL_RESERVED_NAME, s->name);
  else if( STRING_CountAdd(&subNames, s->name) > 1 )
    MSG_ErrorCodeLine(MSGC_SUBMDL_NAME_REPEATED, s->name);
}

/* The Submodel_type of `value`: Fall_back only from version 4 on. */
static int subLookUpType(const char *value) {
  int count = PARSE_GetDispatchVersion() >= 4 ? 3 : 2, i;
  for( i = 0; i < count; i++ ) {
    if( strcmp(value, subTypeName[i]) == 0 )
      return SUBMDL_TYPE_DYNAMIC_CLAMP + i;
  }
  for( i = 0; i < count; i++ ) {
    if( CMN_StrEqualNoCase(value, subTypeName[i]) ) {
      MSG_ErrorCodeLine(MSGC_SUBMDL_INVALID_TRY, "Submodel_type", value,
                        subTypeName[i]);
      return SUBMDL_TYPE_NONE;
    }
  }
  MSG_ErrorCodeLine(MSGC_SUBMDL_INVALID_SETTING, "Submodel_type", value);
  return SUBMDL_TYPE_NONE;
}

static void subSubparameter(SUBMDL_Submodel *s, char *text) {
  RngItems items;
  RNG_SplitNamed(text, &items, NULL);
  if( items.count == 0 ) return;
  if( strcmp(items.item[0], "Submodel_type") != 0 ) {
    MSG_ErrorCodeLine(MSGC_SUBMDL_UNKNOWN_LINE);
    return;
  }
  if( s->type != SUBMDL_TYPE_UNSET ) {
    MSG_ErrorCodeLine(MSGC_SUBMDL_ALREADY_DEFINED_FOR, "Submodel_type",
                      s->name);
    return;
  }
  if( items.count < 2 ) {
    MSG_ErrorCodeLine(MSGC_SUBMDL_MISSING_SETTING, "Submodel_type");
    return;
  }
  if( items.count > 2 ) {
    MSG_ErrorCodeLine(MSGC_SUBMDL_INVALID_LINE, "Submodel_type");
    return;
  }
  s->type = subLookUpType(items.item[1]);
}

/* ---- keywords and data lines ------------------------------------------- */

/* The I-V table of a keyword code, or -1. */
static int subTableOf(int code) {
  return code >= KW_SUB_PULLDOWN && code <= KW_SUB_POWER_CLAMP
      ? code - KW_SUB_PULLDOWN
      : -1;
}

static void subPulseKeyword(SUBMDL_Submodel *s, int code) {
  int gnd = code == KW_GND_PULSE_TABLE;
  Waveform **slot = gnd ? &s->gndPulse : &s->powerPulse;
  if( *slot ) {
    MSG_ErrorCodeLine(gnd ? MSGC_SUBMDL_GND_PULSE_TWICE
                          : MSGC_SUBMDL_POWER_PULSE_TWICE);
    WVFRM_Free(slot);
  }
  *slot = WVFRM_New(gnd ? WVFRM_GND_PULSE : WVFRM_POWER_PULSE);
  subWave = *slot;
}

void SUBMDL_Keyword(int code, char *text) {
  SUBMDL_Submodel *s = subOpen;
  char *rest = text;
  int f;
  CMN_SkipPastBracket(&rest);
  subWave = NULL;
  if( code == KW_SUBMODEL ) {
    subNameLine(s, rest);
  } else if( code == KW_SUBMODEL_SPEC ) {
    /* Still read: the rules at the end need its triggers all the same. */
    if( subOtherSeen ) MSG_ErrorCodeLine(MSGC_SUBMDL_SPEC_ORDER);
    SMSPEC_Begin(&s->spec);
  } else if( (f = subTableOf(code)) >= 0 ) {
    CRV_Begin(&s->table[f], rest, subTableName[f], 1);
  } else if( code == KW_GND_PULSE_TABLE || code == KW_POWER_PULSE_TABLE ) {
    subPulseKeyword(s, code);
  } else if( code == KW_SUB_RAMP ) {
    RAMP_Begin(&s->ramp);
  } else if( code == KW_SUB_RISING_WAVEFORM ) {
    subWave = WVFRM_Append(&s->rising, WVFRM_RISING);
  } else if( code == KW_SUB_FALLING_WAVEFORM ) {
    subWave = WVFRM_Append(&s->falling, WVFRM_FALLING);
  }
  if( code != KW_SUBMODEL && code != KW_SUBMODEL_SPEC ) subOtherSeen = 1;
  subKeyword = code;
}

void SUBMDL_DataLine(int code, char *text) {
  SUBMDL_Submodel *s = subOpen;
  int f = subTableOf(code);
  if( f >= 0 ) {
    CRV_Line(&s->table[f], text, subTableName[f]);
    return;
  }
  switch( code ) {
    case KW_SUBMODEL:
      subSubparameter(s, text);
      break;
    case KW_SUBMODEL_SPEC:
      SMSPEC_Line(s->spec, text, s->name);
      break;
    case KW_SUB_RAMP:
      RAMP_Line(s->ramp, text, s->name);
      break;
    case KW_GND_PULSE_TABLE:
    case KW_POWER_PULSE_TABLE:
    case KW_SUB_RISING_WAVEFORM:
    case KW_SUB_FALLING_WAVEFORM:
      WVFRM_Line(subWave, text);
      break;
    default:
      MSG_ErrorCodeLine(MSGC_SUBMDL_UNKNOWN_LINE);
      break;
  }
}

SUBMDL_Submodel *SUBMDL_Current(void) { return subOpen; }

void SUBMDL_Line(int lineType, int code, char *text) {
  CMN_ASSERT(text != NULL, SUBMDL_SRC);
  if( subOpen == NULL ) {
    MSG_ErrorCodeLine(lineType == SECTION_LINE_KEYWORD
                          ? MSGC_SUBMDL_ORPHAN_KEYWORD
                          : MSGC_SUBMDL_ORPHAN_DATA);
    return;
  }
  /* The keywords of IBIS 6.1 and later are read by their own modules. */
  if( SECTION_NestedLine(lineType, code, text) ) {
    if( lineType == SECTION_LINE_KEYWORD ) subKeyword = code;
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD )
    SUBMDL_Keyword(code, text);
  else
    SUBMDL_DataLine(code, text);
}

/* ---- closing ----------------------------------------------------------- */

static void subCloseKeyword(SUBMDL_Submodel *s, int previous) {
  int f = subTableOf(previous);
  if( f >= 0 ) {
    CRV_Close(&s->table[f], subTableName[f], s->name,
              f == SUBMDL_GND_CLAMP || f == SUBMDL_POWER_CLAMP);
    return;
  }
  switch( previous ) {
    case KW_SUBMODEL:
      if( s->type == SUBMDL_TYPE_UNSET )
        MSG_ErrorCode(MSGC_SUBMDL_NOT_DEFINED, s->name, "Submodel_type");
      break;
    case KW_SUBMODEL_SPEC:
      SMSPEC_Close(s->spec, s->name);
      break;
    case KW_SUB_RAMP:
      RAMP_Close(s->ramp);
      break;
    case KW_GND_PULSE_TABLE:
    case KW_POWER_PULSE_TABLE:
    case KW_SUB_RISING_WAVEFORM:
    case KW_SUB_FALLING_WAVEFORM:
      WVFRM_Close(subWave);
      break;
  }
}

static int subIsSubmodelKeyword(int code) {
  return (code >= KW_SUBMODEL && code <= KW_SUB_FALLING_WAVEFORM)
      || SECTION_IsNestedIn(SECTION_SUBMODEL, code);
}

void SUBMDL_EndSection(int previousCode, int newCode) {
  if( subOpen == NULL ) return;
  SECTION_NestedClose(previousCode, newCode);
  if( subIsSubmodelKeyword(previousCode) )
    subCloseKeyword(subOpen, previousCode);
  if( newCode == KW_SUBMODEL || !subIsSubmodelKeyword(newCode) ) {
    SUBMDL_EndSubmodel(subOpen);
    subOpen = NULL;
    subWave = NULL;
    subKeyword = KW_NOT_KEY;
  }
}

/* ---- end of submodel --------------------------------------------------- */

static int subHas(const SUBMDL_Submodel *s, int table) {
  return s->table[table].line != 0;
}

/* The rules shared by Bus_hold and Fall_back: codes by the type. */
typedef struct SubRules {
  int spec, triggerR, triggerF, ramp, table;
} SubRules;

static void subCheckHolding(const SUBMDL_Submodel *s, const SubRules *r) {
  if( s->spec == NULL ) {
    MSG_ErrorCode(r->spec, s->name);
  } else {
    if( !SMSPEC_Has(s->spec, SMSPEC_V_TRIGGER_R) )
      MSG_ErrorCode(r->triggerR, s->name);
    if( !SMSPEC_Has(s->spec, SMSPEC_V_TRIGGER_F) )
      MSG_ErrorCode(r->triggerF, s->name);
  }
  if( s->ramp == NULL ) MSG_ErrorCode(r->ramp, s->name);
  if( !subHas(s, SUBMDL_PULLUP) && !subHas(s, SUBMDL_PULLDOWN) )
    MSG_ErrorCode(r->table, s->name);
}

static void subCheckBusHold(const SUBMDL_Submodel *s) {
  static const SubRules rules = { MSGC_SUBMDL_BUS_HOLD_SPEC,
                                  MSGC_SUBMDL_BUS_HOLD_TRIGGER_R,
                                  MSGC_SUBMDL_BUS_HOLD_TRIGGER_F,
                                  MSGC_SUBMDL_BUS_HOLD_RAMP,
                                  MSGC_SUBMDL_BUS_HOLD_TABLE };
  subCheckHolding(s, &rules);
  if( SMSPEC_Has(s->spec, SMSPEC_OFF_DELAY) && subHas(s, SUBMDL_PULLUP)
      && subHas(s, SUBMDL_PULLDOWN) )
    MSG_ErrorCode(MSGC_SUBMDL_OFF_DELAY_BOTH_TABLES, s->name);
}

static void subCheckFallBack(const SUBMDL_Submodel *s) {
  static const SubRules rules = { MSGC_SUBMDL_FALL_BACK_SPEC,
                                  MSGC_SUBMDL_FALL_BACK_TRIGGER_R,
                                  MSGC_SUBMDL_FALL_BACK_TRIGGER_F,
                                  MSGC_SUBMDL_FALL_BACK_RAMP,
                                  MSGC_SUBMDL_FALL_BACK_TABLE };
  subCheckHolding(s, &rules);
  if( subHas(s, SUBMDL_PULLUP) && subHas(s, SUBMDL_PULLDOWN) )
    MSG_ErrorCode(MSGC_SUBMDL_FALL_BACK_BOTH_TABLES, s->name);
  if( SMSPEC_Has(s->spec, SMSPEC_OFF_DELAY) )
    MSG_ErrorCode(MSGC_SUBMDL_FALL_BACK_OFF_DELAY, s->name);
}

static void subCheckDynamicClamp(const SUBMDL_Submodel *s) {
  if( s->gndPulse && !SMSPEC_Has(s->spec, SMSPEC_V_TRIGGER_F) )
    MSG_ErrorCode(MSGC_SUBMDL_GND_PULSE_TRIGGER_F, s->name);
  if( s->powerPulse && !SMSPEC_Has(s->spec, SMSPEC_V_TRIGGER_R) )
    MSG_ErrorCode(MSGC_SUBMDL_POWER_PULSE_TRIGGER_R, s->name);
  if( !s->gndPulse && !s->powerPulse && !subHas(s, SUBMDL_GND_CLAMP)
      && !subHas(s, SUBMDL_POWER_CLAMP) )
    MSG_ErrorCode(MSGC_SUBMDL_DYNAMIC_CLAMP_TABLE, s->name);
  if( SMSPEC_Has(s->spec, SMSPEC_OFF_DELAY) )
    MSG_ErrorCode(MSGC_SUBMDL_DYNAMIC_CLAMP_OFF_DELAY, s->name);
}

/* A corner of a triple, the typical value standing in for a missing
** minimum or maximum: 1 and *out, or 0 when neither holds a number. */
static int subCorner(const RNG_TypMinMax *t, int c, double *out) {
  if( t->state[c] != CMN_VALUE_GIVEN ) c = RNG_TYP;
  if( t->state[c] != CMN_VALUE_GIVEN ) return 0;
  *out = t->value[c];
  return 1;
}

/* The triggers against the first and last values of each waveform of one
** direction: a rising waveform should start below V_trigger_r and end
** above it, a falling one start above V_trigger_f and end below it. */
static void subCheckTrigger(const SUBMDL_Submodel *s, const WaveformList *list,
                            const RNG_TypMinMax *trigger, int rising) {
  static const char *const corner[3] = { "Typ", "Min", "Max" };
  const Waveform *w;
  double v, first, last;
  int c;
  for( w = list->first; w; w = w->next ) {
    const RngpTable *t = &w->table;
    if( t->count == 0 ) continue;
    for( c = 0; c < 3; c++ ) {
      if( !subCorner(trigger, c, &v) ) continue;
      if( subCorner(&t->row[0].col, c, &first) ) {
        if( rising && first > v )
          MSG_WarningCode(MSGC_SUBMDL_RISE_START, s->name, corner[c]);
        if( !rising && v > first )
          MSG_WarningCode(MSGC_SUBMDL_FALL_START, s->name, corner[c]);
      }
      if( subCorner(&t->row[t->count - 1].col, c, &last) ) {
        if( rising && v > last )
          MSG_WarningCode(MSGC_SUBMDL_RISE_END, s->name, corner[c]);
        if( !rising && v < last )
          MSG_WarningCode(MSGC_SUBMDL_FALL_END, s->name, corner[c]);
      }
    }
  }
}

void SUBMDL_EndSubmodel(SUBMDL_Submodel *submodel) {
  const SUBMDL_Submodel *s = submodel;
  if( s == NULL ) return;
  switch( s->type ) {
    case SUBMDL_TYPE_BUS_HOLD:
      subCheckBusHold(s);
      break;
    case SUBMDL_TYPE_DYNAMIC_CLAMP:
      subCheckDynamicClamp(s);
      break;
    case SUBMDL_TYPE_FALL_BACK:
      subCheckFallBack(s);
      break;
  }
  if( SMSPEC_Has(s->spec, SMSPEC_V_TRIGGER_R) )
    subCheckTrigger(s, &s->rising, &s->spec->value[SMSPEC_V_TRIGGER_R], 1);
  if( SMSPEC_Has(s->spec, SMSPEC_V_TRIGGER_F) )
    subCheckTrigger(s, &s->falling, &s->spec->value[SMSPEC_V_TRIGGER_F], 0);
}

/* ---- after the file ---------------------------------------------------- */

void SUBMDL_CheckReferences(IbisFile *file) {
  NameCount *defined = NULL, *used = NULL;
  IbisItem *item = NULL;
  if( file == NULL ) return;
  if( IBIS_GetSubmodels(file, &item) ) {
    for( ; item; item = item->next ) {
      const SUBMDL_Submodel *s = (const SUBMDL_Submodel *)item->record;
      if( s && s->name[0] ) STRING_CountAdd(&defined, s->name);
    }
  }
  if( IBIS_GetModels(file, &item) ) {
    for( ; item; item = item->next ) {
      const MDL_Model *m = (const MDL_Model *)item->record;
      const MdlAddSubmodel *a;
      for( a = m ? m->addSubmodel : NULL; a; a = a->next ) {
        if( !STRING_CountHas(defined, a->name) )
          MSG_ErrorCode(MSGC_SUBMDL_ADD_UNDEFINED, a->name, m->name);
        else
          STRING_CountAdd(&used, a->name);
      }
    }
  }
  if( IBIS_GetSubmodels(file, &item) ) {
    for( ; item; item = item->next ) {
      const SUBMDL_Submodel *s = (const SUBMDL_Submodel *)item->record;
      if( s && s->name[0] && !STRING_CountHas(used, s->name) )
        MSG_WarningCode(MSGC_SUBMDL_UNREFERENCED, s->name);
    }
  }
  STRING_CountFree(&defined);
  STRING_CountFree(&used);
}

const ParseSection SUBMDL_ParseSection = { SUBMDL_Begin, SUBMDL_EndSection,
                                           SUBMDL_Line, SUBMDL_Release,
                                           SUBMDL_Reset };
