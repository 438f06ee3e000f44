/*
** cmpnt.cpp: the [Component] section: the component record, the routing
** of every component keyword and data line to its module, the column
** headers of the table keywords, and the checks at the end of each
** component.  The after-file cross-checks are in cmpntchk.cpp.
**
** The open component and the keyword whose lines are being read are
** per-file state, forgotten by CMPNT_Reset at the start of each file.  The
** tails of the component's lists are kept here so that every line is
** appended in constant time.
*/
#include "IbisParser/cmpnt.h"

#include "IbisParser/apkg.h"
#include "IbisParser/cmn.h"
#include "IbisParser/cmpntidx.h"
#include "IbisParser/difpin.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/pinmpg.h"
#include "IbisParser/pkg.h"
#include "IbisParser/rng.h"

#include <string.h>

#define CMPNT_SRC "IbisParser/cmpnt"

/* Per-file state: the open component and what its lines need. */
static struct {
  CMPNT_Component *current;
  int previous; /* the section's previous keyword, or -1 */
  int manufacturer;
  int position[3]; /* columns of R_pin, L_pin, C_pin among the last three */
  int apkgSeen;
  int emiOpen;
  PIN_Pin *pinTail;
  PINMPG_PinMapping *mappingTail;
  DIFPIN_DiffPin *diffTail;
  APKG_Name *apkgTail;
  SSWCH_Group *groupTail;
  SPINMPG_Entry *seriesTail;
  NameIndex mapped;    /* pins of the pin mapping so far */
  NameIndex apkgNames; /* names of the alternate package list so far */
} cmpnt;

/* ---- records ------------------------------------------------------------ */

static void cmpntForget(void) {
  NAMEIDX_Free(&cmpnt.mapped);
  NAMEIDX_Free(&cmpnt.apkgNames);
  memset(&cmpnt, 0, sizeof(cmpnt));
  cmpnt.previous = -1;
  cmpnt.position[0] = 0;
  cmpnt.position[1] = 1;
  cmpnt.position[2] = 2;
}

void CMPNT_Reset(void) {
  cmpntForget();
  CMPNT_ForgetDiffPins();
  SSWCH_Reset();
  CMPNTEMI_Reset();
}

void CMPNT_Release(void *record) {
  CMPNT_Component *c = (CMPNT_Component *)record;
  if( c == NULL ) return;
  if( c == cmpnt.current ) cmpntForget();
  PIN_FreeList(&c->pins);
  NAMEIDX_Free(&c->pinIndex);
  PINMPG_FreeList(&c->pinMappings);
  DIFPIN_FreeList(&c->diffPins);
  PKG_Free(&c->package);
  SSWCH_FreeList(&c->switchGroups);
  SPINMPG_FreeList(&c->seriesPinMappings);
  APKG_FreeList(&c->alternatePackages);
  NODE_FreeList(&c->nodes);
  CIRCUIT_FreeList(&c->circuitCalls);
  CMPNTEMI_Free(&c->emi);
  CMN_FreeBlock(c);
}

void CMPNT_Begin(void) {
  IbisFile *file;
  CMPNT_Component *c = NULL;
  CMPNT_Reset();
  if( !IBIS_Current(&file) ) {
    MSG_BugCodeLine(MSGC_CMPNT_NO_IBIS, CMPNT_SRC, __LINE__);
    return;
  }
  if( !CMN_Calloc(&c, sizeof(*c)) ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_NO_MEMORY);
    return;
  }
  if( !IBIS_Append(file, SECTION_COMPONENT, c) ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_NO_MEMORY);
    CMN_FreeBlock(c);
    return;
  }
  cmpnt.current = c;
}

CMPNT_Component *CMPNT_Current(void) { return cmpnt.current; }

PIN_Pin *CMPNT_FindPin(const CMPNT_Component *component, const char *name) {
  if( component == NULL || name == NULL ) return NULL;
  return (PIN_Pin *)NAMEIDX_Find(&component->pinIndex, name);
}

/* ---- closing ------------------------------------------------------------ */

static int cmpntIsEmiCode(int code) {
  return code >= KW_BEGIN_EMI_COMPONENT && code <= KW_PIN_DOMAIN_EMI;
}

