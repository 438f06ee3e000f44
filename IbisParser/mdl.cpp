/*
** mdl.cpp: the [Model] section.
**
** One model is open at a time.  A keyword line of the model first closes
** the section of the keyword before it (MDL_EndSection), then starts its
** own; data lines go to the module of the current keyword.  The model ends
** at the next [Model] or at any keyword outside the model's set, when the
** end-of-model checks run in their fixed order.
*/
#include "IbisParser/mdl.h"

#include "IbisParser/amichk.h"
#include "IbisParser/cmn.h"
#include "IbisParser/crv.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/strlist.h"

#include <string.h>

#define MDL_SRC "IbisParser/mdl"

/* Per-file state. */
static MDL_Model *mdlOpen;     /* the current model, or null */
static int mdlKeyword;         /* the keyword whose data lines arrive */
static NameCount *mdlNames;    /* model names of the file */
static int mdlOtherSeen;       /* a keyword of the order rules came */
static int mdlThresholdsSeen;  /* [Receiver Thresholds] or ISSO came */
static int mdlOnOffSeen;       /* an [On] or [Off] came */
static SinfoRecord *mdlSeries; /* the series record being filled */
static SmosEntry *mdlMosfet;   /* the [Series MOSFET] entry being read */
static Waveform *mdlWave;      /* the waveform being read */
static int mdlAlgorithmicOpen, mdlEmiOpen;

static const char *const mdlTypeName[MDL_TYPE_LAST + 1] = { "",
                                                            "No Type",
                                                            "Input",
                                                            "Output",
                                                            "I/O",
                                                            "3-state",
                                                            "Open_drain",
                                                            "I/O_open_drain",
                                                            "Open_sink",
                                                            "I/O_open_sink",
                                                            "Open_source",
                                                            "I/O_open_source",
                                                            "Input_ECL",
                                                            "Output_ECL",
                                                            "I/O_ECL",
                                                            "Terminator",
                                                            "Series",
                                                            "Series_switch",
                                                            "3-state_ECL",
                                                            "I/O_diff",
                                                            "Output_diff",
                                                            "3-state_diff",
                                                            "Input_diff" };

const char *MDL_TypeName(int type) {
  return type >= 0 && type <= MDL_TYPE_LAST ? mdlTypeName[type] : "";
}

int MDL_IsInputType(int type) {
  switch( type ) {
    case MDL_TYPE_INPUT:
    case MDL_TYPE_IO:
    case MDL_TYPE_IO_OPEN_DRAIN:
    case MDL_TYPE_IO_OPEN_SINK:
    case MDL_TYPE_IO_OPEN_SOURCE:
    case MDL_TYPE_INPUT_ECL:
    case MDL_TYPE_IO_ECL:
      return 1;
    default:
      return 0;
  }
}

int MDL_IsOutputType(int type) {
  switch( type ) {
    case MDL_TYPE_OUTPUT:
    case MDL_TYPE_IO:
    case MDL_TYPE_3STATE:
    case MDL_TYPE_OPEN_DRAIN:
    case MDL_TYPE_IO_OPEN_DRAIN:
    case MDL_TYPE_OPEN_SINK:
    case MDL_TYPE_IO_OPEN_SINK:
    case MDL_TYPE_OPEN_SOURCE:
    case MDL_TYPE_IO_OPEN_SOURCE:
    case MDL_TYPE_OUTPUT_ECL:
    case MDL_TYPE_IO_ECL:
    case MDL_TYPE_3STATE_ECL:
    case MDL_TYPE_IO_DIFF:
    case MDL_TYPE_OUTPUT_DIFF:
    case MDL_TYPE_3STATE_DIFF:
      return 1;
    default:
      return 0;
  }
}

static int mdlIsSeries(int type) {
  return type == MDL_TYPE_SERIES || type == MDL_TYPE_SERIES_SWITCH;
}

int MDL_NameLimit(int version) { return version < 4 ? 20 : MDL_MAX_NAME; }

/* Model types a file of dispatch version v may name. */
static int mdlTypeCount(int version) {
  if( version == 3 ) return 17;
  return version >= 4 ? 21 : 14;
}

int MDL_LookUp(const char *value, const char *const *names, int count,
               int first, int none, const char *what) {
  int i;
  for( i = 0; i < count; i++ ) {
    if( strcmp(value, names[i]) == 0 ) return first + i;
  }
  for( i = 0; i < count; i++ ) {
    if( CMN_StrEqualNoCase(value, names[i]) ) {
      MSG_ErrorCodeLine(MSGC_MDL_INVALID_TRY, what, value, names[i]);
      return none;
    }
  }
  MSG_ErrorCodeLine(MSGC_MDL_INVALID_SETTING, what, value);
  return none;
}

/* ---- records ----------------------------------------------------------- */

static void mdlFreeAddSubmodels(MDL_Model *m) {
  MdlAddSubmodel *a = m->addSubmodel, *next;
  for( ; a; a = next ) {
    next = a->next;
    CMN_FreeBlock(a);
  }
  m->addSubmodel = m->addSubmodelLast = NULL;
}

void MDL_Release(void *record) {
  MDL_Model *m = (MDL_Model *)record;
  int i;
  if( m == NULL ) return;
  if( m == mdlOpen ) mdlOpen = NULL;
  DRVSH_Free(&m->schedule);
  if( m->spec ) CMN_Free(&m->spec);
  if( m->thresholds ) CMN_Free(&m->thresholds);
  SINFO_Free(&m->series[0]);
  SINFO_Free(&m->series[1]);
  for( i = 0; i < MDL_TABLE_COUNT; i++ ) RNGP_Free(&m->table[i]);
  RAMP_Free(&m->ramp);
  WVFRM_FreeList(&m->rising);
  WVFRM_FreeList(&m->falling);
  XMDL_Free(&m->external);
  mdlFreeAddSubmodels(m);
  ALGMOD_Free(&m->algorithmic);
  MDLEMI_Free(&m->emi);
  CMN_FreeBlock(m);
}

void MDL_Reset(void) {
  mdlOpen = NULL;
  mdlKeyword = KW_NOT_KEY;
  STRING_CountFree(&mdlNames);
  mdlOtherSeen = mdlThresholdsSeen = mdlOnOffSeen = 0;
  mdlSeries = NULL;
  mdlMosfet = NULL;
  mdlWave = NULL;
  mdlAlgorithmicOpen = mdlEmiOpen = 0;
}

