/*
** testload.cpp: the [Test Load] section.
**
** A test load is open from its [Test Load] line to the next keyword line,
** where its end checks run.  Its data lines are subparameter lines "name =
** value" (the type and model names read "name value").  A line of the
** wrong shape leaves its subparameter unset, except the type, which then
** counts as given, so that one fault is not reported twice.
*/
#include "IbisParser/testload.h"

#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

#define TESTLOAD_SRC "IbisParser/testload"

/* Subparameter codes. */
enum {
  TL_TYPE = 1,
  TL_C1_NEAR = 2, /* through TL_C1_FAR: the values in record order */
  TL_C1_FAR = 15,
  TL_V_TERM1 = 16,
  TL_V_TERM2 = 17,
  TL_RECEIVER_MODEL = 18,
  TL_RECEIVER_MODEL_INV = 19,
  TL_R_DIFF_NEAR = 20,
  TL_R_DIFF_FAR = 21
};

static const char *const tlSubName[] = { "Test_load_type",
                                         "C1_near",
                                         "Rs_near",
                                         "Ls_near",
                                         "C2_near",
                                         "Rp1_near",
                                         "Rp2_near",
                                         "Td",
                                         "Zo",
                                         "Rp1_far",
                                         "Rp2_far",
                                         "C2_far",
                                         "Ls_far",
                                         "Rs_far",
                                         "C1_far",
                                         "V_term1",
                                         "V_term2",
                                         "Receiver_model",
                                         "Receiver_model_inv",
                                         "R_diff_near",
                                         "R_diff_far" };
#define TL_SUB_COUNT ((int)(sizeof(tlSubName) / sizeof(tlSubName[0])))

static const TstCodes tlCodes = { TESTLOAD_SRC,
                                  "TestLoad",
                                  "Test Load",
                                  MSGC_TESTLOAD_EAT_KEYWORD,
                                  MSGC_TESTLOAD_SAVE_NAME,
                                  MSGC_TESTLOAD_MISSING_NAME,
                                  MSGC_TESTLOAD_KEYWORD_ITEMS,
                                  MSGC_TESTLOAD_NAME_TOO_LONG,
                                  MSGC_TESTLOAD_RESERVED_NAME,
                                  MSGC_TESTLOAD_NAME_REPEATED,
                                  MSGC_TESTLOAD_ALREADY_DEFINED_FOR,
                                  MSGC_TESTLOAD_MISSING_SETTING,
                                  MSGC_TESTLOAD_INVALID_LINE,
                                  MSGC_TESTLOAD_LINE_ITEMS,
                                  MSGC_TESTLOAD_INVALID_TRY,
                                  MSGC_TESTLOAD_INVALID_SETTING,
                                  MSGC_TESTLOAD_VALUE_TOO_LONG,
                                  MSGC_TESTLOAD_RESERVED_VALUE };

/* Per-file state. */
static TestLoad *tlOpen;   /* the current test load, or null */
static NameCount *tlNames; /* test load names of the file */

/* ---- records ----------------------------------------------------------- */

void TESTLOAD_Release(void *record) {
  TestLoad *t = (TestLoad *)record;
  if( t == NULL ) return;
  if( t == tlOpen ) tlOpen = NULL;
  CMN_FreeBlock(t->V_term1);
  CMN_FreeBlock(t->V_term2);
  CMN_FreeBlock(t);
}

void TESTLOAD_Reset(void) {
  tlOpen = NULL;
  STRING_CountFree(&tlNames);
}

void TESTLOAD_Init(void) {
  IbisFile *file;
  TestLoad *t = NULL;
  tlOpen = NULL;
  if( !IBIS_Current(&file) ) {
    MSG_BugCode(MSGC_TESTLOAD_NO_IBIS, TESTLOAD_SRC, __LINE__);
    return;
  }
  if( !CMN_Calloc(&t, sizeof(*t)) ) {
    MSG_BugCode(MSGC_TESTLOAD_NO_MEMORY, TESTLOAD_SRC, __LINE__);
    return;
  }
  if( !IBIS_Push(file, SECTION_TEST_LOAD, t) ) {
    MSG_BugCode(MSGC_TESTLOAD_NO_MEMORY, TESTLOAD_SRC, __LINE__);
    CMN_FreeBlock(t);
    return;
  }
  tlOpen = t;
}

/* ---- subparameter lines ------------------------------------------------ */

static int tlLookUp(const char *name) {
  int i;
  for( i = 0; i < TL_SUB_COUNT; i++ ) {
    if( strcmp(name, tlSubName[i]) == 0 ) return i + 1;
  }
  return 0;
}

static void tlType(TestLoad *t, const CmnTokens *tok) {
  if( t->Test_load_type != TST_TYPE_UNSET ) {
    MSG_ErrorCodeLine(MSGC_TESTLOAD_ALREADY_DEFINED_FOR, tok->token[0],
                      t->name);
    return;
  }
  t->Test_load_type = TST_TYPE_INVALID;
  if( !TST_TwoTokens(&tlCodes, tok) ) return;
  t->Test_load_type = TST_TypeValue(&tlCodes, tok->token[0], tok->token[1]);
}

