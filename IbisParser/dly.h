/*
** dly.h: the four delays of a [Driver Schedule] line (Rise_on_dly,
** Rise_off_dly, Fall_on_dly, Fall_off_dly), each a number or NA.
*/
#ifndef IBISPARSER_DLY_H
#define IBISPARSER_DLY_H

enum { DLY_RISE_ON = 0, DLY_RISE_OFF, DLY_FALL_ON, DLY_FALL_OFF, DLY_COUNT };

typedef struct DlyDelays {
  double value[DLY_COUNT];
  int state[DLY_COUNT]; /* CMN_VALUE_ABSENT, CMN_VALUE_GIVEN, CMN_VALUE_NA */
} DlyDelays;

/* Reads and checks the delay items (those after the model name).  1 when
** the delays were stored in *out, 0 when an item was not a number or NA. */
int DLY_Read(char *const *item, int n, DlyDelays *out);

#endif