void MDL_Begin(void) {
  IbisFile *file;
  MDL_Model *m = NULL;
  mdlOpen = NULL;
  if( !IBIS_Current(&file) ) {
    MSG_BugCode(MSGC_MDL_NO_IBIS);
    return;
  }
  if( !CMN_Calloc(&m, sizeof(*m)) ) {
    MSG_BugCode(MSGC_MDL_NO_MEMORY, MDL_SRC, __LINE__);
    return;
  }
  if( !IBIS_Append(file, SECTION_MODEL, m) ) {
    MSG_BugCode(MSGC_MDL_NO_MEMORY, MDL_SRC, __LINE__);
    CMN_FreeBlock(m);
    return;
  }
  m->line = PARSE_GetLineNumber();
  mdlOpen = m;
  mdlKeyword = KW_MODEL;
  mdlOtherSeen = mdlThresholdsSeen = mdlOnOffSeen = 0;
  mdlSeries = NULL;
  mdlMosfet = NULL;
  mdlWave = NULL;
  mdlAlgorithmicOpen = mdlEmiOpen = 0;
}

/* ---- the name line ----------------------------------------------------- */

static void mdlNameLine(MDL_Model *m, char *rest) {
  RngItems items;
  int limit = MDL_NameLimit(PARSE_GetDispatchVersion());
  size_t len;
  RNG_Split(rest, &items);
  if( items.count == 0 ) {
    MSG_ErrorCode(MSGC_MDL_MISSING_NAME);
    return;
  }
  if( items.count != 1 )
    MSG_ErrorCodeLine(MSGC_MDL_KEYWORD_ITEMS, items.count, "Model", 1);
  len = strlen(items.item[0]);
  if( len > (size_t)limit ) {
    MSG_ErrorCodeLine(MSGC_MDL_NAME_TOO_LONG, limit);
    len = (size_t)limit;
  }
  memcpy(m->name, items.item[0], len);
  m->name[len] = 0;
  if( len < strlen(items.item[0]) ) return;
  if( CMN_IsReservedWord(m->name) )
    MSG_ErrorCodeLine(MSGC_MDL_RESERVED_NAME, m->name);
  else if( STRING_CountAdd(&mdlNames, m->name) > 1 )
    MSG_ErrorCodeLine(MSGC_MDL_NAME_REPEATED, m->name);
}

/* ---- subparameters ----------------------------------------------------- */

enum {
  MDL_SUB_MODEL_TYPE = 1,
  MDL_SUB_POLARITY,
  MDL_SUB_ENABLE,
  MDL_SUB_VINL,
  MDL_SUB_VINH,
  MDL_SUB_VMEAS,
  MDL_SUB_CREF,
  MDL_SUB_RREF,
  MDL_SUB_VREF,
  MDL_SUB_RREF_DIFF,
  MDL_SUB_CREF_DIFF,
  MDL_SUB_C_COMP,
  MDL_SUB_C_COMP_PULLUP,
  MDL_SUB_C_COMP_PULLDOWN,
  MDL_SUB_C_COMP_POWER_CLAMP,
  MDL_SUB_C_COMP_GND_CLAMP,
  MDL_SUB_COUNT = MDL_SUB_C_COMP_GND_CLAMP
};

static const char *const mdlSubName[MDL_SUB_COUNT + 1] = { "",
                                                           "Model_type",
                                                           "Polarity",
                                                           "Enable",
                                                           "Vinl",
                                                           "Vinh",
                                                           "Vmeas",
                                                           "Cref",
                                                           "Rref",
                                                           "Vref",
                                                           "Rref_diff",
                                                           "Cref_diff",
                                                           "C_comp",
                                                           "C_comp_pullup",
                                                           "C_comp_pulldown",
                                                           "C_comp_power_clamp",
                                                           "C_comp_gnd_clamp" };

/* The single-value field of a subparameter code. */
static int mdlSingleOf(int sub) {
  static const int field[] = {
    MDL_VINL, MDL_VINH, MDL_VMEAS,     MDL_CREF,
    MDL_RREF, MDL_VREF, MDL_RREF_DIFF, MDL_CREF_DIFF
  };
  return field[sub - MDL_SUB_VINL];
}

static int mdlFindSub(const char *name) {
  int i;
  for( i = 1; i <= MDL_SUB_COUNT; i++ ) {
    if( strcmp(name, mdlSubName[i]) == 0 ) return i;
  }
  return 0;
}

static void mdlEnumSub(MDL_Model *m, int sub, RngItems *items) {
  static const char *const polarity[] = { "Non-Inverting", "Inverting" };
  static const char *const enable[] = { "Active-High", "Active-Low" };
  const char *what = mdlSubName[sub];
  int *field = sub == MDL_SUB_MODEL_TYPE ? &m->type
      : sub == MDL_SUB_POLARITY          ? &m->polarity
                                         : &m->enable;
  if( *field ) {
    MSG_ErrorCodeLine(MSGC_MDL_ALREADY_DEFINED_FOR, what, m->name);
    return;
  }
  if( items->count < 2 ) {
    MSG_ErrorCodeLine(MSGC_MDL_MISSING_SETTING, what);
    return;
  }
  if( items->count > 2 ) {
    MSG_ErrorCodeLine(MSGC_MDL_INVALID_LINE, what);
    return;
  }
  if( sub == MDL_SUB_MODEL_TYPE )
    *field = MDL_LookUp(items->item[1], mdlTypeName + 2,
                        mdlTypeCount(PARSE_GetDispatchVersion()), 2,
                        MDL_TYPE_NONE, what);
  else
    *field =
        MDL_LookUp(items->item[1], sub == MDL_SUB_POLARITY ? polarity : enable,
                   2, 2, 1, what);
}

/* Whether a single-value subparameter is kept for the model's type; the
** warning is given here when it is not. */
static int mdlSingleAllowed(const MDL_Model *m, int sub) {
  static const int warnVin[2] = { MSGC_MDL_VINL_WRONG_TYPE,
                                  MSGC_MDL_VINH_WRONG_TYPE };
  const char *type = MDL_TypeName(m->type);
  int t = m->type;
  if( t <= MDL_TYPE_NONE ) return 1; /* no type yet: nothing to judge by */
  if( sub == MDL_SUB_VINL || sub == MDL_SUB_VINH ) {
    if( MDL_IsInputType(t) ) return 1;
    MSG_WarningCodeLine(warnVin[sub - MDL_SUB_VINL], type);
    return 0;
  }
  if( sub == MDL_SUB_RREF_DIFF || sub == MDL_SUB_CREF_DIFF ) {
    if( MDL_IsOutputType(t) ) return 1;
    MSG_WarningCodeLine(sub == MDL_SUB_RREF_DIFF
                            ? MSGC_MDL_RREF_DIFF_WRONG_TYPE
                            : MSGC_MDL_CREF_DIFF_WRONG_TYPE,
                        type);
    return 0;
  }
  if( t == MDL_TYPE_INPUT || t == MDL_TYPE_INPUT_ECL || t == MDL_TYPE_TERMINATOR
      || mdlIsSeries(t) || t == MDL_TYPE_INPUT_DIFF ) {
    MSG_WarningCodeLine(MSGC_MSPEC_WRONG_TYPE, mdlSubName[sub], type);
    return 0;
  }
  return 1;
}

