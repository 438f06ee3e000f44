/*
** xmdl.cpp: [External Model].
**
** The 5.1 and later rules add the IBIS-ISS and Touchstone languages.  The
** version that added them is not settled by the sources at hand (BIRD
** 160.1, accepted in May 2013, made IBIS-ISS a language of both keywords;
** a proposal to add Touchstone, BIRD 144.3, was rejected the month
** before), so every file of 5.1 or later may use them, and a 5.0 file
** keeps the 5.0 verdict.  Both describe analog circuits, so they take
** converter lines and are port-checked as SPICE is; a Touchstone corner
** names its file without a circuit name, which it has none of.
*/
#include "IbisParser/xmdl.h"

#include "IbisParser/cmn.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/rng.h"
#include "IbisParser/strlist.h"
#include "IbisParser/ver.h"
#include "IbisParser/xmdlfile.h"

#include <string.h>

#define XMDL_SRC "IbisParser/xmdl"

static const struct {
  const char *name;
  int kind;  /* XMDL_LANG_* */
  int level; /* the first rules level that knows it */
} xmdlLanguage[] = {
  { "SPICE", XMDL_LANG_SPICE, 0 },
  { "VHDL-AMS", XMDL_LANG_OTHER, 0 },
  { "VHDL-A(MS)", XMDL_LANG_OTHER, 0 },
  { "Verilog-AMS", XMDL_LANG_OTHER, 0 },
  { "Verilog-A(MS)", XMDL_LANG_OTHER, 0 },
  { "IBIS-ISS", XMDL_LANG_ISS, VER_LEVEL_51 },
  { "Touchstone", XMDL_LANG_TOUCHSTONE, VER_LEVEL_51 },
};

int XMDL_IsAnalog(int language) {
  return language == XMDL_LANG_SPICE || language == XMDL_LANG_ISS
      || language == XMDL_LANG_TOUCHSTONE;
}

const char *XMDL_LanguageName(int language) {
  switch( language ) {
    case XMDL_LANG_SPICE:
      return "SPICE";
    case XMDL_LANG_ISS:
      return "IBIS-ISS";
    case XMDL_LANG_TOUCHSTONE:
      return "Touchstone";
    default:
      return "";
  }
}

/* Reserved port names; the reference ports may appear in any model. */
static const char *const xmdlReserved[] = {
  "D_drive",      "D_enable",     "D_receive", "D_switch", "A_signal",
  "A_signal_pos", "A_signal_neg", "A_pos",     "A_neg"
};
static const char *const xmdlReference[] = { "A_gnd",   "A_puref", "A_pcref",
                                             "A_pdref", "A_gcref", "A_extref" };

void XMDL_Free(XmdlRecord **slot) {
  int c;
  if( *slot == NULL ) return;
  for( c = 0; c < 3; c++ ) CMN_FreeBlock((*slot)->cornerFile[c]);
  STRING_CountFree(&(*slot)->ports);
  STRING_CountFree(&(*slot)->converterPorts);
  while( (*slot)->portList ) {
    XmdlPort *p = (*slot)->portList;
    (*slot)->portList = p->next;
    CMN_FreeBlock(p->name);
    CMN_FreeBlock(p);
  }
  while( (*slot)->converters ) {
    XmdlConverter *c = (*slot)->converters;
    int i;
    (*slot)->converters = c->next;
    for( i = 0; i < 3; i++ ) CMN_FreeBlock(c->port[i]);
    CMN_FreeBlock(c);
  }
  CMN_Free(slot);
}

/* Keeps a Ports name in file order; a failed allocation is reported and
** only loses the name for the circuit-call checks. */
static void xmdlKeepPort(XmdlRecord *x, const char *name) {
  XmdlPort *p = NULL;
  if( !CMN_Calloc(&p, sizeof(*p)) ) {
    MSG_BugCode(MSGC_MDL_NO_MEMORY, XMDL_SRC, __LINE__);
    return;
  }
  if( (p->name = CMN_StrDup(name)) == NULL ) { /* reported by CMN_StrDup */
    CMN_FreeBlock(p);
    return;
  }
  if( x->portLast )
    x->portLast->next = p;
  else
    x->portList = p;
  x->portLast = p;
}

