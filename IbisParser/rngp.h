/*
** rngp.h: tables of rows (I-V tables, waveforms, pulse tables) and the row
** appender.
**
** A row is a first-column value (voltage or time) and a triple of the
** second to fourth columns.  Rows are kept in file order in one growing
** array, so appending stays amortised constant time however long the
** table.  With the duplicate check on, a repeated first-column value is
** found through the table's running maximum and, only once the column has
** stopped increasing, a hash set of the values seen: never by a search
** through the earlier rows.
*/
#ifndef IBISPARSER_RNGP_H
#define IBISPARSER_RNGP_H

#include "IbisParser/rng.h"

typedef struct RngpRow {
  double first;
  int firstState; /* CMN_VALUE_GIVEN or CMN_VALUE_NA */
  RNG_TypMinMax col;
} RngpRow;

typedef struct RngpTable {
  RngpRow *row;
  int count;
  int capacity;
  int line;    /* line of the keyword that started the table */
  int dropped; /* rows refused once the table was full */
  /* duplicate check state */
  double maxFirst;
  int increasing; /* 1 while every first value rose above the previous */
  double *seen;   /* open-addressing set of first values, or null */
  int seenCount, seenCapacity;
} RngpTable;

/* Starts an empty table at the current line; an old table is released. */
void RNGP_Begin(RngpTable *t);
/* Appends a row at the end and returns the new row count, or -1 when
** memory ran out (reported; the table is left as it was). */
int RNGP_Append(RngpTable *t, const RngpRow *row, int checkDuplicate);
/* Reads "first typ min max" from the split items into *row; `label` names
** the table.  A non-zero `countCode` is the caller's message for a count
** other than four; with 0 a row of two or three items is kept and its
** missing columns reported.  1, or 0 (reported) when the count is wrong or
** an item is not a number or NA. */
int RNGP_ReadRow(char *const *item, int n, const char *label, RngpRow *row,
                 int countCode);
void RNGP_Free(RngpTable *t);

#endif
