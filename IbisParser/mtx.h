/*
** mtx.h: the coupling matrices of a package model ([Resistance Matrix],
** [Inductance Matrix], [Capacitance Matrix]) and their rows.
**
** A matrix is banded, banded circle-back (a band that wraps around past the
** last pin), sparse or full, and holds one ROW per [Row] in file order.
** Only the upper triangle is written: entry k of a banded or full row is
** the coupling with the pin k places right of the diagonal, entry k of a
** sparse row the coupling with pin index k + 1.
**
** Rows store only what the file gives, so a matrix costs memory in
** proportion to its text whatever pin count the file declares: banded and
** full rows are filled from their first entry on and keep their values in
** one array; a sparse row keeps (entry, value) pairs and a bit per entry
** index for its duplicate check.
*/
#ifndef IBISPARSER_MTX_H
#define IBISPARSER_MTX_H

#include "IbisParser/strlist.h"

/* Longest pin name of a row. */
#define MTX_MAX_PIN 5

enum {
  MTX_TYPE_NONE = 0,
  MTX_TYPE_BANDED = 1,
  MTX_TYPE_BANDED_WRAP = 2,
  MTX_TYPE_SPARSE = 3,
  MTX_TYPE_FULL = 4
};

typedef struct ROW {
  struct ROW *next;
  char pin[MTX_MAX_PIN + 1];
  unsigned selfCoupled;   /* the row holds its diagonal entry */
  unsigned uiColumnCount; /* the entries the row may hold */
  unsigned position;      /* 1-based place of the row in its matrix */
  unsigned count;         /* entries given */
  unsigned capacity;      /* slots allocated in value (and column) */
  double *value;          /* banded, full: entry k; sparse: in file order */
  unsigned *column;       /* sparse: the entry index of each value */
} ROW;

typedef struct MTX {
  int eMatrixType;
  unsigned size; /* the model's number of pins when the matrix began */
  unsigned bandwidthGiven;
  unsigned bandwidth;
  ROW *rows; /* in file order */
  ROW *last;
  unsigned rowCount;
  /* The last [Row] was one too many: its data lines are ignored rather
  ** than added to the row before it. */
  int extraRow;
  NameCount *rowNames; /* how often each row name was used */
  /* Sparse: the entry indexes the row being read (givenRow) has given, a
  ** bit each.  One set per matrix, cleared through the row's own column
  ** list when the next row starts, so memory stays linear in the pins
  ** however many rows there are. */
  unsigned char *given;
  unsigned givenBits; /* entry indexes the bits cover */
  const ROW *givenRow;
} MTX;

/* Begins a matrix in *slot: closes the current one, and makes the new one
** (of the type `typeWord` names) current.  `size` is the pin count. */
void MTX_New(MTX **slot, const char *typeWord, unsigned size);

/* [Bandwidth] of a banded matrix. */
void MTX_SetBandwidth(MTX *matrix, const char *text);

/* [Row] `pin` of a matrix; the new row's pin index comes from the current
** package model (PKGMDL_PinIndex). */
void MTX_NewRow(MTX *matrix, const char *pin);

/* Ends the current matrix: the row count and the rows' entries. */
void MTX_Close(void);

/* The current matrix, or null. */
MTX *MTX_Current(void);

/* Forgets the current matrix (start of a file, or its model released). */
void MTX_Reset(void);

void MTX_Free(MTX **matrix);

/* Row data lines ([Row] data of the matrix's last row). */
void ROW_BandedData(MTX *matrix, char *text);
void ROW_SparseData(MTX *matrix, char *text);
void ROW_FullData(MTX *matrix, char *text);

/* 1 and the value of entry k of a row, or 0 when it was not given. */
int ROW_Entry(const ROW *row, unsigned k, double *out);

/* Stores `value` as entry k of a row (the next entry of a banded or full
** row, any free one of a sparse row).  1, or 0 when memory ran out. */
int ROW_Store(ROW *row, int sparse, unsigned k, double value);

void ROW_Free(ROW **row);

#endif