static void xmdlKeepConverter(XmdlRecord *x, char **item, int d2a) {
  XmdlConverter *c = NULL;
  int i;
  if( !CMN_Calloc(&c, sizeof(*c)) ) {
    MSG_BugCode(MSGC_MDL_NO_MEMORY, XMDL_SRC, __LINE__);
    return;
  }
  for( i = 0; i < 3; i++ ) {
    if( (c->port[i] = CMN_StrDup(item[i + 1])) == NULL ) {
      while( i-- > 0 ) CMN_FreeBlock(c->port[i]); /* reported by StrDup */
      CMN_FreeBlock(c);
      return;
    }
  }
  c->line = PARSE_GetLineNumber();
  c->d2a = d2a;
  if( x->converterLast )
    x->converterLast->next = c;
  else
    x->converters = c;
  x->converterLast = c;
}

void XMDL_Begin(XmdlRecord **slot, const char *model) {
  XmdlRecord *x = NULL;
  if( *slot )
    MSG_ErrorCodeLine(MSGC_MDL_ALREADY_DEFINED_FOR, "[External_Model]", model);
  if( !CMN_Calloc(&x, sizeof(*x)) ) {
    MSG_BugCode(MSGC_MDL_NO_MEMORY, XMDL_SRC, __LINE__);
    return;
  }
  XMDL_Free(slot);
  x->line = PARSE_GetLineNumber();
  *slot = x;
}

static void xmdlLanguageLine(XmdlRecord *x, RngItems *items) {
  size_t i;
  if( x->language ) {
    MSG_ErrorCodeLine(MSGC_MDL_DUPLICATE_LANGUAGE);
    return;
  }
  if( items->count != 2 ) {
    MSG_ErrorCodeLine(MSGC_MDL_LINE_ITEMS, items->count - 1, "Language", 1);
    return;
  }
  for( i = 0; i < sizeof(xmdlLanguage) / sizeof(xmdlLanguage[0]); i++ ) {
    if( xmdlLanguage[i].level > VER_Rules() ) continue;
    if( strcmp(items->item[1], xmdlLanguage[i].name) == 0 ) {
      x->language = xmdlLanguage[i].kind;
      return;
    }
    if( CMN_StrEqualNoCase(items->item[1], xmdlLanguage[i].name) ) {
      MSG_ErrorCodeLine(MSGC_MDL_INVALID_TRY, "Language", items->item[1],
                        xmdlLanguage[i].name);
      return;
    }
  }
  MSG_ErrorCodeLine(MSGC_MDL_INVALID_SETTING, "Language", items->item[1]);
}

static void xmdlCornerLine(XmdlRecord *x, RngItems *items) {
  static const int duplicate[3] = { MSGC_MDL_DUPLICATE_TYP_CORNER,
                                    MSGC_MDL_DUPLICATE_MIN_CORNER,
                                    MSGC_MDL_DUPLICATE_MAX_CORNER };
  static const char *const name[3] = { "Typ", "Min", "Max" };
  int c;
  if( items->count != 4
      && !(items->count == 3 && x->language == XMDL_LANG_TOUCHSTONE) ) {
    MSG_ErrorCodeLine(MSGC_MDL_LINE_ITEMS, items->count - 1, "Corner", 3);
    return;
  }
  for( c = 0; c < 3; c++ ) {
    if( CMN_StrEqualNoCase(items->item[1], name[c]) ) break;
  }
  if( c == 3 ) {
    MSG_ErrorCodeLine(MSGC_MDL_INVALID_SETTING, "Corner", items->item[1]);
    return;
  }
  if( x->corner[c] ) MSG_ErrorCodeLine(duplicate[c]);
  x->corner[c] = 1;
  /* The first line of a corner names its file; a repeat is reported. */
  if( x->cornerFile[c] == NULL ) x->cornerFile[c] = CMN_StrDup(items->item[2]);
}

/* A number item of a converter line; 1 when read. */
static int xmdlNumber(const char *what, const char *text, double *out) {
  if( CMN_ParseNumber(text, out) == 0 ) {
    MSG_ErrorCodeLine(MSGC_MDL_INVALID_VALUE, what, text);
    return 0;
  }
  return 1;
}

