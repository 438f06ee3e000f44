/*
** smspec.cpp: [Submodel Spec] lines.
**
** Each line is a subparameter name and a typical, minimum and maximum
** value.  A rejected line leaves the stored values as they were.
*/
#include "IbisParser/smspec.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <string.h>

#define SMSPEC_SRC "IbisParser/smspec"

static const char *const smspecName[SMSPEC_COUNT] = { "V_trigger_r",
                                                      "V_trigger_f",
                                                      "Off_delay" };

void SMSPEC_Begin(SmspecRecord **slot) {
  SmspecRecord *s = NULL;
  if( *slot ) MSG_ErrorCodeLine(MSGC_SMSPEC_ALREADY_DEFINED);
  if( !CMN_Calloc(&s, sizeof(*s)) ) {
    MSG_BugCode(MSGC_SMSPEC_NO_MEMORY, SMSPEC_SRC, __LINE__);
    return;
  }
  SMSPEC_Free(slot);
  s->line = PARSE_GetLineNumber();
  *slot = s;
}

static int smspecFind(const char *name) {
  int i;
  for( i = 0; i < SMSPEC_COUNT; i++ ) {
    if( strcmp(name, smspecName[i]) == 0 ) return i;
  }
  return -1;
}

void SMSPEC_Line(SmspecRecord *s, char *text, const char *owner) {
  RngItems items;
  RNG_TypMinMax t;
  int f;
  if( s == NULL ) return; /* the keyword's record could not be made */
  RNG_SplitNamed(text, &items, NULL);
  if( items.count == 0 ) return;
  f = smspecFind(items.item[0]);
  if( f < 0 ) {
    MSG_ErrorCodeLine(MSGC_SMSPEC_UNKNOWN_LINE);
    return;
  }
  if( s->given[f] ) {
    MSG_ErrorCodeLine(MSGC_SMSPEC_ALREADY_DEFINED_FOR, smspecName[f], owner);
    return;
  }
  if( items.count < 2 || items.count > 4 ) {
    MSG_ErrorCodeLine(MSGC_SMSPEC_LINE_ITEMS, items.count, smspecName[f], 4);
    return;
  }
  if( !RNG_Read(items.item + 1, items.count - 1, smspecName[f], &t) ) return;
  /* Kept all the same: the subparameter is there, and the trigger checks
  ** skip the corners that hold no number. */
  if( t.state[RNG_TYP] == CMN_VALUE_NA ) MSG_ErrorCodeLine(MSGC_SMSPEC_TYP_NA);
  s->value[f] = t;
  s->given[f] = 1;
}

void SMSPEC_Close(const SmspecRecord *s, const char *owner) {
  int i;
  if( s == NULL ) return;
  for( i = 0; i < SMSPEC_COUNT; i++ ) {
    if( s->given[i] ) return;
  }
  MSG_ErrorCode(MSGC_SMSPEC_EMPTY, owner);
}

int SMSPEC_Has(const SmspecRecord *s, int which) {
  return s != NULL && which >= 0 && which < SMSPEC_COUNT && s->given[which];
}

void SMSPEC_Free(SmspecRecord **slot) {
  if( slot && *slot ) CMN_Free(slot);
}