static void mdlSingleSub(MDL_Model *m, int sub, RngItems *items) {
  int f = mdlSingleOf(sub), rc;
  double v;
  if( (sub == MDL_SUB_RREF_DIFF || sub == MDL_SUB_CREF_DIFF)
      && PARSE_GetDispatchVersion() < 4 ) {
    MSG_ErrorCodeLine(sub == MDL_SUB_RREF_DIFF ? MSGC_MDL_RREF_DIFF_VERSION
                                               : MSGC_MDL_CREF_DIFF_VERSION);
    return;
  }
  if( m->singleGiven[f] ) {
    MSG_ErrorCodeLine(MSGC_MDL_ALREADY_DEFINED_FOR, mdlSubName[sub], m->name);
    return;
  }
  if( items->count != 2 ) {
    MSG_ErrorCodeLine(MSGC_MDL_INVALID_LINE, mdlSubName[sub]);
    return;
  }
  if( (rc = CMN_ParseNumber(items->item[1], &v)) != 1 ) {
    MSG_ErrorCodeLine(MSGC_MDL_INVALID_VALUE, mdlSubName[sub], items->item[1]);
    return;
  }
  if( !mdlSingleAllowed(m, sub) ) return;
  m->single[f] = v;
  m->singleGiven[f] = 1;
}

static void mdlCcompOrder(const MDL_Model *m, const char *name,
                          const RNG_TypMinMax *t) {
  int typ = t->state[RNG_TYP] == CMN_VALUE_GIVEN;
  int min = t->state[RNG_MIN] == CMN_VALUE_GIVEN;
  int max = t->state[RNG_MAX] == CMN_VALUE_GIVEN;
  const double *v = t->value;
  if( min
      && ((typ && v[RNG_MIN] > v[RNG_TYP])
          || (max && v[RNG_MIN] > v[RNG_MAX])) )
    MSG_WarningCodeLine(MSGC_MDL_MIN_NOT_SMALLEST, m->name, name);
  if( max
      && ((typ && v[RNG_MAX] < v[RNG_TYP])
          || (min && v[RNG_MAX] < v[RNG_MIN])) )
    MSG_WarningCodeLine(MSGC_MDL_MAX_NOT_LARGEST, m->name, name);
}

static void mdlCcompSub(MDL_Model *m, int sub, RngItems *items) {
  static const int gate[4] = { MSGC_MDL_C_COMP_PULLUP_VERSION,
                               MSGC_MDL_C_COMP_PULLDOWN_VERSION,
                               MSGC_MDL_C_COMP_POWER_CLAMP_VERSION,
                               MSGC_MDL_C_COMP_GND_CLAMP_VERSION };
  int f = sub - MDL_SUB_C_COMP;
  RNG_TypMinMax t;
  if( f > 0 && PARSE_GetDispatchVersion() < 4 ) {
    MSG_ErrorCodeLine(gate[f - 1]);
    return;
  }
  if( m->ccompGiven[f] ) {
    MSG_ErrorCodeLine(MSGC_MDL_ALREADY_DEFINED_FOR, mdlSubName[sub], m->name);
    return;
  }
  if( !RNG_Read(items->item + 1, items->count - 1, mdlSubName[sub], &t) )
    return;
  if( t.state[RNG_TYP] == CMN_VALUE_NA ) MSG_ErrorCodeLine(MSGC_MDL_TYP_NA);
  mdlCcompOrder(m, mdlSubName[sub], &t);
  m->ccomp[f] = t;
  m->ccompGiven[f] = 1;
}

static void mdlSubparameter(MDL_Model *m, char *text) {
  RngItems items;
  int sub;
  RNG_SplitNamed(text, &items, NULL);
  if( items.count == 0 ) return;
  sub = mdlFindSub(items.item[0]);
  if( sub == 0 ) {
    MSG_ErrorCodeLine(MSGC_MDL_UNKNOWN_LINE);
    return;
  }
  if( sub <= MDL_SUB_ENABLE )
    mdlEnumSub(m, sub, &items);
  else if( sub < MDL_SUB_C_COMP )
    mdlSingleSub(m, sub, &items);
  else
    mdlCcompSub(m, sub, &items);
}

/* At the first keyword after the subparameters. */
static void mdlEndSubparameters(const MDL_Model *m) {
  const double *s = m->single;
  int t = m->type;
  if( t == MDL_TYPE_UNSET )
    MSG_ErrorCode(MSGC_MDL_NOT_DEFINED, m->name, "Model_type");
  if( !(t == MDL_TYPE_IO || t == MDL_TYPE_IO_OPEN_DRAIN
        || t == MDL_TYPE_IO_OPEN_SINK || t == MDL_TYPE_IO_OPEN_SOURCE
        || t == MDL_TYPE_IO_ECL)
      || !m->singleGiven[MDL_VMEAS] )
    return;
  if( m->singleGiven[MDL_VINL] && s[MDL_VINL] >= s[MDL_VMEAS] )
    MSG_CautionCode(MSGC_MDL_VMEAS_BELOW_VINL, m->name);
  if( m->singleGiven[MDL_VINH] && s[MDL_VMEAS] >= s[MDL_VINH] )
    MSG_CautionCode(MSGC_MDL_VMEAS_ABOVE_VINH, m->name);
}

/* ---- keywords ---------------------------------------------------------- */