/* "name = value": the value of slot `v`. */
static void tlNumber(TestLoad *t, int v, const CmnTokens *tok) {
  const char *sub = tok->token[0];
  double x;
  if( t->given[v] ) {
    MSG_ErrorCodeLine(MSGC_TESTLOAD_ALREADY_DEFINED, sub);
    return;
  }
  if( tok->found < 3 ) {
    MSG_ErrorCodeLine(MSGC_TESTLOAD_INVALID_LINE, sub);
    return;
  }
  if( tok->found > 3 )
    MSG_ErrorCodeLine(MSGC_TESTLOAD_LINE_ITEMS, tok->found, sub, 3);
  if( strcmp(tok->token[1], "=") != 0 ) {
    MSG_ErrorCodeLine(MSGC_TESTLOAD_INVALID_LINE, sub);
    return;
  }
  if( !CMN_ParseNumber(tok->token[2], &x) ) {
    MSG_ErrorCodeLine(MSGC_TESTLOAD_INVALID_VALUE, sub, tok->token[2]);
    return;
  }
  t->value[v] = x;
  t->given[v] = 1;
}

/* V_term1 or V_term2: a value triple after the name. */
static void tlTriple(TestLoad *t, RNG_TypMinMax **slot, const char *sub,
                     char *text) {
  RngItems items;
  RNG_TypMinMax v;
  if( *slot ) {
    MSG_ErrorCodeLine(MSGC_TESTLOAD_ALREADY_DEFINED_FOR, sub, t->name);
    return;
  }
  RNG_SplitNamed(text, &items, NULL);
  if( items.count < 1 ) return;
  if( !RNG_Read(items.item + 1, items.count - 1, sub, &v) ) return;
  if( v.state[RNG_TYP] == CMN_VALUE_NA )
    MSG_ErrorCodeLine(MSGC_TESTLOAD_NA_TYPICAL);
  if( !CMN_Calloc(slot, sizeof(**slot)) ) {
    MSG_BugCode(MSGC_TESTLOAD_NO_MEMORY, TESTLOAD_SRC, __LINE__);
    return;
  }
  **slot = v;
}

static void tlModelName(TestLoad *t, char *field, const CmnTokens *tok) {
  if( field[0] ) {
    MSG_ErrorCodeLine(MSGC_TESTLOAD_ALREADY_DEFINED_FOR, tok->token[0],
                      t->name);
    return;
  }
  if( !TST_TwoTokens(&tlCodes, tok) ) return;
  TST_NameValue(&tlCodes, tok->token[0], tok->token[1], field,
                TST_ModelNameMax());
}

static void tlDispatch(TestLoad *t, int code, const CmnTokens *tok,
                       char *text) {
  if( code == TL_TYPE ) {
    tlType(t, tok);
  } else if( code >= TL_C1_NEAR && code <= TL_C1_FAR ) {
    tlNumber(t, TESTLOAD_C1_NEAR + code - TL_C1_NEAR, tok);
  } else if( code == TL_V_TERM1 || code == TL_V_TERM2 ) {
    tlTriple(t, code == TL_V_TERM1 ? &t->V_term1 : &t->V_term2, tok->token[0],
             text);
  } else if( code == TL_RECEIVER_MODEL ) {
    tlModelName(t, t->Receiver_model, tok);
  } else if( code == TL_RECEIVER_MODEL_INV ) {
    tlModelName(t, t->Receiver_model_inv, tok);
  } else if( code == TL_R_DIFF_NEAR || code == TL_R_DIFF_FAR ) {
    tlNumber(t, TESTLOAD_R_DIFF_NEAR + code - TL_R_DIFF_NEAR, tok);
  } else {
    MSG_BugCodeLine(MSGC_TESTLOAD_NOT_HERE, TESTLOAD_SRC, __LINE__);
  }
}

static void tlSubparameter(TestLoad *t, char *text) {
  CmnTokens tok;
  int code;
  if( !TST_Tokens(text, &tok) ) return;
  if( tok.found > 0 ) {
    code = tlLookUp(tok.token[0]);
    if( code == 0 )
      MSG_ErrorCodeLine(MSGC_TESTLOAD_UNKNOWN_LINE);
    else
      tlDispatch(t, code, &tok, text);
  }
  CMN_FreeTokens(&tok);
}

void TESTLOAD_Line(int lineType, int code, char *text) {
  CMN_ASSERT(text != NULL, TESTLOAD_SRC);
  if( tlOpen == NULL ) {
    MSG_ErrorCodeLine(lineType == SECTION_LINE_KEYWORD
                          ? MSGC_TESTLOAD_ORPHAN_KEYWORD
                          : MSGC_TESTLOAD_ORPHAN_DATA);
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD ) {
    if( code == KW_TEST_LOAD )
      TST_NameLine(&tlCodes, text, tlOpen->name, &tlNames);
    else
      MSG_BugCodeLine(MSGC_TESTLOAD_ILLEGAL_KEYWORD, TESTLOAD_SRC, __LINE__);
    return;
  }
  if( code == KW_TEST_LOAD )
    tlSubparameter(tlOpen, text);
  else
    MSG_ErrorCodeLine(MSGC_TESTLOAD_ORPHAN_LINE);
}

