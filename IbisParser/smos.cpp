/*
** smos.cpp: [Series MOSFET] entries.
*/
#include "IbisParser/smos.h"

#include "IbisParser/cmn.h"
#include "IbisParser/crv.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/rng.h"

#include <string.h>

/* Longest first column a row can have; a longer word is no number. */
#define SMOS_FIRST_COLUMN 80

static void smosVds(SmosEntry *e, RngItems *items) {
  double v;
  if( e->vdsGiven ) {
    MSG_ErrorCodeLine(MSGC_SMOS_VDS_DUPLICATE);
    return;
  }
  if( items->count != 2 ) {
    MSG_ErrorCodeLine(MSGC_SMOS_INVALID_LINE, "Vds");
    return;
  }
  if( CMN_ParseNumber(items->item[1], &v) != 1 ) {
    MSG_ErrorCodeLine(MSGC_SMOS_INVALID_VALUE, "Vds", items->item[1]);
    return;
  }
  e->vds = v;
  e->vdsGiven = 1;
}

void SMOS_KeywordLine(char *rest) {
  RngItems items;
  RNG_Split(rest, &items);
  if( items.count != 0 )
    MSG_ErrorCodeLine(MSGC_SMOS_LINE_ITEMS, items.count, "Series MOSFET", 0);
}

/* Whether a line is a table row: its first column is a number (or NA).
** The table reader then checks the whole row. */
static int smosIsRow(const char *text) {
  char first[SMOS_FIRST_COLUMN + 1];
  size_t n = strcspn(text, " \t");
  if( n > SMOS_FIRST_COLUMN ) return 0;
  memcpy(first, text, n);
  first[n] = 0;
  return CMN_ParseNumber(first, NULL) != 0 || CMN_StrEqualNoCase(first, "NA");
}

void SMOS_Line(SmosEntry *e, char *text) {
  RngItems items;
  if( e == NULL ) return;
  if( CMN_StrNEqualNoCase(text, "Vds", 3)
      && (text[3] == 0 || text[3] == ' ' || text[3] == '\t'
          || text[3] == '=') ) {
    RNG_SplitNamed(text, &items, NULL);
    smosVds(e, &items);
    return;
  }
  if( !smosIsRow(text) ) {
    MSG_ErrorCodeLine(MSGC_SMOS_UNKNOWN_LINE);
    return;
  }
  CRV_Line(&e->table, text, "Series MOSFET");
}

void SMOS_Close(const SmosEntry *e, const char *model) {
  if( e == NULL ) return;
  if( !e->vdsGiven )
    MSG_ErrorCode(MSGC_SMOS_NO_VDS, model, e->line);
  else if( e->vds < 0.0 )
    MSG_ErrorCode(MSGC_SMOS_VDS_NEGATIVE, model, e->line);
  CRV_Close(&e->table, "Series MOSFET", model, 0);
}
