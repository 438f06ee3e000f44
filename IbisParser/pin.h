/*
** pin.h: the [Pin] data lines of a component, their after-file check
** against the file's models, selectors, pin mappings and package model,
** and the name look-ups the other sections use on a component's pins.
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

struct CMPNT_Component;
struct CmpntIndex;

/* One [Pin] data line of `component`: `position` gives the column (0 to 2
** among the last three) of R_pin, L_pin and C_pin.  The pin is appended
** after *tail (which then points at it).  0 when no record could be made
** (reported; the caller reports the line). */
int PIN_ReadLine(struct CMPNT_Component *component, char *text,
                 const int position[3], PIN_Pin **tail);
/* Frees a component's pin list. */
void PIN_FreeList(PIN_Pin **list);

/* After the file: every pin's model against the file's models and
** selectors, every pin against the pin mappings, and the component's
** package model pins against its pins. */
void PIN_Check(const struct CMPNT_Component *component,
               const struct CmpntIndex *index);

/* Model-name tests (letter case ignored); a null pin is none of them. */
int PIN_IsPower(const PIN_Pin *pin);
int PIN_IsGnd(const PIN_Pin *pin);
int PIN_IsRail(const PIN_Pin *pin); /* POWER or GND */
/* POWER, GND, NC or CIRCUITCALL: a model name that names no model. */
int PIN_IsReservedModel(const char *model);

#endif
