/*
** spinmpg.h: [Series Pin Mapping] data lines of a component (pairs of pins
** joined by a Series or Series_switch model) and their after-file check
** against the file's models, model selectors and series switch groups.
*/
#ifndef IBISPARSER_SPINMPG_H
#define IBISPARSER_SPINMPG_H

#include "IbisParser/nameidx.h"

#define SPINMPG_MAX_PIN 5
#define SPINMPG_MAX_MODEL 40 /* 20 below version 4 */
#define SPINMPG_MAX_GROUP 20

struct CMPNT_Component;

typedef struct SPINMPG_Entry {
  struct SPINMPG_Entry *next;
  int columns;
  char pin1[SPINMPG_MAX_PIN + 1];
  char pin2[SPINMPG_MAX_PIN + 1];
  char model[SPINMPG_MAX_MODEL + 1];
  char group[SPINMPG_MAX_GROUP + 1]; /* empty when absent */
} SPINMPG_Entry;

/* One data line under a header of `headerColumns` columns: 1 and a new
** entry in *out for the caller to append, or 0 (the caller reports it). */
int SPINMPG_ReadLine(char *text, int headerColumns, SPINMPG_Entry **out);
void SPINMPG_FreeList(SPINMPG_Entry **list);
/* After the file: the entries' pins against the component's pins, their
** models against the file's models and selectors (indexes by name of
** MDL_Model and MSEL_Selector records). */
void SPINMPG_Check(const struct CMPNT_Component *component,
                   const NameIndex *models, const NameIndex *selectors);

#endif
