/*
** testdata.cpp: the [Test Data] section.
**
** A test data record is open from its [Test Data] line through the golden
** waveform keywords that follow it, and ends at any other keyword.  Its own
** data lines are subparameter lines "name value"; the data lines of a
** waveform keyword are rows of that table, read by the waveform routines.
** Leaving the [Test Data] lines checks the subparameters; leaving the
** record checks that it holds a waveform of its type.
*/
#include "IbisParser/testdata.h"

#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/testload.h"

#include <string.h>

#define TESTDATA_SRC "IbisParser/testdata"

/* Subparameter codes. */
enum { TD_TYPE = 1, TD_DRIVER_MODEL, TD_DRIVER_MODEL_INV, TD_TEST_LOAD };

static const char *const tdSubName[] = { "Test_data_type", "Driver_model",
                                         "Driver_model_inv", "Test_load" };

/* Each table's name and the message of its repeat, in record order. */
static const char *const tdWaveName[TESTDATA_WAVE_COUNT] = {
  "Rising Waveform Near",      "Falling Waveform Near",
  "Rising Waveform Far",       "Falling Waveform Far",
  "Diff Rising Waveform Near", "Diff Falling Waveform Near",
  "Diff Rising Waveform Far",  "Diff Falling Waveform Far"
};
static const int tdWaveTwice[TESTDATA_WAVE_COUNT] = {
  MSGC_TESTDATA_RISING_NEAR_TWICE,      MSGC_TESTDATA_FALLING_NEAR_TWICE,
  MSGC_TESTDATA_RISING_FAR_TWICE,       MSGC_TESTDATA_FALLING_FAR_TWICE,
  MSGC_TESTDATA_DIFF_RISING_NEAR_TWICE, MSGC_TESTDATA_DIFF_FALLING_NEAR_TWICE,
  MSGC_TESTDATA_DIFF_RISING_FAR_TWICE,  MSGC_TESTDATA_DIFF_FALLING_FAR_TWICE
};

static const TstCodes tdCodes = { TESTDATA_SRC,
                                  "TestData",
                                  "Test Data",
                                  MSGC_TESTDATA_EAT_KEYWORD,
                                  MSGC_TESTDATA_SAVE_NAME,
                                  MSGC_TESTDATA_MISSING_NAME,
                                  MSGC_TESTDATA_KEYWORD_ITEMS,
                                  MSGC_TESTDATA_NAME_TOO_LONG,
                                  MSGC_TESTDATA_RESERVED_NAME,
                                  MSGC_TESTDATA_NAME_REPEATED,
                                  MSGC_TESTDATA_ALREADY_DEFINED_FOR,
                                  MSGC_TESTDATA_MISSING_SETTING,
                                  MSGC_TESTDATA_INVALID_LINE,
                                  MSGC_TESTDATA_LINE_ITEMS,
                                  MSGC_TESTDATA_INVALID_TRY,
                                  MSGC_TESTDATA_INVALID_SETTING,
                                  MSGC_TESTDATA_VALUE_TOO_LONG,
                                  MSGC_TESTDATA_RESERVED_VALUE };

/* Per-file state. */
static TestData *tdOpen;   /* the current test data, or null */
static NameCount *tdNames; /* test data names of the file */

int TESTDATA_WaveOf(int code) {
  switch( code ) {
    case KW_RISING_WAVEFORM_NEAR:
      return TESTDATA_RISING_NEAR;
    case KW_FALLING_WAVEFORM_NEAR:
      return TESTDATA_FALLING_NEAR;
    case KW_RISING_WAVEFORM_FAR:
      return TESTDATA_RISING_FAR;
    case KW_FALLING_WAVEFORM_FAR:
      return TESTDATA_FALLING_FAR;
    case KW_DIFF_RISING_WAVEFORM_NEAR:
      return TESTDATA_DIFF_RISING_NEAR;
    case KW_DIFF_FALLING_WAVEFORM_NEAR:
      return TESTDATA_DIFF_FALLING_NEAR;
    case KW_DIFF_RISING_WAVEFORM_FAR:
      return TESTDATA_DIFF_RISING_FAR;
    case KW_DIFF_FALLING_WAVEFORM_FAR:
      return TESTDATA_DIFF_FALLING_FAR;
    default:
      return -1;
  }
}

