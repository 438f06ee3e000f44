/*
** pintab.h: what the pin tables of the component keywords of IBIS 6.0 and
** later ([Repeater Pin], [Clock Pins]) share: the column header on the
** keyword line, the column count of their data lines, a bounded copy of a
** pin name and the after-file look-up of a pin in its component.
*/
#ifndef IBISPARSER_PINTAB_H
#define IBISPARSER_PINTAB_H

#include "IbisParser/pin.h"
#include "IbisParser/rng.h"

struct CMPNT_Component;

/* The header after the keyword (`rest`, split in place): `count` fixed
** column names after the keyword's own column, compared ignoring case.
** `label` names the keyword in the messages ("Repeater_Pin"). */
void PINTAB_Header(char *rest, const char *label, const char *const *names,
                   int count);

/* Splits a data line in place into `items`; 1 when it holds exactly
** `columns` items, else 0 after reporting the count. */
int PINTAB_Line(char *text, const char *label, int columns, RngItems *items);

/* Copies a pin name of at most PIN_MAX_NAME characters into `field`
** (PIN_MAX_NAME + 1 bytes); a longer one is reported with `column` and
** cut. */
void PINTAB_CopyPin(char *field, const char *value, const char *column);

/* After the file: 1 when `pin` is a pin of `component`, else 0 after
** reporting it under `column`. */
int PINTAB_PinDeclared(const struct CMPNT_Component *component,
                       const char *column, const char *pin);

#endif