static int cmpntIsOwnCode(int code) {
  return (code >= KW_MANUFACTURER && code <= KW_END_CIRCUIT_CALL)
      || cmpntIsEmiCode(code) || SECTION_IsNestedIn(SECTION_COMPONENT, code);
}

/* The checks when the component ends. */
static void cmpntEnd(CMPNT_Component *c) {
  if( !cmpnt.manufacturer ) MSG_ErrorCode(MSGC_CMPNT_NO_MANUFACTURER, c->name);
  if( c->package )
    PKG_CheckComplete(c->package, c->name);
  else
    MSG_ErrorCode(MSGC_CMPNT_NO_PACKAGE, c->name);
}

void CMPNT_Close(int previousCode, int newCode) {
  SECTION_NestedClose(previousCode, newCode);
  SSWCH_EndKeyword();
  /* A keyword after one of the EMI block's keywords may end the block. */
  if( cmpntIsEmiCode(cmpnt.previous) ) CMPNTEMI_Close(newCode);
  if( cmpntIsOwnCode(newCode) || cmpnt.current == NULL ) return;
  if( cmpnt.previous == KW_ALTERNATE_PACKAGE_MODELS )
    MSG_ErrorCodeLine(MSGC_CMPNT_EXPECTING_END_APKG);
  cmpntEnd(cmpnt.current);
  cmpntForget();
  SSWCH_Reset();
}

/* ---- column headers ----------------------------------------------------- */

typedef struct CmpntHeader {
  const char *label;        /* names the keyword in 528 */
  const char *const *names; /* the fixed names after the keyword's column */
  int fixed;                /* how many */
  int required;             /* the first ones every header must give */
} CmpntHeader;

/* Splits the header; 0 after 528 when it is empty. */
static int cmpntHeaderWords(char *rest, const char *label, RngItems *items) {
  RNG_Split(rest, items);
  if( items->count == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_NO_COLUMN_HEADERS, label);
    return 0;
  }
  return 1;
}

/* 529 for each fixed name that is missing or different. */
static void cmpntFixedNames(const RngItems *items, const CmpntHeader *h,
                            int upTo) {
  int i;
  for( i = 0; i < h->fixed && i < upTo; i++ ) {
    if( i >= items->count ) {
      if( i < h->required )
        MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_MISSING, h->names[i]);
    } else if( i >= RNG_MAX_ITEMS
               || !CMN_StrEqualNoCase(items->item[i], h->names[i]) ) {
      MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_MISSING, h->names[i]);
    }
  }
}

static void cmpntPinHeader(CMPNT_Component *c, char *rest) {
  static const char *const names[] = { "signal_name", "model_name" };
  static const char *const rlc[3] = { "R_pin", "L_pin", "C_pin" };
  static const CmpntHeader h = { "Pin", names, 2, 2 };
  RngItems items;
  int seen[3] = { 0, 0, 0 }, i, k;
  if( c->pinColumns ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_DUPLICATE_PIN);
    return;
  }
  c->pinColumns = 1;
  if( !cmpntHeaderWords(rest, h.label, &items) ) return;
  cmpntFixedNames(&items, &h, 2);
  for( i = 2; i < items.count && i < 5; i++ ) {
    for( k = 0; k < 3 && !CMN_StrEqualNoCase(items.item[i], rlc[k]); k++ ) {}
    if( k == 3 ) {
      MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_UNKNOWN, items.item[i]);
    } else if( seen[k] ) {
      MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_DUPLICATE, items.item[i]);
    } else {
      seen[k] = 1;
      cmpnt.position[k] = i - 2;
    }
  }
  c->pinColumns = items.count + 1;
  if( c->pinColumns != 3 && c->pinColumns != 6 )
    MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_COUNT, "Pin", 3, 6, c->pinColumns);
}