/* ---- records ----------------------------------------------------------- */

void TESTDATA_Release(void *record) {
  TestData *d = (TestData *)record;
  int i;
  if( d == NULL ) return;
  if( d == tdOpen ) tdOpen = NULL;
  for( i = 0; i < TESTDATA_WAVE_COUNT; i++ ) WVFRM_Free(&d->wave[i]);
  CMN_FreeBlock(d);
}

void TESTDATA_Reset(void) {
  tdOpen = NULL;
  STRING_CountFree(&tdNames);
}

void TESTDATA_Init(void) {
  IbisFile *file;
  TestData *d = NULL;
  tdOpen = NULL;
  if( !IBIS_Current(&file) ) {
    MSG_BugCode(MSGC_TESTDATA_NO_IBIS, TESTDATA_SRC, __LINE__);
    return;
  }
  if( !CMN_Calloc(&d, sizeof(*d)) ) {
    MSG_BugCode(MSGC_TESTDATA_NO_MEMORY, TESTDATA_SRC, __LINE__);
    return;
  }
  if( !IBIS_Push(file, SECTION_TEST_DATA, d) ) {
    MSG_BugCode(MSGC_TESTDATA_NO_MEMORY, TESTDATA_SRC, __LINE__);
    CMN_FreeBlock(d);
    return;
  }
  tdOpen = d;
}

/* ---- lines ------------------------------------------------------------- */

static int tdLookUp(const char *name) {
  int i;
  for( i = 0; i < (int)(sizeof(tdSubName) / sizeof(tdSubName[0])); i++ ) {
    if( strcmp(name, tdSubName[i]) == 0 ) return i + 1;
  }
  return 0;
}

/* A name subparameter into `field` of `maximum` characters. */
static void tdName(TestData *d, char *field, unsigned maximum,
                   const CmnTokens *tok) {
  if( field[0] ) {
    MSG_ErrorCodeLine(MSGC_TESTDATA_ALREADY_DEFINED_FOR, tok->token[0],
                      d->name);
    return;
  }
  if( !TST_TwoTokens(&tdCodes, tok) ) return;
  TST_NameValue(&tdCodes, tok->token[0], tok->token[1], field, maximum);
}

static void tdType(TestData *d, const CmnTokens *tok) {
  if( d->Test_data_type != TST_TYPE_UNSET ) {
    MSG_ErrorCodeLine(MSGC_TESTDATA_ALREADY_DEFINED_FOR, tok->token[0],
                      d->name);
    return;
  }
  d->Test_data_type = TST_TYPE_INVALID;
  if( !TST_TwoTokens(&tdCodes, tok) ) return;
  d->Test_data_type = TST_TypeValue(&tdCodes, tok->token[0], tok->token[1]);
}

static void tdSubparameter(TestData *d, const char *text) {
  CmnTokens tok;
  if( !TST_Tokens(text, &tok) ) return;
  if( tok.found > 0 ) {
    switch( tdLookUp(tok.token[0]) ) {
      case 0:
        MSG_ErrorCodeLine(MSGC_TESTDATA_UNKNOWN_LINE);
        break;
      case TD_TYPE:
        tdType(d, &tok);
        break;
      case TD_DRIVER_MODEL:
        tdName(d, d->Driver_model, TST_ModelNameMax(), &tok);
        break;
      case TD_DRIVER_MODEL_INV:
        tdName(d, d->Driver_model_inv, TST_ModelNameMax(), &tok);
        break;
      case TD_TEST_LOAD:
        tdName(d, d->Test_load, TST_MAX_LOAD_REF, &tok);
        break;
      default:
        MSG_BugCodeLine(MSGC_TESTDATA_NOT_HERE, TESTDATA_SRC, __LINE__);
        break;
    }
  }
  CMN_FreeTokens(&tok);
}

