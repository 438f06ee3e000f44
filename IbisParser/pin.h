/*
** pin.h: the [Pin] data lines of a component, and the name look-ups the
** other sections use on a component's pins.
*/
#ifndef IBISPARSER_PIN_H
#define IBISPARSER_PIN_H

#define PIN_MAX_NAME 5
#define PIN_MAX_SIGNAL 40 /* 20 below version 4 */
#define PIN_MAX_MODEL 40  /* 20 below version 4 */

enum { PIN_VALUE_ABSENT = 0, PIN_VALUE_GIVEN = 1, PIN_VALUE_NA = 2 };

typedef struct PinValue {
  double value;
  int state; /* PIN_VALUE_* */
} PinValue;

typedef struct PIN_Pin {
  struct PIN_Pin *next;
  int columns; /* columns found on the line */
  char name[PIN_MAX_NAME + 1];
  char signal[PIN_MAX_SIGNAL + 1];
  char model[PIN_MAX_MODEL + 1];
  PinValue rPin, lPin, cPin;
  int line; /* the pin's line in the file */
} PIN_Pin;

#endif