/* The triple of a keyword code, or -1. */
static int mdlTripleOf(int code) {
  switch( code ) {
    case KW_TEMPERATURE_RANGE:
      return MDL_TEMPERATURE_RANGE;
    case KW_VOLTAGE_RANGE:
      return MDL_VOLTAGE_RANGE;
    case KW_PULLUP_REFERENCE:
      return MDL_PULLUP_REFERENCE;
    case KW_PULLDOWN_REFERENCE:
      return MDL_PULLDOWN_REFERENCE;
    case KW_POWER_CLAMP_REFERENCE:
      return MDL_POWER_CLAMP_REFERENCE;
    case KW_GND_CLAMP_REFERENCE:
      return MDL_GND_CLAMP_REFERENCE;
    case KW_EXTERNAL_REFERENCE:
      return MDL_EXTERNAL_REFERENCE;
    case KW_TTGND:
      return MDL_TTGND;
    case KW_TTPOWER:
      return MDL_TTPOWER;
    case KW_RGND:
      return MDL_RGND;
    case KW_RPOWER:
      return MDL_RPOWER;
    case KW_RAC:
      return MDL_RAC;
    case KW_CAC:
      return MDL_CAC;
    default:
      return -1;
  }
}

static const char *const mdlTripleName[MDL_TRIPLE_COUNT] = {
  "[Temperature Range]",
  "[Voltage Range]",
  "[Pullup Reference]",
  "[Pulldown Reference]",
  "[POWER Clamp Reference]",
  "[GND Clamp Reference]",
  "[External Reference]",
  "[TTgnd]",
  "[TTpower]",
  "[Rgnd]",
  "[Rpower]",
  "[Rac]",
  "[Cac]"
};

/* The I-V table of a keyword code, or -1. */
static int mdlTableOf(int code) {
  switch( code ) {
    case KW_PULLDOWN:
      return MDL_PULLDOWN;
    case KW_PULLUP:
      return MDL_PULLUP;
    case KW_GND_CLAMP:
      return MDL_GND_CLAMP;
    case KW_POWER_CLAMP:
      return MDL_POWER_CLAMP;
    case KW_ISSO_PD:
      return MDL_ISSO_PD;
    case KW_ISSO_PU:
      return MDL_ISSO_PU;
    default:
      return -1;
  }
}

static const char *const mdlTableName[MDL_TABLE_COUNT] = {
  "Pulldown", "Pullup", "GND Clamp", "POWER Clamp", "ISSO PD", "ISSO PU"
};

/* The series triple of a keyword code, or -1. */
static int mdlSeriesTripleOf(int code) {
  if( code >= KW_R_SERIES && code <= KW_RC_SERIES ) return code - KW_R_SERIES;
  return -1;
}

static const char *const mdlSeriesName[SINFO_TRIPLE_COUNT] = {
  "[R Series]", "[L Series]",  "[Rl Series]",
  "[C Series]", "[Lc Series]", "[Rc Series]"
};

/* The keywords whose presence puts [Model Spec] and [Receiver Thresholds]
** out of place. */
static int mdlIsOrderKeyword(int code) {
  return (code >= KW_TEMPERATURE_RANGE && code <= KW_TTPOWER
          && code != KW_EXTERNAL_REFERENCE)
      || code == KW_DRIVER_SCHEDULE || code == KW_ADD_SUBMODEL;
}

static void mdlTtCheck(const RNG_TypMinMax *t, int power) {
  static const int code[2][3] = {
    { MSGC_MDL_TTGND_TYP, MSGC_MDL_TTGND_MIN, MSGC_MDL_TTGND_MAX },
    { MSGC_MDL_TTPOWER_TYP, MSGC_MDL_TTPOWER_MIN, MSGC_MDL_TTPOWER_MAX }
  };
  int c;
  for( c = 0; c < 3; c++ ) {
    if( t->state[c] == CMN_VALUE_GIVEN && !(t->value[c] > 0.0) )
      MSG_ErrorCodeLine(code[power][c]);
  }
}

static void mdlTripleKeyword(MDL_Model *m, int f, char *rest) {
  RNG_TypMinMax t;
  if( m->tripleGiven[f] ) {
    MSG_ErrorCodeLine(MSGC_MDL_ALREADY_DEFINED_FOR, mdlTripleName[f], m->name);
    return;
  }
  if( m->type == MDL_TYPE_SERIES_SWITCH && mdlOnOffSeen
      && f <= MDL_GND_CLAMP_REFERENCE )
    MSG_ErrorCodeLine(MSGC_MDL_BEFORE_ON_OFF, m->name, mdlTripleName[f]);
  if( !RNG_ReadText(rest, mdlTripleName[f], &t) ) return;
  if( t.state[RNG_TYP] == CMN_VALUE_NA ) MSG_ErrorCodeLine(MSGC_MDL_TYP_NA);
  if( f == MDL_TTGND || f == MDL_TTPOWER ) mdlTtCheck(&t, f == MDL_TTPOWER);
  m->triple[f] = t;
  m->tripleGiven[f] = 1;
}

/* The series record the series keywords fill, created on demand; null
** (reported) in a model that is not a series model. */
static SinfoRecord *mdlSeriesRecord(MDL_Model *m) {
  if( !mdlIsSeries(m->type) ) {
    MSG_ErrorCodeLine(MSGC_MDL_SERIES_ONLY);
    return NULL;
  }
  if( m->type == MDL_TYPE_SERIES_SWITCH && mdlSeries == NULL ) {
    MSG_ErrorCodeLine(MSGC_MDL_ASSUMING_ON);
    if( m->series[0] == NULL ) m->series[0] = SINFO_New(0);
    mdlSeries = m->series[0];
  }
  if( m->type == MDL_TYPE_SERIES ) {
    if( m->series[0] == NULL ) m->series[0] = SINFO_New(0);
    mdlSeries = m->series[0];
  }
  return mdlSeries;
}

static void mdlOnOff(MDL_Model *m, int off) {
  mdlMosfet = NULL;
  if( m->type != MDL_TYPE_SERIES_SWITCH ) {
    MSG_ErrorCodeLine(MSGC_MDL_SERIES_SWITCH_ONLY);
    mdlSeries = NULL;
    return;
  }
  mdlOnOffSeen = 1;
  if( m->series[off] ) {
    MSG_ErrorCodeLine(MSGC_SINFO_ALREADY_DEFINED, off ? "[Off]" : "[On]");
    SINFO_Free(&m->series[off]);
  }
  m->series[off] = SINFO_New(off);
  mdlSeries = m->series[off];
}

static void mdlSeriesKeyword(MDL_Model *m, int code, char *rest) {
  SinfoRecord *s = mdlSeriesRecord(m);
  int f = mdlSeriesTripleOf(code);
  /* An entry's address is only good until the next entry grows the array,
  ** and only the [Series MOSFET] keyword that made it may use it. */
  mdlMosfet = NULL;
  if( s == NULL ) return;
  if( f >= 0 ) {
    SINFO_Triple(s, f, rest, mdlSeriesName[f], m->name);
  } else if( code == KW_SERIES_CURRENT ) {
    CRV_Begin(&s->current, rest, "Series Current", 1);
  } else {
    SMOS_KeywordLine(rest);
    mdlMosfet = SINFO_NewMosfet(s);
  }
}