/* A waveform keyword: a repeated table is reported and replaced. */
static void tdWaveKeyword(TestData *d, int w) {
  if( d->wave[w] ) {
    MSG_ErrorCodeLine(tdWaveTwice[w]);
    WVFRM_Free(&d->wave[w]);
  }
  d->wave[w] = WVFRM_NewGolden(tdWaveName[w]);
}

void TESTDATA_Line(int lineType, int code, char *text) {
  int w = TESTDATA_WaveOf(code);
  CMN_ASSERT(text != NULL, TESTDATA_SRC);
  if( tdOpen == NULL ) {
    MSG_ErrorCodeLine(lineType == SECTION_LINE_KEYWORD
                          ? MSGC_TESTDATA_ORPHAN_KEYWORD
                          : MSGC_TESTDATA_ORPHAN_DATA);
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD ) {
    if( code == KW_TEST_DATA )
      TST_NameLine(&tdCodes, text, tdOpen->name, &tdNames);
    else if( w >= 0 )
      tdWaveKeyword(tdOpen, w);
    else
      MSG_BugCodeLine(MSGC_TESTDATA_ILLEGAL_KEYWORD, TESTDATA_SRC, __LINE__);
    return;
  }
  if( code == KW_TEST_DATA )
    tdSubparameter(tdOpen, text);
  else if( w >= 0 )
    WVFRM_Line(tdOpen->wave[w], text);
  else
    MSG_ErrorCodeLine(MSGC_TESTDATA_ORPHAN_LINE);
}

/* ---- closing ----------------------------------------------------------- */

static void tdSubparameterChecks(const TestData *d) {
  if( d->Test_data_type == TST_TYPE_UNSET )
    MSG_ErrorCode(MSGC_TESTDATA_NOT_DEFINED, d->name, "Test_data_type");
  if( !d->Driver_model[0] )
    MSG_ErrorCode(MSGC_TESTDATA_NOT_DEFINED, d->name, "Driver_model");
  if( d->Driver_model_inv[0] && d->Test_data_type != TST_TYPE_DIFFERENTIAL )
    MSG_ErrorCode(MSGC_TESTDATA_INV_NOT_DIFF, d->name);
  if( !d->Test_load[0] )
    MSG_ErrorCode(MSGC_TESTDATA_NOT_DEFINED, d->name, "Test_load");
}

static void tdWaveChecks(const TestData *d) {
  int w, any = 0, diff = 0;
  for( w = 0; w < TESTDATA_WAVE_COUNT; w++ ) {
    if( d->wave[w] == NULL ) continue;
    any = 1;
    if( w >= TESTDATA_DIFF_RISING_NEAR ) diff = 1;
  }
  if( !any ) MSG_ErrorCode(MSGC_TESTDATA_NO_WAVEFORM, d->name);
  if( diff && d->Test_data_type != TST_TYPE_DIFFERENTIAL )
    MSG_ErrorCode(MSGC_TESTDATA_DIFF_WAVE_NOT_DIFF, d->name);
}

void TESTDATA_Close(int previousCode, int newCode) {
  TestData *d = tdOpen;
  int w;
  if( d == NULL ) return;
  if( previousCode == KW_TEST_DATA ) tdSubparameterChecks(d);
  if( (w = TESTDATA_WaveOf(previousCode)) >= 0 ) WVFRM_Close(d->wave[w]);
  if( TESTDATA_WaveOf(newCode) < 0 ) {
    tdOpen = NULL;
    tdWaveChecks(d);
  }
}

/* ---- after the file ---------------------------------------------------- */

/* Model types without driver behaviour. */
static int tdIsReceiverOnly(int type) {
  return type == MDL_TYPE_INPUT || type == MDL_TYPE_INPUT_ECL
      || type == MDL_TYPE_TERMINATOR || type == MDL_TYPE_SERIES
      || type == MDL_TYPE_SERIES_SWITCH;
}

