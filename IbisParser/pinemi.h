/*
** pinemi.h: the [Pin EMI] table of a component's EMI block, and the EMI
** check at the end of the component.
**
** Each data line names a pin, its EMI domain and its clock divider; the
** entries are kept in file order.  The check needs the component's pins,
** which it asks for through a look-up the component section supplies.
*/
#ifndef IBISPARSER_PINEMI_H
#define IBISPARSER_PINEMI_H

#include "IbisParser/nameidx.h"

#define PINEMI_MAX_PIN_NAME 5
#define PINEMI_MAX_DOMAIN_NAME 20
#define PINEMI_MAX_CLOCK_DIV 5

typedef struct PinEmi {
  struct PinEmi *next;
  char pinName[PINEMI_MAX_PIN_NAME + 1];
  char domainName[PINEMI_MAX_DOMAIN_NAME + 1];
  double clockDiv;
  int clockDivState; /* CMN_VALUE_ABSENT, _GIVEN or _NA */
} PinEmi;

typedef struct PinEmiList {
  PinEmi *first;
  PinEmi *last;
  NameIndex pins; /* the pin names, for the repeat check */
} PinEmiList;

struct CmpntEmi;

/* A new empty list in *list (which must be null); 1, or 0 when memory ran
** out (already reported). */
int PINEMI_NewList(PinEmiList **list);
/* One data line of the table (leading and trailing white space gone). */
void PINEMI_Line(char *text, PinEmiList *list);
/* Releases the list and its entries and clears *list; null is allowed. */
void PINEMI_FreeList(PinEmiList **list);

/* The model name of pin `pinName` on the component being checked, or null
** when the component has no such pin. */
typedef const char *(*PinEmiPinModel)(void *context, const char *pinName);

/* The component's EMI check, run at the end of the component: every
** [Pin Domain EMI] domain is used by a [Pin EMI] line, and every [Pin EMI]
** pin is a pin of the component whose model is not a reserved word.  A
** null `emi` (no EMI block) checks nothing. */
void PINEMI_CheckComponent(const char *componentName,
                           const struct CmpntEmi *emi, PinEmiPinModel pinModel,
                           void *context);

#endif
