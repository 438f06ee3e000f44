/*
** wvfrm.cpp: waveforms and pulse tables.
*/
#include "IbisParser/wvfrm.h"

#include "IbisParser/cmn.h"
#include "IbisParser/crv.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <string.h>

#define WVFRM_SRC "IbisParser/wvfrm"

static const char *const wvfrmFixture[WVFRM_FIXTURE_COUNT] = {
  "R_fixture", "V_fixture", "V_fixture_min", "V_fixture_max", "C_fixture",
  "L_fixture", "R_dut",     "L_dut",         "C_dut"
};

const char *WVFRM_KindName(int kind) {
  static const char *const name[] = { "Rising", "Falling", "Composite Current",
                                      "GND Pulse Table", "POWER Pulse Table" };
  return kind >= 0 && kind <= WVFRM_POWER_PULSE ? name[kind] : "";
}

/* The name of a waveform in "... Waveform Beginning ..." messages. */
static const char *wvfrmKindOf(const Waveform *w) {
  return w->kind == WVFRM_GOLDEN && w->name ? w->name : WVFRM_KindName(w->kind);
}

/* The name of the table in "... Data" and "... table" messages. */
static const char *wvfrmTableName(int kind) {
  static const char *const name[] = { "Rising Waveform", "Falling Waveform",
                                      "Composite Current", "GND Pulse Table",
                                      "POWER Pulse Table" };
  return kind >= 0 && kind <= WVFRM_POWER_PULSE ? name[kind] : "";
}

Waveform *WVFRM_New(int kind) {
  Waveform *w = NULL;
  if( !CMN_Calloc(&w, sizeof(*w)) ) {
    MSG_BugCode(MSGC_WVFRM_NO_MEMORY, WVFRM_SRC, __LINE__);
    return NULL;
  }
  w->kind = kind;
  RNGP_Begin(&w->table);
  return w;
}

Waveform *WVFRM_NewGolden(const char *name) {
  Waveform *w = WVFRM_New(WVFRM_GOLDEN);
  if( w ) w->name = name;
  return w;
}

Waveform *WVFRM_Append(WaveformList *list, int kind) {
  Waveform *w;
  if( list->count == WVFRM_MAX_PER_DIRECTION )
    MSG_ErrorCodeLine(MSGC_WVFRM_TOO_MANY, wvfrmTableName(kind));
  if( (w = WVFRM_New(kind)) == NULL ) return NULL;
  if( list->last )
    list->last->next = w;
  else
    list->first = w;
  list->last = w;
  list->count++;
  return w;
}

void WVFRM_Free(Waveform **w) {
  if( *w == NULL ) return;
  if( (*w)->composite ) WVFRM_Free(&(*w)->composite);
  RNGP_Free(&(*w)->table);
  CMN_Free(w);
}

void WVFRM_FreeList(WaveformList *list) {
  Waveform *w = list->first, *next;
  for( ; w; w = next ) {
    next = w->next;
    WVFRM_Free(&w);
  }
  memset(list, 0, sizeof(*list));
}

static const char *wvfrmTableOf(const Waveform *w) {
  return w->kind == WVFRM_GOLDEN && w->name ? w->name : wvfrmTableName(w->kind);
}

static int wvfrmFixtureIndex(const char *name) {
  int i;
  for( i = 0; i < WVFRM_FIXTURE_COUNT; i++ ) {
    if( strcmp(name, wvfrmFixture[i]) == 0 ) return i;
  }
  return -1;
}

static void wvfrmFixtureLine(Waveform *w, int f, RngItems *items, int equals) {
  const char *table = wvfrmTableOf(w);
  double v;
  int rc;
  if( w->kind == WVFRM_COMPOSITE || w->kind == WVFRM_GOLDEN ) {
    MSG_ErrorCodeLine(MSGC_WVFRM_SUBPARAM_IN_GOLDEN);
    return;
  }
  if( w->table.count > 0 ) {
    MSG_ErrorCodeLine(MSGC_WVFRM_AFTER_TIMING, wvfrmFixture[f]);
    return;
  }
  if( w->fixtureGiven[f] ) {
    MSG_ErrorCodeLine(MSGC_WVFRM_DUPLICATE, table, wvfrmFixture[f]);
    return;
  }
  (void)equals; /* '=' is optional, as in every subparameter line */
  if( items->count != 2 ) {
    MSG_ErrorCodeLine(MSGC_WVFRM_INVALID_LINE, wvfrmFixture[f]);
    return;
  }
  rc = CMN_ParseNumber(items->item[1], &v);
  if( rc == 0 ) {
    MSG_ErrorCodeLine(MSGC_WVFRM_INVALID_VALUE, wvfrmFixture[f],
                      items->item[1]);
    return;
  }
  if( rc == 2 )
    MSG_WarningCodeLine(MSGC_WVFRM_SUSPICIOUS, table, wvfrmFixture[f],
                        items->item[1]);
  w->fixture[f] = v;
  w->fixtureGiven[f] = 1;
}

static int wvfrmRowLimit(int kind) {
  if( kind == WVFRM_GND_PULSE || kind == WVFRM_POWER_PULSE ) return 100;
  return CRV_RowLimit(PARSE_GetDispatchVersion());
}

