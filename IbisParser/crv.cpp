/*
** crv.cpp: I-V tables.
*/
#include "IbisParser/crv.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

int CRV_RowLimit(int version) { return version < 4 ? 100 : 1000; }

void CRV_Begin(RngpTable *t, char *rest, const char *label, int reportRepeat) {
  RngItems items;
  if( t->line && reportRepeat )
    MSG_ErrorCodeLine(MSGC_CRV_ALREADY_DEFINED, label);
  RNG_Split(rest, &items);
  if( items.count != 0 )
    MSG_ErrorCodeLine(MSGC_CRV_LINE_ITEMS, items.count, label, 0);
  RNGP_Begin(t);
}

void CRV_Line(RngpTable *t, char *text, const char *label) {
  RngItems items;
  RngpRow row;
  int limit = CRV_RowLimit(PARSE_GetDispatchVersion());
  RNG_Split(text, &items);
  if( !RNGP_ReadRow(items.item, items.count, label, &row, MSGC_CRV_LINE_ITEMS) )
    return;
  if( row.firstState == CMN_VALUE_NA ) {
    MSG_ErrorCodeLine(MSGC_CRV_VOLTAGE_NA);
    return;
  }
  if( t->count >= limit ) {
    if( t->dropped++ == 0 )
      MSG_ErrorCodeLine(MSGC_CRV_TOO_MANY_POINTS, limit, label);
    return;
  }
  RNGP_Append(t, &row, 0);
}

/* Whether any row gives a value in column c. */
static int crvColumnUsed(const RngpTable *t, int c) {
  int i;
  for( i = 0; i < t->count; i++ ) {
    if( t->row[i].col.state[c] == CMN_VALUE_GIVEN ) return 1;
  }
  return 0;
}

static void crvNeverZero(const RngpTable *t, const char *label,
                         const char *modelName, int c) {
  static const int code[3] = { MSGC_CRV_TYP_NEVER_ZERO, MSGC_CRV_MIN_NEVER_ZERO,
                               MSGC_CRV_MAX_NEVER_ZERO };
  double lo = 0.0, hi = 0.0;
  int i, seen = 0;
  if( t->row[0].col.state[c] != CMN_VALUE_GIVEN
      || t->row[t->count - 1].col.state[c] != CMN_VALUE_GIVEN )
    return;
  for( i = 0; i < t->count; i++ ) {
    double v = t->row[i].col.value[c];
    if( t->row[i].col.state[c] != CMN_VALUE_GIVEN ) continue;
    if( !seen || v < lo ) lo = v;
    if( !seen || v > hi ) hi = v;
    seen = 1;
  }
  if( (lo < 0.0 && hi < 0.0) || (lo > 0.0 && hi > 0.0) )
    MSG_WarningCode(code[c], "Model", modelName, label);
}

void CRV_Close(const RngpTable *t, const char *label, const char *modelName,
               int isClamp) {
  static const char *const colName[3] = { "Typical", "Minimum", "Maximum" };
  int c, used[3];
  if( t->line == 0 ) return;
  if( t->count < 2 ) {
    MSG_ErrorCode(MSGC_CRV_TOO_FEW_POINTS, label, t->line);
    return;
  }
  for( c = 0; c < 3; c++ ) {
    used[c] = c == 0 || crvColumnUsed(t, c);
    if( !used[c] ) continue;
    if( t->row[0].col.state[c] == CMN_VALUE_NA )
      MSG_ErrorCode(MSGC_CRV_VALUE_NA, "First", colName[c], label, t->line);
    if( t->row[t->count - 1].col.state[c] == CMN_VALUE_NA )
      MSG_ErrorCode(MSGC_CRV_VALUE_NA, "Last", colName[c], label, t->line);
  }
  if( !isClamp ) return;
  for( c = 0; c < 3; c++ ) crvNeverZero(t, label, modelName, c);
}