static void mdlSpecKeyword(MDL_Model *m) {
  if( mdlOtherSeen || mdlThresholdsSeen )
    MSG_ErrorCodeLine(MSGC_MDL_SPEC_ORDER);
  if( m->spec ) {
    MSG_ErrorCodeLine(MSGC_MSPEC_ALREADY_DEFINED);
    CMN_Free(&m->spec);
  }
  if( !CMN_Calloc(&m->spec, sizeof(MspecRecord)) ) {
    MSG_BugCode(MSGC_MSPEC_NO_MEMORY, MDL_SRC, __LINE__);
    return;
  }
  m->spec->line = PARSE_GetLineNumber();
}

static void mdlThresholdsKeyword(MDL_Model *m) {
  if( mdlOtherSeen ) MSG_ErrorCodeLine(MSGC_MDL_THRESHOLDS_ORDER);
  if( m->type > MDL_TYPE_NONE && !MDL_IsInputType(m->type) )
    MSG_WarningCodeLine(MSGC_MDL_THRESHOLDS_WRONG_TYPE, MDL_TypeName(m->type));
  if( m->thresholds ) {
    MSG_ErrorCodeLine(MSGC_RCVTH_ALREADY_DEFINED);
    CMN_Free(&m->thresholds);
  }
  if( !CMN_Calloc(&m->thresholds, sizeof(RcvthRecord)) ) {
    MSG_BugCode(MSGC_RCVTH_NO_MEMORY, MDL_SRC, __LINE__);
    return;
  }
  m->thresholds->line = PARSE_GetLineNumber();
}

static void mdlScheduleKeyword(MDL_Model *m) {
  if( m->schedule ) {
    MSG_ErrorCodeLine(MSGC_DRVSH_ALREADY_DEFINED);
    DRVSH_Free(&m->schedule);
  }
  if( !CMN_Calloc(&m->schedule, sizeof(DrvshRecord)) ) {
    MSG_BugCode(MSGC_DRVSH_NO_MEMORY, MDL_SRC, __LINE__);
    return;
  }
  m->schedule->line = PARSE_GetLineNumber();
}

static void mdlWaveKeyword(MDL_Model *m, int code) {
  WaveformList *list = code == KW_RISING_WAVEFORM ? &m->rising : &m->falling;
  mdlWave = WVFRM_Append(
      list, code == KW_RISING_WAVEFORM ? WVFRM_RISING : WVFRM_FALLING);
}

static void mdlCompositeKeyword(MDL_Model *m, int previous) {
  Waveform *w;
  mdlWave = NULL;
  if( previous != KW_RISING_WAVEFORM && previous != KW_FALLING_WAVEFORM ) {
    MSG_ErrorCodeLine(MSGC_MDL_COMPOSITE_PLACE);
    return;
  }
  w = previous == KW_RISING_WAVEFORM ? m->rising.last : m->falling.last;
  if( w == NULL ) return;
  if( w->composite ) {
    MSG_BugCodeLine(MSGC_MDL_COMPOSITE_TWICE);
    WVFRM_Free(&w->composite);
  }
  w->composite = WVFRM_New(WVFRM_COMPOSITE);
  mdlWave = w->composite;
}

static void mdlAddSubmodelKeyword(MDL_Model *m, char *rest) {
  RngItems items;
  if( m->addSubmodelSeen ) {
    MSG_ErrorCodeLine(MSGC_MDL_ADD_SUBMODEL_TWICE);
    mdlFreeAddSubmodels(m);
  }
  m->addSubmodelSeen = 1;
  if( mdlIsSeries(m->type) ) MSG_ErrorCodeLine(MSGC_MDL_ADD_SUBMODEL_SERIES);
  RNG_Split(rest, &items);
  if( items.count != 0 )
    MSG_ErrorCodeLine(MSGC_MDL_KEYWORD_ITEMS, items.count, "Add Submodel", 0);
}

static void mdlAddSubmodelLine(MDL_Model *m, char *text) {
  static const char *const mode[] = { "Driving", "Non-Driving", "All" };
  MdlAddSubmodel *a = NULL;
  RngItems items;
  size_t len;
  int t = m->type;
  RNG_Split(text, &items);
  if( items.count == 0 ) {
    MSG_ErrorCodeLine(MSGC_MDL_ADD_SUBMODEL_NO_NAME);
    return;
  }
  if( items.count > 2 ) {
    MSG_ErrorCodeLine(MSGC_MDL_ADD_SUBMODEL_ITEMS);
    return;
  }
  if( !CMN_Calloc(&a, sizeof(*a)) ) {
    MSG_BugCode(MSGC_MDL_NO_MEMORY, MDL_SRC, __LINE__);
    return;
  }
  a->line = PARSE_GetLineNumber();
  len = strlen(items.item[0]);
  if( len > MDL_MAX_SUBMODEL_NAME ) {
    MSG_ErrorCodeLine(MSGC_MDL_ADD_SUBMODEL_NAME_TOO_LONG,
                      MDL_MAX_SUBMODEL_NAME);
    len = MDL_MAX_SUBMODEL_NAME;
  }
  memcpy(a->name, items.item[0], len);
  if( CMN_IsReservedWord(a->name) )
    MSG_ErrorCodeLine(MSGC_MDL_SUBMODEL_RESERVED, a->name);
  a->mode = MDL_MODE_NONE;
  if( items.count < 2 )
    MSG_ErrorCodeLine(MSGC_MDL_ADD_SUBMODEL_NO_MODE);
  else
    a->mode = MDL_LookUp(items.item[1], mode, 3, 0, MDL_MODE_NONE,
                         "Add Submodel Mode");
  if( a->mode == MDL_MODE_DRIVING
      && (t == MDL_TYPE_INPUT || t == MDL_TYPE_INPUT_ECL
          || t == MDL_TYPE_TERMINATOR) )
    MSG_ErrorCodeLine(MSGC_MDL_DRIVING_FOR_INPUT);
  if( a->mode == MDL_MODE_NON_DRIVING
      && (t == MDL_TYPE_OUTPUT || t == MDL_TYPE_OPEN_DRAIN
          || t == MDL_TYPE_OPEN_SINK || t == MDL_TYPE_OPEN_SOURCE
          || t == MDL_TYPE_OUTPUT_ECL) )
    MSG_ErrorCodeLine(MSGC_MDL_NON_DRIVING_FOR_OUTPUT);
  if( m->addSubmodelLast )
    m->addSubmodelLast->next = a;
  else
    m->addSubmodel = a;
  m->addSubmodelLast = a;
}

