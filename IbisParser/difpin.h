/*
** difpin.h: the [Diff Pin] data lines of a component (pairs of pins that
** form one differential signal) and their after-file check.
*/
#ifndef IBISPARSER_DIFPIN_H
#define IBISPARSER_DIFPIN_H

#include "IbisParser/pin.h"

#define DIFPIN_MAX_PIN 5

typedef struct DIFPIN_DiffPin {
  struct DIFPIN_DiffPin *next;
  int columns;
  char pin[DIFPIN_MAX_PIN + 1];
  char invPin[DIFPIN_MAX_PIN + 1];
  PinValue vdiff, tdelayTyp, tdelayMin, tdelayMax;
} DIFPIN_DiffPin;

struct CMPNT_Component;

/* One data line under a header of `headerColumns` columns, appended after
** *tail.  0 when no record could be made (reported; the caller reports the
** line). */
int DIFPIN_ReadLine(struct CMPNT_Component *component, char *text,
                    DIFPIN_DiffPin **tail);
void DIFPIN_FreeList(DIFPIN_DiffPin **list);
/* After the file: the pairs against the component's pins and each
** other. */
void DIFPIN_Check(const struct CMPNT_Component *component);

#endif
