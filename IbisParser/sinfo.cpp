/*
** sinfo.cpp: series records.
*/
#include "IbisParser/sinfo.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <stdlib.h>
#include <string.h>

#define SINFO_SRC "IbisParser/sinfo"

SinfoRecord *SINFO_New(int off) {
  SinfoRecord *s = NULL;
  if( !CMN_Calloc(&s, sizeof(*s)) ) {
    MSG_BugCode(MSGC_SINFO_NO_MEMORY, SINFO_SRC, __LINE__);
    return NULL;
  }
  s->off = off;
  return s;
}

void SINFO_Free(SinfoRecord **slot) {
  SinfoRecord *s = *slot;
  int i;
  if( s == NULL ) return;
  RNGP_Free(&s->current);
  for( i = 0; i < s->mosfetCount; i++ ) RNGP_Free(&s->mosfet[i].table);
  if( s->mosfet ) CMN_Free(&s->mosfet);
  CMN_Free(slot);
}

void SINFO_Triple(SinfoRecord *s, int which, char *rest, const char *label,
                  const char *model) {
  RNG_TypMinMax t;
  if( s == NULL ) return;
  if( s->tripleGiven[which] ) {
    MSG_ErrorCodeLine(MSGC_MDL_ALREADY_DEFINED_FOR, label, model);
    return;
  }
  if( !RNG_ReadText(rest, label, &t) ) return;
  if( t.state[RNG_TYP] == CMN_VALUE_NA ) MSG_ErrorCodeLine(MSGC_MDL_TYP_NA);
  s->triple[which] = t;
  s->tripleGiven[which] = 1;
}

SmosEntry *SINFO_NewMosfet(SinfoRecord *s) {
  SmosEntry *e;
  if( s == NULL ) return NULL;
  if( s->mosfetCount >= SMOS_MAX_ENTRIES )
    MSG_ErrorCodeLine(MSGC_SMOS_TOO_MANY);
  if( s->mosfetCount == s->mosfetCapacity ) {
    int capacity = s->mosfetCapacity ? s->mosfetCapacity * 2 : 4;
    size_t bytes = sizeof(SmosEntry) * (size_t)capacity;
    if( s->mosfet == NULL ? !CMN_Calloc(&s->mosfet, bytes)
                          : !CMN_Realloc(&s->mosfet, bytes) ) {
      MSG_BugCode(MSGC_SMOS_NO_MEMORY, SINFO_SRC, __LINE__);
      return NULL;
    }
    s->mosfetCapacity = capacity;
  }
  e = &s->mosfet[s->mosfetCount++];
  memset(e, 0, sizeof(*e));
  e->line = PARSE_GetLineNumber();
  RNGP_Begin(&e->table);
  return e;
}

static int sinfoCompare(const void *a, const void *b) {
  double x = *(const double *)a, y = *(const double *)b;
  return x < y ? -1 : x > y;
}

/* Vds values closer than 1e-9 are one operating point given twice;
** sorted, such a pair is always adjacent. */
static void sinfoSameVds(const SinfoRecord *s, const char *model,
                         const char *label) {
  double *v = NULL;
  int i, n = 0;
  if( s->mosfetCount < 2 ) return;
  if( !CMN_Calloc(&v, sizeof(double) * (size_t)s->mosfetCount) ) return;
  for( i = 0; i < s->mosfetCount; i++ ) {
    if( s->mosfet[i].vdsGiven ) v[n++] = s->mosfet[i].vds;
  }
  qsort(v, (size_t)n, sizeof(double), sinfoCompare);
  for( i = 1; i < n; i++ ) {
    if( v[i] - v[i - 1] < 1e-9 )
      MSG_ErrorCode(MSGC_SMOS_SAME_VDS, model, label, v[i]);
  }
  CMN_Free(&v);
}

void SINFO_Check(const SinfoRecord *s, const char *model, const char *label) {
  if( s == NULL ) return;
  if( !s->tripleGiven[SINFO_R] && !s->tripleGiven[SINFO_L]
      && !s->tripleGiven[SINFO_C] && s->current.line == 0
      && s->mosfetCount == 0 )
    MSG_ErrorCode(MSGC_SINFO_NO_DATA, model, label);
  if( s->off && s->mosfetCount > 0 )
    MSG_ErrorCode(MSGC_SINFO_MOSFET_OFF, model);
  if( s->tripleGiven[SINFO_RL] && !s->tripleGiven[SINFO_L] )
    MSG_ErrorCode(MSGC_SINFO_RL_WITHOUT_L, model, label);
  if( s->tripleGiven[SINFO_RC] && !s->tripleGiven[SINFO_C] )
    MSG_ErrorCode(MSGC_SINFO_RC_WITHOUT_C, model, label);
  if( s->tripleGiven[SINFO_LC] && !s->tripleGiven[SINFO_C] )
    MSG_ErrorCode(MSGC_SINFO_LC_WITHOUT_C, model, label);
  sinfoSameVds(s, model, label);
}