static void cmpntPinMappingHeader(CMPNT_Component *c, char *rest) {
  static const char *const names[] = { "pulldown_ref", "pullup_ref",
                                       "gnd_clamp_ref", "power_clamp_ref",
                                       "ext_ref" };
  static const CmpntHeader h = { "Pin_Mapping", names, 5, 2 };
  RngItems items;
  int n;
  if( c->pinMappingColumns ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_DUPLICATE_PIN_MAPPING);
    return;
  }
  c->pinMappingColumns = 1;
  if( !cmpntHeaderWords(rest, h.label, &items) ) return;
  cmpntFixedNames(&items, &h, h.fixed);
  n = c->pinMappingColumns = items.count + 1;
  if( PARSE_GetDispatchVersion() < 4 ) {
    if( n != 3 && n != 5 )
      MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_COUNT, "Pin_Mappings", 3, 5, n);
  } else if( n != 3 && n != 5 && n != 6 ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_PIN_MAPPING_COLUMNS, n);
  }
}

static void cmpntDiffPinHeader(CMPNT_Component *c, char *rest) {
  static const char *const names[] = { "inv_pin", "vdiff", "tdelay_typ",
                                       "tdelay_min", "tdelay_max" };
  static const CmpntHeader h = { "Diff_Pins", names, 5, 3 };
  RngItems items;
  int n;
  if( c->diffPinColumns ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_DUPLICATE_DIFF_PIN);
    return;
  }
  c->diffPinColumns = 1;
  if( !cmpntHeaderWords(rest, h.label, &items) ) return;
  cmpntFixedNames(&items, &h, h.fixed);
  n = c->diffPinColumns = items.count + 1;
  if( n != 4 && n != 6 )
    MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_COUNT, "Diff_Pins", 4, 6, n);
}

static void cmpntSeriesPinMappingHeader(CMPNT_Component *c, char *rest) {
  static const char *const names[] = { "pin_2", "model_name",
                                       "function_table_group" };
  static const CmpntHeader h = { "Series_Pin_Mapping", names, 3, 2 };
  RngItems items;
  int n;
  if( c->seriesPinMappingColumns ) {
    /* The later table replaces the earlier one. */
    MSG_ErrorCodeLine(MSGC_CMPNT_DUPLICATE_SERIES_PIN_MAPPING);
    SPINMPG_FreeList(&c->seriesPinMappings);
    cmpnt.seriesTail = NULL;
  }
  c->seriesPinMappingColumns = 1;
  if( !cmpntHeaderWords(rest, h.label, &items) ) return;
  cmpntFixedNames(&items, &h, h.fixed);
  if( items.count > h.fixed ) MSG_ErrorCodeLine(MSGC_CMPNT_SERIES_EXTRA_COLUMN);
  n = c->seriesPinMappingColumns = items.count + 1;
  if( n != 3 && n != 4 )
    MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_COUNT, "Series_Pin_Mappings", 3, 4, n);
}

/* ---- keyword lines ------------------------------------------------------ */

static void cmpntNameKeyword(CMPNT_Component *c, const char *rest) {
  const char *p;
  CMN_CopyOnce(c->name, rest, CMPNT_MAX_NAME, "Component");
  for( p = c->name; *p; p++ ) {
    if( CMN_IsSpace((unsigned char)*p) ) {
      MSG_WarningCodeLine(MSGC_CMPNT_BLANK_IN_NAME, c->name);
      break;
    }
  }
  CMN_CheckReservedWord(c->name);
}

static void cmpntPackageKeyword(CMPNT_Component *c, const char *rest) {
  if( c->package ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_DUPLICATE_PACKAGE);
    return;
  }
  if( *rest ) MSG_ErrorCodeLine(MSGC_CMPNT_DATA_AFTER_PACKAGE);
  if( !PKG_New(&c->package) )
    MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, "Package");
}

static void cmpntSwitchGroupsKeyword(CMPNT_Component *c, char *rest) {
  RngItems items;
  if( c->switchGroups ) MSG_ErrorCodeLine(MSGC_CMPNT_DUPLICATE_SWITCH_GROUPS);
  RNG_Split(rest, &items);
  if( items.count )
    MSG_ErrorCodeLine(MSGC_CMPNT_SUBPARAM_ITEMS, items.count + 1,
                      "Series_Switch_Groups", 1);
}