static void mdlBlockKeyword(MDL_Model *m, int code, char *line, char *rest) {
  switch( code ) {
    case KW_ALGORITHMIC_MODEL:
      ALGMOD_Begin(line, &m->algorithmic);
      mdlAlgorithmicOpen = 1;
      break;
    case KW_END_ALGORITHMIC_MODEL:
      if( !mdlAlgorithmicOpen ) MSG_ErrorCodeLine(MSGC_MDL_ORPHAN_END_ALGMOD);
      mdlAlgorithmicOpen = 0;
      break;
    case KW_BEGIN_EMI_MODEL:
      MDLEMI_Begin(rest, &m->emi);
      mdlEmiOpen = 1;
      break;
    case KW_END_EMI_MODEL:
      if( !mdlEmiOpen ) MSG_ErrorCodeLine(MSGC_MDL_ORPHAN_END_EMI);
      mdlEmiOpen = 0;
      break;
    case KW_EXTERNAL_MODEL:
      XMDL_Begin(&m->external, m->name);
      break;
    case KW_END_EXTERNAL_MODEL:
      if( m->external == NULL || m->external->closed )
        MSG_ErrorCodeLine(MSGC_MDL_END_EXTERNAL_ORPHAN);
      else
        XMDL_Close(m->external, m->name, m->type,
                   m->type > MDL_TYPE_NONE ? MDL_TypeName(m->type) : NULL);
      break;
  }
}

/* Keywords that take no item and no data line. */
static void mdlNoItems(char *rest, const char *label) {
  RngItems items;
  RNG_Split(rest, &items);
  if( items.count != 0 )
    MSG_ErrorCodeLine(MSGC_MDL_KEYWORD_ITEMS, items.count, label, 0);
}

static void mdlOtherKeyword(MDL_Model *m, int code, char *line, char *rest) {
  switch( code ) {
    case KW_RAMP:
      RAMP_Begin(&m->ramp);
      break;
    case KW_RISING_WAVEFORM:
    case KW_FALLING_WAVEFORM:
      mdlWaveKeyword(m, code);
      break;
    case KW_COMPOSITE_CURRENT:
      mdlCompositeKeyword(m, mdlKeyword);
      break;
    case KW_MODEL_SPEC:
      mdlSpecKeyword(m);
      break;
    case KW_RECEIVER_THRESHOLDS:
      mdlThresholdsKeyword(m);
      break;
    case KW_DRIVER_SCHEDULE:
      mdlScheduleKeyword(m);
      break;
    case KW_ON:
    case KW_OFF:
      mdlNoItems(rest, code == KW_ON ? "On" : "Off");
      mdlOnOff(m, code == KW_OFF);
      break;
    case KW_ADD_SUBMODEL:
      mdlAddSubmodelKeyword(m, rest);
      break;
    default:
      mdlBlockKeyword(m, code, line, rest);
      break;
  }
}

void MDL_Keyword(int code, char *text) {
  MDL_Model *m = mdlOpen;
  char *rest = text;
  int f;
  CMN_SkipPastBracket(&rest);
  if( code == KW_MODEL ) {
    mdlNameLine(m, rest);
  } else if( (f = mdlTripleOf(code)) >= 0 ) {
    mdlTripleKeyword(m, f, rest);
  } else if( (f = mdlTableOf(code)) >= 0 ) {
    CRV_Begin(&m->table[f], rest, mdlTableName[f], 1);
    if( f >= MDL_ISSO_PD ) mdlThresholdsSeen = 1;
  } else if( mdlSeriesTripleOf(code) >= 0 || code == KW_SERIES_CURRENT
             || code == KW_SERIES_MOSFET ) {
    mdlSeriesKeyword(m, code, rest);
  } else {
    mdlOtherKeyword(m, code, text, rest);
  }
  if( mdlIsOrderKeyword(code) ) mdlOtherSeen = 1;
  if( code == KW_RECEIVER_THRESHOLDS ) mdlThresholdsSeen = 1;
  mdlKeyword = code;
}

void MDL_DataLine(int code, char *text) {
  MDL_Model *m = mdlOpen;
  int f;
  if( code == KW_MODEL ) {
    mdlSubparameter(m, text);
  } else if( (f = mdlTableOf(code)) >= 0 ) {
    CRV_Line(&m->table[f], text, mdlTableName[f]);
  } else if( code == KW_SERIES_CURRENT ) {
    if( mdlSeries ) CRV_Line(&mdlSeries->current, text, "Series Current");
  } else if( code == KW_SERIES_MOSFET ) {
    SMOS_Line(mdlMosfet, text);
  } else {
    switch( code ) {
      case KW_RAMP:
        RAMP_Line(m->ramp, text, m->name);
        break;
      case KW_RISING_WAVEFORM:
      case KW_FALLING_WAVEFORM:
      case KW_COMPOSITE_CURRENT:
        WVFRM_Line(mdlWave, text);
        break;
      case KW_MODEL_SPEC:
        MSPEC_Line(m->spec, text, m->type);
        break;
      case KW_RECEIVER_THRESHOLDS:
        RCVTH_Line(m->thresholds, text);
        break;
      case KW_DRIVER_SCHEDULE:
        DRVSH_Line(m->schedule, text, m->name);
        break;
      case KW_ADD_SUBMODEL:
        mdlAddSubmodelLine(m, text);
        break;
      case KW_ALGORITHMIC_MODEL:
        ALGMOD_Line(text, &m->algorithmic);
        break;
      case KW_BEGIN_EMI_MODEL:
        MDLEMI_Line(text, m->emi);
        break;
      case KW_END_EMI_MODEL:
        MSG_ErrorCodeLine(MSGC_MDL_UNKNOWN_LINE);
        break;
      case KW_EXTERNAL_MODEL:
        XMDL_Line(m->external, text);
        break;
      default:
        MSG_ErrorCodeLine(MSGC_MDL_EXPECTING_KEYWORD);
        break;
    }
  }
}

MDL_Model *MDL_Current(void) { return mdlOpen; }

