/*
** xckt.cpp: [External Circuit].
**
** The reader routes no closing call to this section, so its checks run at
** [End External Circuit]; a circuit left open is closed by the next one.
*/
#include "IbisParser/xckt.h"

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/rng.h"
#include "IbisParser/strlist.h"
#include "IbisParser/xmdlfile.h"

#include <string.h>

#define XCKT_SRC "IbisParser/xckt"

static XcktCircuit *xcktOpen;
static NameCount *xcktNames;

void XCKT_Reset(void) {
  xcktOpen = NULL;
  STRING_CountFree(&xcktNames);
}

void XCKT_Release(void *record) {
  XcktCircuit *c = (XcktCircuit *)record;
  if( c == NULL ) return;
  if( c == xcktOpen ) xcktOpen = NULL;
  XMDL_Free(&c->body);
  CMN_FreeBlock(c);
}

void XCKT_Begin(void) {
  IbisFile *file;
  XcktCircuit *c = NULL;
  xcktOpen = NULL;
  if( !IBIS_Current(&file) ) {
    MSG_BugCode(MSGC_MDL_NO_IBIS);
    return;
  }
  if( !CMN_Calloc(&c, sizeof(*c)) ) {
    MSG_BugCode(MSGC_MDL_NO_MEMORY, XCKT_SRC, __LINE__);
    return;
  }
  if( !IBIS_Append(file, SECTION_EXTERNAL_CIRCUIT, c) ) {
    MSG_BugCode(MSGC_MDL_NO_MEMORY, XCKT_SRC, __LINE__);
    CMN_FreeBlock(c);
    return;
  }
  c->line = PARSE_GetLineNumber();
  xcktOpen = c;
}

static void xcktName(XcktCircuit *c, char *rest) {
  RngItems items;
  size_t len;
  RNG_Split(rest, &items);
  if( items.count == 0 ) {
    MSG_ErrorCodeLine(MSGC_XCKT_MISSING_NAME);
    return;
  }
  if( items.count != 1 )
    MSG_ErrorCodeLine(MSGC_MDL_KEYWORD_ITEMS, items.count, "External Circuit",
                      1);
  len = strlen(items.item[0]);
  if( len > XCKT_MAX_NAME ) {
    MSG_ErrorCodeLine(MSGC_XCKT_NAME_TOO_LONG, XCKT_MAX_NAME);
    len = XCKT_MAX_NAME;
  }
  memcpy(c->name, items.item[0], len);
  c->name[len] = 0;
  if( CMN_IsReservedWord(c->name) )
    MSG_ErrorCodeLine(MSGC_XCKT_RESERVED_NAME, c->name);
  else if( STRING_CountAdd(&xcktNames, c->name) > 1 )
    MSG_ErrorCodeLine(MSGC_XCKT_NAME_REPEATED, c->name);
}

static void xcktEnd(XcktCircuit *c) {
  int ports;
  if( c == NULL || c->body == NULL || c->body->closed ) {
    MSG_ErrorCodeLine(MSGC_XCKT_END_ORPHAN);
    return;
  }
  c->body->closed = 1;
  if( c->body->language == XMDL_LANG_NONE )
    MSG_ErrorCodeLine(MSGC_MDL_NO_LANGUAGE);
  if( !c->body->corner[0] ) MSG_ErrorCodeLine(MSGC_XCKT_NO_TYP_CORNER);
  ports = STRING_CountSize(c->body->ports);
  if( ports < 2 ) MSG_WarningCode(MSGC_XCKT_FEW_PORTS, c->name, ports);
  XMDLFILE_Check(c->body, "[External Circuit]", c->name);
}

void XCKT_Line(int lineType, int code, char *text) {
  char *rest = text;
  CMN_ASSERT(text != NULL, XCKT_SRC);
  if( lineType == SECTION_LINE_KEYWORD && code == KW_END_EXTERNAL_CIRCUIT ) {
    xcktEnd(xcktOpen);
    xcktOpen = NULL;
    return;
  }
  if( xcktOpen == NULL ) {
    MSG_ErrorCodeLine(MSGC_XCKT_ORPHAN);
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD ) {
    CMN_SkipPastBracket(&rest);
    xcktName(xcktOpen, rest);
    if( !CMN_Calloc(&xcktOpen->body, sizeof(XmdlRecord)) ) {
      MSG_BugCode(MSGC_MDL_NO_MEMORY, XCKT_SRC, __LINE__);
      return;
    }
    xcktOpen->body->line = xcktOpen->line;
    return;
  }
  XMDL_Line(xcktOpen->body, text);
}

const ParseSection XCKT_ParseSection = { XCKT_Begin, NULL, XCKT_Line,
                                         XCKT_Release, XCKT_Reset };
