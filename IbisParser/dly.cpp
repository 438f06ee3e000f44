/*
** dly.cpp: driver schedule delays.
*/
#include "IbisParser/dly.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

static const char *const dlyName[DLY_COUNT] = { "Rise_on_dly", "Rise_off_dly",
                                                "Fall_on_dly", "Fall_off_dly" };

static void dlyPairs(const DlyDelays *d) {
  int i, given = 0;
  for( i = 0; i < DLY_COUNT; i++ ) given += d->state[i] == CMN_VALUE_GIVEN;
  if( given < 2 ) MSG_ErrorCodeLine(MSGC_DLY_TOO_FEW);
  if( given == DLY_COUNT ) return;
  if( d->state[DLY_RISE_ON] == CMN_VALUE_GIVEN
      && d->state[DLY_FALL_OFF] == CMN_VALUE_GIVEN )
    MSG_ErrorCodeLine(MSGC_DLY_NOT_TOGETHER, "Rise_on_dly", "Fall_off_delay");
  if( d->state[DLY_RISE_OFF] == CMN_VALUE_GIVEN
      && d->state[DLY_FALL_ON] == CMN_VALUE_GIVEN )
    MSG_ErrorCodeLine(MSGC_DLY_NOT_TOGETHER, "Rise_off_dly", "Fall_on_delay");
}

int DLY_Read(char *const *item, int n, DlyDelays *out) {
  DlyDelays d;
  int i, na;
  if( n > DLY_COUNT ) {
    MSG_ErrorCodeLine(MSGC_DLY_LINE_ITEMS, n + 1, "Driver Schedule",
                      DLY_COUNT + 1);
    return 0;
  }
  memset(&d, 0, sizeof(d));
  for( i = 0; i < n; i++ ) {
    if( CMN_GetValueOrNA(item[i], &d.value[i], &na) == 0 ) {
      MSG_ErrorCodeLine(MSGC_CMN_INVALID_VALUE, dlyName[i], item[i]);
      return 0;
    }
    d.state[i] = na ? CMN_VALUE_NA : CMN_VALUE_GIVEN;
  }
  if( n < DLY_COUNT ) {
    MSG_ErrorCodeLine(MSGC_DLY_NO_VALUE, dlyName[n], "Driver Schedule");
    return 0;
  }
  dlyPairs(&d);
  for( i = 0; i < DLY_COUNT; i++ ) {
    if( d.state[i] == CMN_VALUE_GIVEN && d.value[i] < 0.0 )
      MSG_ErrorCodeLine(MSGC_DLY_NEGATIVE, dlyName[i]);
  }
  *out = d;
  return 1;
}