void MDL_Line(int lineType, int code, char *text) {
  CMN_ASSERT(text != NULL, MDL_SRC);
  if( mdlOpen == NULL ) {
    MSG_ErrorCodeLine(lineType == SECTION_LINE_KEYWORD ? MSGC_MDL_ORPHAN_KEYWORD
                                                       : MSGC_MDL_ORPHAN_DATA);
    return;
  }
  /* The keywords of IBIS 6.1 and later are read by their own modules. */
  if( SECTION_NestedLine(lineType, code, text) ) {
    if( lineType == SECTION_LINE_KEYWORD ) mdlKeyword = code;
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD )
    MDL_Keyword(code, text);
  else
    MDL_DataLine(code, text);
}

/* ---- closing ----------------------------------------------------------- */

/* The checks of the section of `previous`, now ending. */
static void mdlCloseKeyword(MDL_Model *m, int previous, int next) {
  int f = mdlTableOf(previous);
  if( f >= 0 ) {
    CRV_Close(&m->table[f], mdlTableName[f], m->name,
              f == MDL_GND_CLAMP || f == MDL_POWER_CLAMP);
    return;
  }
  switch( previous ) {
    case KW_MODEL:
      mdlEndSubparameters(m);
      break;
    case KW_RAMP:
      RAMP_Close(m->ramp);
      break;
    case KW_RISING_WAVEFORM:
    case KW_FALLING_WAVEFORM:
    case KW_COMPOSITE_CURRENT:
      WVFRM_Close(mdlWave);
      break;
    case KW_RECEIVER_THRESHOLDS:
      RCVTH_Close(m->thresholds, m->name);
      break;
    case KW_SERIES_CURRENT:
      if( mdlSeries )
        CRV_Close(&mdlSeries->current, "Series Current", m->name, 0);
      break;
    case KW_SERIES_MOSFET:
      SMOS_Close(mdlMosfet, m->name);
      break;
    case KW_ALGORITHMIC_MODEL:
      if( next != KW_END_ALGORITHMIC_MODEL )
        MSG_ErrorCodeLine(MSGC_MDL_MISSING_END_ALGMOD);
      ALGMOD_Close(m->algorithmic);
      mdlAlgorithmicOpen = next == KW_END_ALGORITHMIC_MODEL;
      break;
    case KW_BEGIN_EMI_MODEL:
      if( next != KW_END_EMI_MODEL )
        MSG_ErrorCodeLine(MSGC_MDL_EMI_END_EXPECTED);
      mdlEmiOpen = next == KW_END_EMI_MODEL;
      break;
    case KW_EXTERNAL_MODEL:
      if( next != KW_END_EXTERNAL_MODEL ) {
        MSG_ErrorCodeLine(MSGC_MDL_EXPECTING_END_EXTERNAL);
        XMDL_Close(m->external, m->name, m->type,
                   m->type > MDL_TYPE_NONE ? MDL_TypeName(m->type) : NULL);
      }
      break;
  }
}

/* Whether a keyword code belongs to a model. */
static int mdlIsModelKeyword(int code) {
  return (code >= KW_EXTERNAL_MODEL && code <= KW_END_EMI_MODEL)
      || SECTION_IsNestedIn(SECTION_MODEL, code);
}

void MDL_EndSection(int previousCode, int newCode) {
  if( mdlOpen == NULL ) return;
  SECTION_NestedClose(previousCode, newCode);
  if( mdlIsModelKeyword(previousCode) )
    mdlCloseKeyword(mdlOpen, previousCode, newCode);
  if( newCode == KW_MODEL || !mdlIsModelKeyword(newCode) ) {
    MDL_EndModel(mdlOpen);
    mdlOpen = NULL;
    mdlKeyword = KW_NOT_KEY;
  }
}

/* ---- end of model ------------------------------------------------------ */

static void mdlCheckCcomp(const MDL_Model *m) {
  int i;
  for( i = 0; i < MDL_CCOMP_COUNT; i++ ) {
    if( m->ccompGiven[i] ) return;
  }
  if( m->external == NULL ) MSG_ErrorCode(MSGC_MDL_NO_C_COMP, m->name);
}

static void mdlCheckInputLevels(const MDL_Model *m) {
  if( !MDL_IsInputType(m->type) || m->thresholds ) return;
  if( !m->singleGiven[MDL_VINL] )
    MSG_WarningCode(MSGC_MDL_MUST_HAVE, m->name, MDL_TypeName(m->type), "Vinl");
  if( !m->singleGiven[MDL_VINH] )
    MSG_WarningCode(MSGC_MDL_MUST_HAVE, m->name, MDL_TypeName(m->type), "Vinh");
}

static void mdlCheckTerminator(const MDL_Model *m) {
  static const int which[4] = { MDL_RGND, MDL_RPOWER, MDL_RAC, MDL_CAC };
  static const char *const name[4] = { "Rgnd", "Rpower", "Rac", "Cac" };
  int i;
  if( m->type != MDL_TYPE_TERMINATOR ) {
    for( i = 0; i < 4; i++ ) {
      if( m->tripleGiven[which[i]] )
        MSG_ErrorCode(MSGC_MDL_NOT_TERMINATOR, m->name, name[i]);
    }
  }
  if( m->tripleGiven[MDL_RAC] && !m->tripleGiven[MDL_CAC] )
    MSG_ErrorCode(MSGC_MDL_CAC_NEEDED, m->name);
  if( m->tripleGiven[MDL_CAC] && !m->tripleGiven[MDL_RAC] )
    MSG_ErrorCode(MSGC_MDL_RAC_NEEDED, m->name);
}

static void mdlCheckReferences(const MDL_Model *m) {
  static const int which[4] = { MDL_PULLUP_REFERENCE, MDL_PULLDOWN_REFERENCE,
                                MDL_POWER_CLAMP_REFERENCE,
                                MDL_GND_CLAMP_REFERENCE };
  static const char *const name[4] = { "Pullup Reference", "Pulldown Reference",
                                       "POWER Clamp Reference",
                                       "GND Clamp Reference" };
  int i;
  if( m->tripleGiven[MDL_VOLTAGE_RANGE] ) return;
  for( i = 0; i < 4; i++ ) {
    if( !m->tripleGiven[which[i]] )
      MSG_ErrorCode(MSGC_MDL_REFERENCE_REQUIRED, m->name, name[i]);
  }
}