static void cmpntApkgKeyword(CMPNT_Component *c, int code, const char *rest) {
  if( code == KW_ALTERNATE_PACKAGE_MODELS ) {
    if( cmpnt.apkgSeen )
      MSG_ErrorCodeLine(MSGC_CMPNT_DUPLICATE_APKG);
    else if( *rest )
      MSG_ErrorCodeLine(MSGC_CMPNT_DATA_AFTER_APKG);
    cmpnt.apkgSeen = 1;
    return;
  }
  if( *rest ) MSG_ErrorCodeLine(MSGC_CMPNT_DATA_AFTER_END_APKG);
  switch( APKG_CountUpTo2(c->alternatePackages) ) {
    case 0:
      MSG_ErrorCodeLine(MSGC_APKG_EMPTY);
      break;
    case 1:
      MSG_WarningCodeLine(MSGC_APKG_ONE);
      break;
    default:
      break;
  }
}

static void cmpntNodesKeyword(CMPNT_Component *c) {
  if( c->nodes ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_DUPLICATE_NODES);
    return;
  }
  if( !NODE_NewList(&c->nodes) ) MSG_ErrorCodeLine(MSGC_CMPNT_NODE_LIST_FAILED);
}

static void cmpntCircuitCallKeyword(CMPNT_Component *c, const char *rest) {
  CIRCUIT_Call *call = NULL;
  if( !CIRCUIT_New(&call) ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_CIRCUIT_CALL_FAILED);
    return;
  }
  CMN_CopyOnce(call->name, rest, CIRCUIT_MAX_NAME, "Circuit Call");
  call->line = PARSE_GetLineNumber();
  call->next = c->circuitCalls;
  c->circuitCalls = call;
}

/* The keyword's own action, with `rest` the text after its ']'. */
static void cmpntKeywordAction(CMPNT_Component *c, int code, char *text,
                               char *rest) {
  switch( code ) {
    case KW_COMPONENT:
      cmpntNameKeyword(c, rest);
      break;
    case KW_MANUFACTURER:
      CMN_CopyOnce(c->manufacturer, rest, CMPNT_MAX_MANUFACTURER,
                   "Manufacturer");
      cmpnt.manufacturer = 1;
      break;
    case KW_PACKAGE:
      cmpntPackageKeyword(c, rest);
      break;
    case KW_PIN:
      cmpntPinHeader(c, rest);
      break;
    case KW_PACKAGE_MODEL:
      CMN_CopyOnce(c->packageModel, rest, CMPNT_MAX_PACKAGE_MODEL,
                   "Package_Model");
      CMN_CheckReservedWord(c->packageModel);
      break;
    case KW_PIN_MAPPING:
      cmpntPinMappingHeader(c, rest);
      break;
    case KW_DIFF_PIN:
      cmpntDiffPinHeader(c, rest);
      break;
    case KW_SERIES_SWITCH_GROUPS:
      cmpntSwitchGroupsKeyword(c, rest);
      break;
    case KW_SERIES_PIN_MAPPING:
      cmpntSeriesPinMappingHeader(c, rest);
      break;
    case KW_ALTERNATE_PACKAGE_MODELS:
    case KW_END_ALTERNATE_PACKAGE_MODELS:
      cmpntApkgKeyword(c, code, rest);
      break;
    case KW_NODE_DECLARATIONS:
      cmpntNodesKeyword(c);
      break;
    case KW_END_NODE_DECLARATIONS:
    case KW_END_CIRCUIT_CALL:
      break;
    case KW_CIRCUIT_CALL:
      cmpntCircuitCallKeyword(c, rest);
      break;
    default:
      if( cmpntIsEmiCode(code) ) {
        CMPNTEMI_Line(SECTION_LINE_KEYWORD, code, text, &c->emi);
        break;
      }
      MSG_BugCodeLine(MSGC_CMPNT_ILLEGAL_KEYWORD, CMPNT_SRC, __LINE__);
      break;
  }
}

