/*
** pinmpg.h: the [Pin Mapping] data lines of a component (the supply buses
** each pin's pullup, pulldown, clamps and external reference connect to)
** and their after-file check against the component's pins.
*/
#ifndef IBISPARSER_PINMPG_H
#define IBISPARSER_PINMPG_H

#include "IbisParser/nameidx.h"

#define PINMPG_MAX_PIN 5
#define PINMPG_MAX_LABEL 15

/* The bus label columns, in header order. */
enum {
  PINMPG_PULLDOWN = 0,
  PINMPG_PULLUP,
  PINMPG_GND_CLAMP,
  PINMPG_POWER_CLAMP,
  PINMPG_EXT,
  PINMPG_LABEL_COUNT
};

typedef struct PINMPG_PinMapping {
  struct PINMPG_PinMapping *next;
  int columns;
  char pin[PINMPG_MAX_PIN + 1];
  char label[PINMPG_LABEL_COUNT][PINMPG_MAX_LABEL + 1]; /* empty: absent */
} PINMPG_PinMapping;

struct CMPNT_Component;
struct CmpntIndex;

/* One data line, appended after *tail; `mapped` indexes the pins mapped so
** far in the component (for the repeat check).  0 when no record could be
** made (reported; the caller reports the line). */
int PINMPG_ReadLine(struct CMPNT_Component *component, char *text,
                    NameIndex *mapped, PINMPG_PinMapping **tail);
void PINMPG_FreeList(PINMPG_PinMapping **list);
/* After the file: the mapping against the component's pins. */
void PINMPG_Check(const struct CMPNT_Component *component,
                  const struct CmpntIndex *index);
/* 1 when a label is open: empty or the word NC. */
int PINMPG_IsOpen(const char *label);

#endif