/* D_to_A d_port port1 port2 vlow vhigh trise tfall corner, and
** A_to_D d_port port1 port2 vlow vhigh corner. */
static void xmdlConverterLine(XmdlRecord *x, RngItems *items, int d2a) {
  int want = d2a ? 9 : 7, i;
  static_assert(RNG_MAX_ITEMS >= 9, "a D_to_A line is kept whole");
  double vlow, vhigh, t;
  const char *corner;
  if( x->language == XMDL_LANG_NONE ) {
    MSG_ErrorCodeLine(MSGC_MDL_LANGUAGE_BEFORE_D2A);
    return;
  }
  if( !XMDL_IsAnalog(x->language) ) {
    MSG_ErrorCodeLine(MSGC_MDL_D2A_ONLY_SPICE);
    return;
  }
  if( items->count != want ) {
    MSG_ErrorCodeLine(MSGC_MDL_LINE_ITEMS, items->count - 1, items->item[0],
                      want - 1);
    return;
  }
  if( !xmdlNumber("Vlow", items->item[4], &vlow)
      || !xmdlNumber("Vhigh", items->item[5], &vhigh) )
    return;
  if( vlow >= vhigh )
    MSG_ErrorCodeLine(MSGC_MDL_VLOW_NOT_BELOW, items->item[4], items->item[5]);
  if( d2a ) {
    if( xmdlNumber("trise", items->item[6], &t) && t < 0.0 )
      MSG_ErrorCodeLine(MSGC_MDL_TRISE_NEGATIVE, items->item[6]);
    if( xmdlNumber("tfall", items->item[7], &t) && t < 0.0 )
      MSG_ErrorCodeLine(MSGC_MDL_TFALL_NEGATIVE, items->item[7]);
  }
  corner = items->item[want - 1];
  if( !CMN_StrEqualNoCase(corner, "Typ") ) return;
  for( i = 1; i <= 3; i++ ) STRING_CountAdd(&x->converterPorts, items->item[i]);
  xmdlKeepConverter(x, items->item, d2a);
}

static void xmdlPortsLine(XmdlRecord *x, char *rest) {
  char *p = rest;
  /* A port list may be longer than the item splitter keeps: walk it. */
  for( ;; ) {
    char *start;
    while( *p == ' ' || *p == '\t' ) p++;
    if( *p == 0 ) break;
    start = p;
    while( *p && *p != ' ' && *p != '\t' ) p++;
    if( *p ) *p++ = 0;
    STRING_CountAdd(&x->ports, start);
    xmdlKeepPort(x, start);
  }
}

void XMDL_Line(XmdlRecord *x, char *text) {
  RngItems items;
  char *rest;
  if( x == NULL ) return;
  if( CMN_StrNEqualNoCase(text, "Ports", 5)
      && (text[5] == ' ' || text[5] == '\t' || text[5] == 0) ) {
    xmdlPortsLine(x, text + 5);
    return;
  }
  rest = text;
  RNG_SplitNamed(rest, &items, NULL);
  if( items.count == 0 ) return;
  if( CMN_StrEqualNoCase(items.item[0], "Language") )
    xmdlLanguageLine(x, &items);
  else if( CMN_StrEqualNoCase(items.item[0], "Corner") )
    xmdlCornerLine(x, &items);
  else if( CMN_StrEqualNoCase(items.item[0], "D_to_A") )
    xmdlConverterLine(x, &items, 1);
  else if( CMN_StrEqualNoCase(items.item[0], "A_to_D") )
    xmdlConverterLine(x, &items, 0);
  else if( !CMN_StrEqualNoCase(items.item[0], "Parameters") )
    MSG_ErrorCodeLine(MSGC_MDL_UNKNOWN_LINE);
}