static void cmpntKeyword(CMPNT_Component *c, int code, char *text) {
  char *rest = text;
  if( code == KW_END_ALTERNATE_PACKAGE_MODELS
      && cmpnt.previous != KW_ALTERNATE_PACKAGE_MODELS )
    MSG_ErrorCodeLine(MSGC_CMPNT_UNEXPECTED_END_APKG);
  else if( code != KW_END_ALTERNATE_PACKAGE_MODELS
           && cmpnt.previous == KW_ALTERNATE_PACKAGE_MODELS )
    MSG_ErrorCodeLine(MSGC_CMPNT_EXPECTING_END_APKG);
  if( cmpnt.emiOpen && code != KW_END_EMI_COMPONENT && code != KW_PIN_EMI
      && code != KW_PIN_DOMAIN_EMI ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_EMI_UNEXPECTED_KEYWORD);
    cmpnt.emiOpen = 0;
  }
  if( code == KW_BEGIN_EMI_COMPONENT ) cmpnt.emiOpen = 1;
  if( code == KW_END_EMI_COMPONENT ) cmpnt.emiOpen = 0;
  CMN_SkipPastBracket(&rest);
  cmpnt.previous = code;
  /* The keywords of IBIS 6.0 and later are read by their own modules. */
  if( SECTION_NestedLine(SECTION_LINE_KEYWORD, code, text) ) return;
  cmpntKeywordAction(c, code, text, rest);
}

/* ---- data lines --------------------------------------------------------- */

/* Si_location or Timing_location: Pin or Die. */
static void cmpntSubParam(CMPNT_Component *c, char *text) {
  static const char *const word[2] = { "Pin", "Die" };
  static const int value[2] = { CMPNT_LOCATION_PIN, CMPNT_LOCATION_DIE };
  CmnTokens t;
  int *slot, k;
  const char *name;
  if( !CMN_SplitTokens(text, 2, 0, &t) ) {
    MSG_BugCodeLine(MSGC_CMPNT_SPLIT_FAILED, "Component Sub-Parameter",
                    CMPNT_SRC, __LINE__);
    return;
  }
  name = t.found > 0 ? t.token[0] : "";
  if( strcmp(name, "Si_location") == 0 )
    slot = &c->siLocation;
  else if( strcmp(name, "Timing_location") == 0 )
    slot = &c->timingLocation;
  else {
    MSG_ErrorCodeLine(MSGC_CMPNT_UNKNOWN_SUBPARAM);
    CMN_FreeTokens(&t);
    return;
  }
  if( *slot != CMPNT_LOCATION_NONE )
    MSG_ErrorCodeLine(MSGC_CMPNT_SUBPARAM_DEFINED, name, c->name);
  *slot = CMPNT_LOCATION_INVALID;
  if( t.found == 1 )
    MSG_ErrorCodeLine(MSGC_CMPNT_SUBPARAM_NO_SETTING, name);
  else if( t.found != 2 )
    MSG_ErrorCodeLine(MSGC_CMPNT_SUBPARAM_ITEMS, t.found, name, 2);
  else {
    for( k = 0; k < 2 && strcmp(t.token[1], word[k]) != 0; k++ ) {}
    if( k < 2 ) {
      *slot = value[k];
    } else {
      for( k = 0; k < 2 && !CMN_StrEqualNoCase(t.token[1], word[k]); k++ ) {}
      if( k < 2 )
        MSG_ErrorCodeLine(MSGC_CMPNT_SUBPARAM_CASE, name, t.token[1], word[k]);
      else
        MSG_ErrorCodeLine(MSGC_CMPNT_SUBPARAM_INVALID, name, t.token[1]);
    }
  }
  CMN_FreeTokens(&t);
}

static void cmpntSeriesData(CMPNT_Component *c, int code, char *text) {
  if( code == KW_SERIES_SWITCH_GROUPS ) {
    SSWCH_Group *g = NULL;
    if( !SSWCH_ReadLine(text, &g) || g == NULL ) {
      MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, "Series_Switch_Group");
      return;
    }
    /* A continued group comes back again: it is already the tail. */
    if( g == cmpnt.groupTail ) return;
    if( cmpnt.groupTail )
      cmpnt.groupTail->next = g;
    else
      c->switchGroups = g;
    cmpnt.groupTail = g;
  } else {
    SPINMPG_Entry *e = NULL;
    if( !SPINMPG_ReadLine(text, c->seriesPinMappingColumns, &e) || e == NULL ) {
      MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, "Series_Pin_Mapping");
      return;
    }
    if( cmpnt.seriesTail )
      cmpnt.seriesTail->next = e;
    else
      c->seriesPinMappings = e;
    cmpnt.seriesTail = e;
  }
}