static void wvfrmRow(Waveform *w, RngItems *items) {
  const char *table = wvfrmTableOf(w);
  int limit = wvfrmRowLimit(w->kind);
  RngpRow row;
  if( !RNGP_ReadRow(items->item, items->count, table, &row,
                    MSGC_WVFRM_LINE_ITEMS) )
    return;
  if( row.firstState == CMN_VALUE_NA ) {
    MSG_ErrorCodeLine(MSGC_WVFRM_NA_NOT_ALLOWED, "Time");
    return;
  }
  if( w->table.count >= limit ) {
    if( !w->full ) MSG_ErrorCodeLine(MSGC_WVFRM_TOO_MANY_POINTS, limit, table);
    w->full = 1;
    return;
  }
  if( w->table.count > 0
      && row.first <= w->table.row[w->table.count - 1].first )
    MSG_ErrorCodeLine(MSGC_WVFRM_TIME_NOT_INCREASING);
  RNGP_Append(&w->table, &row, 1);
}

void WVFRM_Line(Waveform *w, char *text) {
  RngItems items;
  int equals, f;
  if( w == NULL ) return;
  RNG_SplitNamed(text, &items, &equals);
  if( items.count == 0 ) return;
  f = wvfrmFixtureIndex(items.item[0]);
  if( f >= 0 ) {
    wvfrmFixtureLine(w, f, &items, equals);
    return;
  }
  if( equals
      || (!CMN_ParseNumber(items.item[0], NULL)
          && !CMN_StrEqualNoCase(items.item[0], "NA")) ) {
    MSG_ErrorCodeLine(MSGC_WVFRM_UNKNOWN_LINE, wvfrmTableOf(w));
    return;
  }
  wvfrmRow(w, &items);
}

static void wvfrmPulseChecks(const Waveform *w) {
  static const char *const colName[3] = { "Typical", "Minimum", "Maximum" };
  const RngpTable *t = &w->table;
  const char *name = WVFRM_KindName(w->kind);
  int c, i;
  for( c = 0; c < 3; c++ ) {
    const RNG_TypMinMax *a = &t->row[0].col, *b = &t->row[t->count - 1].col;
    if( a->state[c] == CMN_VALUE_GIVEN && b->state[c] == CMN_VALUE_GIVEN
        && a->value[c] != b->value[c] )
      MSG_ErrorCode(MSGC_WVFRM_FIRST_NOT_LAST, colName[c], name, t->line);
  }
  for( c = 0; c < 3; c++ ) {
    for( i = 0; i < t->count; i++ ) {
      const RNG_TypMinMax *v = &t->row[i].col;
      if( v->state[c] != CMN_VALUE_GIVEN ) continue;
      if( w->kind == WVFRM_GND_PULSE && v->value[c] < 0.0 ) {
        MSG_WarningCode(MSGC_WVFRM_BELOW_ZERO, name, colName[c], t->line);
        break;
      }
      if( w->kind == WVFRM_POWER_PULSE && v->value[c] > 0.0 ) {
        MSG_WarningCode(MSGC_WVFRM_ABOVE_ZERO, name, colName[c], t->line);
        break;
      }
    }
  }
}

/* Whether any row gives a value in column c: an all-NA minimum or maximum
** column is simply not given. */
static int wvfrmColumnUsed(const RngpTable *t, int c) {
  int i;
  for( i = 0; i < t->count; i++ ) {
    if( t->row[i].col.state[c] == CMN_VALUE_GIVEN ) return 1;
  }
  return 0;
}

void WVFRM_Close(const Waveform *w) {
  static const char *const colName[3] = { "Typical", "Minimum", "Maximum" };
  const RngpTable *t;
  const char *name;
  int c;
  if( w == NULL ) return;
  t = &w->table;
  name = wvfrmKindOf(w);
  if( w->kind == WVFRM_RISING || w->kind == WVFRM_FALLING ) {
    if( !w->fixtureGiven[WVFRM_R_FIXTURE] )
      MSG_ErrorCode(MSGC_WVFRM_NOT_DEFINED, "R_fixture", name, t->line);
    if( !w->fixtureGiven[WVFRM_V_FIXTURE] )
      MSG_ErrorCode(MSGC_WVFRM_NOT_DEFINED, "V_fixture", name, t->line);
  }
  if( t->count < 2 ) {
    MSG_ErrorCode(MSGC_WVFRM_TOO_FEW_POINTS, name, t->line);
    return;
  }
  for( c = 0; c < 3; c++ ) {
    if( c > 0 && !wvfrmColumnUsed(t, c) ) continue;
    if( t->row[0].col.state[c] == CMN_VALUE_NA )
      MSG_ErrorCode(MSGC_WVFRM_VALUE_NA, "First", colName[c], name, t->line);
    if( t->row[t->count - 1].col.state[c] == CMN_VALUE_NA )
      MSG_ErrorCode(MSGC_WVFRM_VALUE_NA, "Last", colName[c], name, t->line);
  }
  if( w->kind == WVFRM_GND_PULSE || w->kind == WVFRM_POWER_PULSE )
    wvfrmPulseChecks(w);
}