/* ---- end of the test load ---------------------------------------------- */

static void tlEndChecks(const TestLoad *t) {
  const int *g = t->given;
  if( t->Test_load_type == TST_TYPE_UNSET )
    MSG_ErrorCode(MSGC_TESTLOAD_NOT_DEFINED, t->name, "Test_load_type");
  if( g[TESTLOAD_TD] && !g[TESTLOAD_ZO] )
    MSG_ErrorCode(MSGC_TESTLOAD_TD_WITHOUT_ZO, t->name);
  if( (g[TESTLOAD_RP1_NEAR] || g[TESTLOAD_RP1_FAR]) && t->V_term1 == NULL )
    MSG_ErrorCode(MSGC_TESTLOAD_RP1_WITHOUT_VTERM1, t->name);
  if( (g[TESTLOAD_RP2_NEAR] || g[TESTLOAD_RP2_FAR]) && t->V_term2 == NULL )
    MSG_ErrorCode(MSGC_TESTLOAD_RP2_WITHOUT_VTERM2, t->name);
  if( t->Test_load_type == TST_TYPE_DIFFERENTIAL ) return;
  if( g[TESTLOAD_R_DIFF_NEAR] )
    MSG_WarningCode(MSGC_TESTLOAD_R_DIFF_NEAR_NOT_DIFF, t->name);
  if( g[TESTLOAD_R_DIFF_FAR] )
    MSG_WarningCode(MSGC_TESTLOAD_R_DIFF_FAR_NOT_DIFF, t->name);
  if( t->Receiver_model_inv[0] )
    MSG_WarningCode(MSGC_TESTLOAD_INV_NOT_DIFF, t->name);
}

void TESTLOAD_Close(int previousCode, int newCode) {
  TestLoad *t = tlOpen;
  (void)previousCode;
  (void)newCode;
  if( t == NULL ) return;
  tlOpen = NULL;
  tlEndChecks(t);
}

/* ---- after the file ---------------------------------------------------- */

/* Model types without receiver behaviour. */
static int tlIsDriverOnly(int type) {
  switch( type ) {
    case MDL_TYPE_OUTPUT:
    case MDL_TYPE_3STATE:
    case MDL_TYPE_OPEN_DRAIN:
    case MDL_TYPE_OPEN_SINK:
    case MDL_TYPE_OPEN_SOURCE:
    case MDL_TYPE_OUTPUT_ECL:
    case MDL_TYPE_SERIES:
    case MDL_TYPE_SERIES_SWITCH:
    case MDL_TYPE_3STATE_ECL:
      return 1;
    default:
      return 0;
  }
}

/* One receiver model of `t`; `asked` is non-null for the inverting one,
** which a differential pin must use. */
static void tlCheckReceiver(const TestLoad *t, const char *name,
                            const NameIndex *models, NameIndex *asked) {
  MDL_Model *m = (MDL_Model *)NAMEIDX_Find(models, name);
  if( m == NULL ) {
    MSG_ErrorCode(asked ? MSGC_TESTLOAD_INV_UNDEFINED
                        : MSGC_TESTLOAD_RECEIVER_UNDEFINED,
                  name, t->name);
    return;
  }
  if( tlIsDriverOnly(m->type) )
    MSG_WarningCode(MSGC_TESTLOAD_NOT_INPUT, name, t->name);
  if( asked && !TST_DiffPinUses(asked, m) )
    MSG_WarningCode(MSGC_TESTLOAD_INV_NO_DIFF_PIN, name, t->name);
}

void TESTLOAD_CheckModels(IbisFile *file) {
  NameIndex models = { NULL, 0, 0 }, asked = { NULL, 0, 0 };
  IbisItem *item = NULL;
  int modelCount;
  if( file == NULL || !IBIS_GetTestLoads(file, &item) ) return;
  modelCount = TST_IndexModels(file, &models);
  for( ; item; item = item->next ) {
    const TestLoad *t = (const TestLoad *)item->record;
    if( t == NULL || (!t->Receiver_model[0] && !t->Receiver_model_inv[0]) )
      continue;
    /* One report for the test load, not one per name it gives. */
    if( modelCount == 0 ) {
      MSG_ErrorCode(MSGC_TESTLOAD_NO_MODELS, t->name);
      continue;
    }
    if( t->Receiver_model[0] )
      tlCheckReceiver(t, t->Receiver_model, &models, NULL);
    if( t->Receiver_model_inv[0] )
      tlCheckReceiver(t, t->Receiver_model_inv, &models, &asked);
  }
  NAMEIDX_Free(&models);
  NAMEIDX_Free(&asked);
}

const ParseSection TESTLOAD_ParseSection = { TESTLOAD_Init, TESTLOAD_Close,
                                             TESTLOAD_Line, TESTLOAD_Release,
                                             TESTLOAD_Reset };