static void cmpntData(CMPNT_Component *c, int code, char *text) {
  switch( code ) {
    case KW_COMPONENT:
      if( PARSE_GetDispatchVersion() < 3 )
        MSG_ErrorCodeLine(MSGC_CMPNT_DATA_AFTER_COMPONENT);
      else
        cmpntSubParam(c, text);
      break;
    case KW_MANUFACTURER:
      MSG_ErrorCodeLine(MSGC_CMPNT_DATA_AFTER_MANUFACTURER);
      break;
    case KW_PACKAGE:
      if( c->package ) PKG_ReadLine(c->package, text);
      break;
    case KW_PIN:
      if( !PIN_ReadLine(c, text, cmpnt.position, &cmpnt.pinTail) )
        MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, "Pin");
      break;
    case KW_PACKAGE_MODEL:
      MSG_ErrorCodeLine(MSGC_CMPNT_DATA_AFTER_PACKAGE_MODEL);
      break;
    case KW_PIN_MAPPING:
      if( !PINMPG_ReadLine(c, text, &cmpnt.mapped, &cmpnt.mappingTail) )
        MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, "Pin_Mapping");
      break;
    case KW_DIFF_PIN:
      if( !DIFPIN_ReadLine(c, text, &cmpnt.diffTail) )
        MSG_ErrorCodeLine(MSGC_CMPNT_CANNOT_ADD, "Diff_Pin");
      break;
    case KW_SERIES_SWITCH_GROUPS:
    case KW_SERIES_PIN_MAPPING:
      cmpntSeriesData(c, code, text);
      break;
    case KW_ALTERNATE_PACKAGE_MODELS:
      APKG_AddName(&c->alternatePackages, &cmpnt.apkgTail, &cmpnt.apkgNames,
                   text);
      break;
    case KW_NODE_DECLARATIONS:
      if( c->nodes ) NODE_ReadLine(text, c->nodes);
      break;
    case KW_CIRCUIT_CALL:
      if( c->circuitCalls ) CIRCUIT_ReadLine(text, c->circuitCalls);
      break;
    case KW_END_ALTERNATE_PACKAGE_MODELS:
    case KW_END_NODE_DECLARATIONS:
    case KW_END_CIRCUIT_CALL:
      /* A stray line after a closing keyword belongs to nothing; it is
      ** the file's fault, not ours. */
      MSG_ErrorCodeLine(MSGC_CMPNT_UNKNOWN_SUBPARAM);
      break;
    default:
      if( cmpntIsEmiCode(code) ) {
        CMPNTEMI_Line(SECTION_LINE_DATA, code, text, &c->emi);
        break;
      }
      if( SECTION_NestedLine(SECTION_LINE_DATA, code, text) ) break;
      MSG_BugCodeLine(MSGC_CMPNT_UNKNOWN_KEYWORD_DATA, CMPNT_SRC, __LINE__);
      break;
  }
}

void CMPNT_Line(int lineType, int code, char *text) {
  CMN_ASSERT(text != NULL, CMPNT_SRC);
  if( lineType != SECTION_LINE_KEYWORD && lineType != SECTION_LINE_DATA ) {
    MSG_BugCodeLine(MSGC_CMPNT_ILLEGAL_LINE_TYPE, CMPNT_SRC, __LINE__);
    return;
  }
  if( cmpnt.current == NULL ) {
    MSG_ErrorCodeLine(lineType == SECTION_LINE_KEYWORD
                          ? MSGC_CMPNT_ORPHAN_KEYWORD
                          : MSGC_CMPNT_ORPHAN_DATA);
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD )
    cmpntKeyword(cmpnt.current, code, text);
  else
    cmpntData(cmpnt.current, code, text);
}

const ParseSection CMPNT_ParseSection = { CMPNT_Begin, CMPNT_Close, CMPNT_Line,
                                          CMPNT_Release, CMPNT_Reset };