/* The reserved ports a model of `type` requires, null-terminated. */
static const char *const *xmdlRequired(int type) {
  static const char *const in[] = { "D_receive", "A_signal", NULL };
  static const char *const out[] = { "D_drive", "A_signal", NULL };
  static const char *const tri[] = { "D_drive", "D_enable", "A_signal", NULL };
  static const char *const term[] = { "A_signal", NULL };
  static const char *const ser[] = { "A_pos", "A_neg", NULL };
  static const char *const sw[] = { "D_switch", "A_pos", "A_neg", NULL };
  static const char *const iod[] = { "D_drive",      "D_enable",
                                     "D_receive",    "A_signal_pos",
                                     "A_signal_neg", NULL };
  static const char *const outd[] = { "D_drive", "A_signal_pos", "A_signal_neg",
                                      NULL };
  static const char *const trid[] = { "D_drive", "D_enable", "A_signal_pos",
                                      "A_signal_neg", NULL };
  static const char *const ind[] = { "D_receive", "A_signal_pos",
                                     "A_signal_neg", NULL };
  static const char *const io[] = { "D_drive", "D_enable", "D_receive",
                                    "A_signal", NULL };
  static const char *const none[] = { NULL };
  switch( type ) {
    case MDL_TYPE_INPUT:
    case MDL_TYPE_INPUT_ECL:
      return in;
    case MDL_TYPE_OUTPUT:
    case MDL_TYPE_OPEN_DRAIN:
    case MDL_TYPE_OPEN_SINK:
    case MDL_TYPE_OPEN_SOURCE:
    case MDL_TYPE_OUTPUT_ECL:
      return out;
    case MDL_TYPE_3STATE:
    case MDL_TYPE_3STATE_ECL:
      return tri;
    case MDL_TYPE_TERMINATOR:
      return term;
    case MDL_TYPE_SERIES:
      return ser;
    case MDL_TYPE_SERIES_SWITCH:
      return sw;
    case MDL_TYPE_IO_DIFF:
      return iod;
    case MDL_TYPE_OUTPUT_DIFF:
      return outd;
    case MDL_TYPE_3STATE_DIFF:
      return trid;
    case MDL_TYPE_INPUT_DIFF:
      return ind;
    case MDL_TYPE_IO:
    case MDL_TYPE_IO_OPEN_DRAIN:
    case MDL_TYPE_IO_OPEN_SINK:
    case MDL_TYPE_IO_OPEN_SOURCE:
    case MDL_TYPE_IO_ECL:
      return io;
    default:
      return none;
  }
}

/* An analog model names its digital ports on the converter lines and its
** analog ones on the Ports lines, so both count. */
static int xmdlHas(const XmdlRecord *x, const char *name) {
  return STRING_CountHas(x->ports, name)
      || (XMDL_IsAnalog(x->language)
          && STRING_CountHas(x->converterPorts, name));
}

static void xmdlPortChecks(const XmdlRecord *x, const char *model,
                           const char *corner, int type, const char *typeName) {
  const char *const *need = xmdlRequired(type);
  size_t i, j;
  for( i = 0; need[i]; i++ ) {
    if( !xmdlHas(x, need[i]) )
      MSG_ErrorCode(MSGC_MDL_PORT_REQUIRED, model, corner, typeName, need[i]);
  }
  for( i = 0; i < sizeof(xmdlReserved) / sizeof(xmdlReserved[0]); i++ ) {
    int wanted = 0;
    for( j = 0; need[j]; j++ ) wanted |= strcmp(need[j], xmdlReserved[i]) == 0;
    if( !wanted && xmdlHas(x, xmdlReserved[i]) )
      MSG_ErrorCode(MSGC_MDL_PORT_ILLEGAL, model, corner, typeName,
                    xmdlReserved[i]);
  }
  (void)xmdlReference;
}

void XMDL_Close(XmdlRecord *x, const char *model, int type,
                const char *typeName) {
  int analog;
  if( x == NULL ) return;
  x->closed = 1;
  if( x->language == XMDL_LANG_NONE ) MSG_ErrorCodeLine(MSGC_MDL_NO_LANGUAGE);
  if( !x->corner[0] ) MSG_ErrorCodeLine(MSGC_MDL_NO_TYP_CORNER_EXTERNAL);
  if( STRING_CountSize(x->ports) < 2 )
    MSG_WarningCode(MSGC_MDL_FEW_PORTS, model, STRING_CountSize(x->ports));
  analog = XMDL_IsAnalog(x->language);
  xmdlPortChecks(x, model, analog ? "TYP" : "ALL", type,
                 typeName ? typeName : "");
  XMDLFILE_Check(x, "[External Model]", model);
}