static void mdlCheckRamp(const MDL_Model *m) {
  int t = m->type;
  if( t == MDL_TYPE_INPUT || t == MDL_TYPE_INPUT_ECL || t == MDL_TYPE_TERMINATOR
      || t == MDL_TYPE_INPUT_DIFF )
    return;
  if( mdlIsSeries(t) ) {
    if( m->ramp ) MSG_ErrorCode(MSGC_MDL_RAMP_IN_SERIES, m->name);
  } else if( m->ramp == NULL ) {
    MSG_ErrorCode(MSGC_MDL_NO_RAMP, m->name);
  }
}

static void mdlCheckSeriesKeywords(const MDL_Model *m) {
  int code = m->type == MDL_TYPE_SERIES ? MSGC_MDL_NOT_IN_SERIES
                                        : MSGC_MDL_NOT_IN_SERIES_SWITCH;
  const char *present[9];
  int n = 0, i;
  if( !mdlIsSeries(m->type) ) return;
  if( m->table[MDL_PULLUP].line ) present[n++] = "Pullup";
  if( m->table[MDL_PULLDOWN].line ) present[n++] = "Pulldown";
  if( m->table[MDL_POWER_CLAMP].line ) present[n++] = "POWER_Clamp";
  if( m->table[MDL_GND_CLAMP].line ) present[n++] = "GND_Clamp";
  if( m->rising.count ) present[n++] = "Rising Waveform";
  if( m->falling.count ) present[n++] = "Falling Waveform";
  if( m->tripleGiven[MDL_TTGND] ) present[n++] = "TTgnd";
  if( m->tripleGiven[MDL_TTPOWER] ) present[n++] = "TTpower";
  if( m->schedule ) present[n++] = "Driver Schedule";
  for( i = 0; i < n; i++ ) MSG_ErrorCode(code, m->name, present[i]);
  if( m->spec ) MSG_WarningCode(code, m->name, "Model Spec");
  if( m->type == MDL_TYPE_SERIES ) {
    SINFO_Check(m->series[0], m->name, "");
    return;
  }
  if( m->series[0] )
    SINFO_Check(m->series[0], m->name, "[On]");
  else
    MSG_ErrorCode(MSGC_MDL_ON_REQUIRED, m->name);
  if( m->series[1] )
    SINFO_Check(m->series[1], m->name, "[Off]");
  else
    MSG_ErrorCode(MSGC_MDL_OFF_REQUIRED, m->name);
}

static void mdlCheckSupply(const MDL_Model *m) {
  static const int need[6] = { 0,
                               MDL_POWER_CLAMP_REFERENCE,
                               MDL_GND_CLAMP_REFERENCE,
                               MDL_PULLUP_REFERENCE,
                               MDL_PULLDOWN_REFERENCE,
                               MDL_EXTERNAL_REFERENCE };
  static const int code[6] = { 0,
                               MSGC_MDL_SUPPLY_POWER_CLAMP,
                               MSGC_MDL_SUPPLY_GND_CLAMP,
                               MSGC_MDL_SUPPLY_PULLUP,
                               MSGC_MDL_SUPPLY_PULLDOWN,
                               MSGC_MDL_SUPPLY_EXTERNAL };
  int s = m->thresholds ? m->thresholds->supply : 0;
  if( s > 0 && s <= RCVTH_SUPPLY_EXT && !m->tripleGiven[need[s]] )
    MSG_ErrorCode(code[s], m->name);
}

/* A timing test load value counts from the model or its [Model Spec]. */
static int mdlHasLoad(const MDL_Model *m, int single, int spec) {
  return m->singleGiven[single] || MSPEC_Has(m->spec, spec);
}

static void mdlCheckTimingLoad(const MDL_Model *m) {
  int t = m->type;
  int vmeas = mdlHasLoad(m, MDL_VMEAS, MSPEC_VMEAS);
  if( t == MDL_TYPE_OUTPUT || t == MDL_TYPE_IO || t == MDL_TYPE_3STATE ) {
    if( !vmeas ) MSG_WarningCode(MSGC_MDL_VMEAS_LOAD, m->name);
  } else if( (t >= MDL_TYPE_OPEN_DRAIN && t <= MDL_TYPE_IO_OPEN_SOURCE)
             || t == MDL_TYPE_OUTPUT_ECL || t == MDL_TYPE_IO_ECL
             || t == MDL_TYPE_3STATE_ECL ) {
    if( !vmeas || !mdlHasLoad(m, MDL_RREF, MSPEC_RREF)
        || !mdlHasLoad(m, MDL_VREF, MSPEC_VREF) )
      MSG_WarningCode(MSGC_MDL_VMEAS_VREF_RREF_LOAD, m->name);
  } else if( t == MDL_TYPE_IO_DIFF || t == MDL_TYPE_OUTPUT_DIFF
             || t == MDL_TYPE_3STATE_DIFF ) {
    if( !mdlHasLoad(m, MDL_RREF_DIFF, MSPEC_RREF_DIFF)
        && !mdlHasLoad(m, MDL_CREF_DIFF, MSPEC_CREF_DIFF) )
      MSG_WarningCode(MSGC_MDL_DIFF_LOAD, m->name);
  }
}

void MDL_EndModel(MDL_Model *model) {
  if( model == NULL ) return;
  mdlCheckCcomp(model);
  mdlCheckInputLevels(model);
  mdlCheckTerminator(model);
  mdlCheckReferences(model);
  mdlCheckRamp(model);
  mdlCheckSeriesKeywords(model);
  mdlCheckSupply(model);
  mdlCheckTimingLoad(model);
}

/* ---- after the file ---------------------------------------------------- */

static const char *mdlAmiName(void *model) {
  return ((MDL_Model *)model)->name;
}

static AlgExecList *mdlAmiExecs(void *model) {
  return ((MDL_Model *)model)->algorithmic;
}

/* An input-only model's parameter file is a receiver's, an output-only
** model's a transmitter's; an I/O model may be either. */
static int mdlAmiDirection(void *model) {
  int type = ((MDL_Model *)model)->type;
  int in = MDL_IsInputType(type), out = MDL_IsOutputType(type);
  if( in && !out ) return AMICHK_RX;
  if( out && !in ) return AMICHK_TX;
  return AMICHK_EITHER;
}

void MDL_CheckAmiFiles(IbisFile *file) {
  IbisItem *models = NULL;
  if( file == NULL || !IBIS_GetModels(file, &models) ) return;
  AMICHK_CheckModelFiles(models, mdlAmiName, mdlAmiExecs, mdlAmiDirection);
}

const ParseSection MDL_ParseSection = { MDL_Begin, MDL_EndSection, MDL_Line,
                                        MDL_Release, MDL_Reset };