/* One driver model of `d`; `asked` is non-null for the inverting one,
** which a differential pin must use. */
static void tdCheckDriver(const TestData *d, const char *name,
                          const NameIndex *models, NameIndex *asked) {
  MDL_Model *m = (MDL_Model *)NAMEIDX_Find(models, name);
  if( m == NULL ) {
    MSG_ErrorCode(asked ? MSGC_TESTDATA_INV_UNDEFINED
                        : MSGC_TESTDATA_DRIVER_UNDEFINED,
                  name, d->name);
    return;
  }
  if( tdIsReceiverOnly(m->type) )
    MSG_WarningCode(MSGC_TESTDATA_NOT_OUTPUT, name, d->name);
  if( asked && !TST_DiffPinUses(asked, m) )
    MSG_WarningCode(MSGC_TESTDATA_INV_NO_DIFF_PIN, name, d->name);
}

static void tdCheckModels(const TestData *d, int modelCount,
                          const NameIndex *models, NameIndex *asked) {
  if( !d->Driver_model[0] && !d->Driver_model_inv[0] ) return;
  if( modelCount == 0 ) {
    MSG_ErrorCode(MSGC_TESTDATA_NO_MODELS, d->name);
    return;
  }
  if( d->Driver_model[0] ) tdCheckDriver(d, d->Driver_model, models, NULL);
  if( d->Driver_model_inv[0] )
    tdCheckDriver(d, d->Driver_model_inv, models, asked);
}

static void tdCheckLoad(const TestData *d, int loadCount,
                        const NameIndex *loads) {
  const TestLoad *t;
  if( !d->Test_load[0] ) return;
  if( loadCount == 0 ) {
    MSG_ErrorCode(MSGC_TESTDATA_NO_TEST_LOADS, d->name);
    return;
  }
  t = (const TestLoad *)NAMEIDX_Find(loads, d->Test_load);
  if( t == NULL ) {
    MSG_ErrorCode(MSGC_TESTDATA_LOAD_UNDEFINED, d->Test_load, d->name);
    return;
  }
  /* A missing or invalid type was reported where it stood; comparing it
  ** again would only repeat that fault. */
  if( d->Test_data_type >= TST_TYPE_SINGLE_ENDED
      && t->Test_load_type >= TST_TYPE_SINGLE_ENDED
      && d->Test_data_type != t->Test_load_type )
    MSG_ErrorCode(MSGC_TESTDATA_TYPE_MISMATCH, d->name, t->name);
}

/* Indexes the file's test loads by name; returns how many there are. */
static int tdIndexLoads(IbisFile *file, NameIndex *loads) {
  IbisItem *item = NULL;
  int n = 0;
  if( !IBIS_GetTestLoads(file, &item) ) return 0;
  for( ; item; item = item->next ) {
    TestLoad *t = (TestLoad *)item->record;
    if( t == NULL ) continue;
    n++;
    if( t->name[0] ) NAMEIDX_Add(loads, t->name, t);
  }
  return n;
}

void TESTDATA_CheckRefs(IbisFile *file) {
  NameIndex models = { NULL, 0, 0 }, loads = { NULL, 0, 0 };
  NameIndex asked = { NULL, 0, 0 };
  IbisItem *item = NULL;
  int modelCount, loadCount;
  if( file == NULL || !IBIS_GetTestData(file, &item) ) return;
  modelCount = TST_IndexModels(file, &models);
  loadCount = tdIndexLoads(file, &loads);
  for( ; item; item = item->next ) {
    const TestData *d = (const TestData *)item->record;
    if( d == NULL ) continue;
    tdCheckModels(d, modelCount, &models, &asked);
    tdCheckLoad(d, loadCount, &loads);
  }
  NAMEIDX_Free(&models);
  NAMEIDX_Free(&loads);
  NAMEIDX_Free(&asked);
}

const ParseSection TESTDATA_ParseSection = { TESTDATA_Init, TESTDATA_Close,
                                             TESTDATA_Line, TESTDATA_Release,
                                             TESTDATA_Reset };
