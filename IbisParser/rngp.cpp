/*
** rngp.cpp: the row appender.
*/
#include "IbisParser/rngp.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <string.h>

#define RNGP_SRC "IbisParser/rngp"

void RNGP_Free(RngpTable *t) {
  if( t->row ) CMN_Free(&t->row);
  if( t->seen ) CMN_Free(&t->seen);
  memset(t, 0, sizeof(*t));
}

void RNGP_Begin(RngpTable *t) {
  RNGP_Free(t);
  t->line = PARSE_GetLineNumber();
  t->increasing = 1;
}

static size_t rngpHash(double v, int capacity) {
  unsigned long long bits = 0;
  if( v == 0.0 ) v = 0.0; /* -0.0 and 0.0 are one value */
  memcpy(&bits, &v, sizeof(bits) < sizeof(v) ? sizeof(bits) : sizeof(v));
  bits ^= bits >> 33;
  bits *= 0xff51afd7ed558ccdULL;
  bits ^= bits >> 33;
  return (size_t)(bits & (unsigned long long)(capacity - 1));
}

/* Looks v up in the set and adds it; 1 when it was there already. */
static int rngpSeenAdd(RngpTable *t, double v) {
  size_t i;
  for( i = rngpHash(v, t->seenCapacity); t->seen[i * 2 + 1] != 0.0;
       i = (i + 1) & (size_t)(t->seenCapacity - 1) ) {
    if( t->seen[i * 2] == v ) return 1;
  }
  t->seen[i * 2] = v;
  t->seen[i * 2 + 1] = 1.0; /* slot used */
  t->seenCount++;
  return 0;
}

/* Grows (or builds) the set so that it stays at most half full. */
static int rngpSeenGrow(RngpTable *t) {
  double *old = t->seen;
  int oldCapacity = t->seenCapacity, i, capacity = 64;
  int need = (t->seenCount + 1) * 2;
  if( old && need <= oldCapacity ) return 1;
  while( capacity < need || capacity < t->count * 2 ) capacity *= 2;
  t->seen = NULL;
  if( !CMN_Calloc(&t->seen, sizeof(double) * 2 * (size_t)capacity) ) {
    t->seen = old;
    return 0;
  }
  t->seenCapacity = capacity;
  t->seenCount = 0;
  if( old ) {
    for( i = 0; i < oldCapacity; i++ ) {
      if( old[i * 2 + 1] != 0.0 ) rngpSeenAdd(t, old[i * 2]);
    }
    CMN_FreeBlock(old);
  } else {
    for( i = 0; i < t->count; i++ ) {
      if( t->row[i].firstState == CMN_VALUE_GIVEN )
        rngpSeenAdd(t, t->row[i].first);
    }
  }
  return 1;
}

/* 1 when v is the first value of an earlier row. */
static int rngpRepeated(RngpTable *t, double v) {
  if( t->seen == NULL ) {
    if( t->count == 0 || v > t->maxFirst ) return 0;
    /* The column stopped rising: from here on the set answers. */
    if( !rngpSeenGrow(t) ) return 0;
  } else if( !rngpSeenGrow(t) ) {
    return 0;
  }
  return rngpSeenAdd(t, v);
}

int RNGP_Append(RngpTable *t, const RngpRow *row, int checkDuplicate) {
  if( t->count == t->capacity ) {
    int capacity = t->capacity ? t->capacity * 2 : 16;
    size_t bytes = sizeof(RngpRow) * (size_t)capacity;
    if( t->row == NULL ? !CMN_Calloc(&t->row, bytes)
                       : !CMN_Realloc(&t->row, bytes) ) {
      MSG_BugCode(MSGC_RNGP_NO_MEMORY, RNGP_SRC, __LINE__);
      return -1;
    }
    t->capacity = capacity;
  }
  if( checkDuplicate && row->firstState == CMN_VALUE_GIVEN ) {
    if( rngpRepeated(t, row->first) )
      MSG_WarningCodeLine(MSGC_RNGP_REPEATED, row->first);
  }
  if( row->firstState == CMN_VALUE_GIVEN ) {
    if( t->count == 0 || row->first > t->maxFirst ) t->maxFirst = row->first;
  }
  t->row[t->count++] = *row;
  return t->count;
}

int RNGP_ReadRow(char *const *item, int n, const char *label, RngpRow *row,
                 int countCode) {
  static const char *const column[3] = { "typ", "min", "max" };
  int i, na = 0;
  /* Without a caller's count message, a row may leave out its minimum
  ** and maximum columns (each reported); with one it must be whole. */
  if( countCode ? n != 4 : (n < 2 || n > 4) ) {
    MSG_ErrorCodeLine(countCode ? countCode : (int)MSGC_RNGP_LINE_ITEMS, n,
                      label, 4);
    return 0;
  }
  memset(row, 0, sizeof(*row));
  if( CMN_GetValueOrNA(item[0], &row->first, &na) == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMN_INVALID_VALUE, label, item[0]);
    return 0;
  }
  row->firstState = na ? CMN_VALUE_NA : CMN_VALUE_GIVEN;
  for( i = 1; i < n; i++ ) {
    if( !CMN_ReadTypMinMax(item[i], column[i - 1], label,
                           &row->col.value[i - 1], &row->col.state[i - 1]) )
      return 0;
  }
  if( n == 2 ) MSG_ErrorCodeLine(MSGC_RNGP_NO_VALUE, "minimum", label);
  if( n < 4 ) MSG_ErrorCodeLine(MSGC_RNGP_NO_VALUE, "maximum", label);
  return 1;
}
