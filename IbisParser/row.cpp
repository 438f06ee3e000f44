/*
** row.cpp: the data lines of a matrix row, and the row's entry storage.
**
** Data lines go to the last row of the matrix.  A banded row that runs
** past the end of the matrix turns the matrix into a circle-back one: the
** band wraps around to the first pins, and every row gets the full band.
*/
#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/mtx.h"
#include "IbisParser/pkgmdl.h"

#include <string.h>

#define ROW_SRC "IbisParser/row"

/* A value token: 1 and its value, or 0 when it is no number. */
static int rowNumber(const char *token, double *out) {
  int rc = CMN_ParseNumber(token, out);
  if( rc == 0 ) {
    MSG_ErrorCodeLine(MSGC_ROW_BAD_DATA);
    return 0;
  }
  if( rc == 2 ) MSG_WarningCodeLine(MSGC_ROW_SUSPICIOUS_DATA);
  return 1;
}

static int rowGrowValues(ROW *row, int sparse) {
  unsigned cap = row->capacity < 4 ? 8 : row->capacity;
  cap = cap > row->uiColumnCount / 2 ? row->uiColumnCount : cap * 2;
  if( cap <= row->count ) cap = row->count + 1;
  if( !CMN_Realloc((void **)&row->value, (size_t)cap * sizeof(double)) ) {
    return 0;
  }
  if( sparse
      && !CMN_Realloc((void **)&row->column, (size_t)cap * sizeof(unsigned)) ) {
    return 0;
  }
  row->capacity = cap;
  return 1;
}

/* Makes the matrix's bits cover entry index k. */
static int rowGrowBits(MTX *m, unsigned k) {
  unsigned long long bits = (unsigned long long)m->givenBits * 2;
  size_t oldBytes = m->givenBits / 8, newBytes;
  if( bits < (unsigned long long)k + 1 ) bits = (unsigned long long)k + 1;
  if( bits < 64 ) bits = 64;
  newBytes = (size_t)((bits + 7) / 8);
  if( m->given == NULL ? !CMN_Calloc((void **)&m->given, newBytes)
                       : !CMN_Realloc((void **)&m->given, newBytes) ) {
    return 0;
  }
  memset(m->given + oldBytes, 0, newBytes - oldBytes);
  m->givenBits =
      (unsigned)(newBytes * 8 > 0xffffffffu ? 0xfffffff8u : newBytes * 8);
  return 1;
}

/* Makes `row` the one whose entries the bits mark, clearing the bits of
** the row before it (rows are read one after the other). */
static void rowTrackGiven(MTX *m, const ROW *row) {
  unsigned i;
  if( m->givenRow == row ) return;
  if( m->givenRow ) {
    const ROW *old = m->givenRow;
    for( i = 0; i < old->count; i++ ) {
      unsigned k = old->column[i];
      if( k < m->givenBits ) m->given[k / 8] &= (unsigned char)~(1u << (k % 8));
    }
  }
  m->givenRow = row;
}

static int rowGiven(const MTX *m, unsigned k) {
  return k < m->givenBits && (m->given[k / 8] >> (k % 8)) & 1;
}

static int rowMarkGiven(MTX *m, unsigned k) {
  if( k >= m->givenBits && !rowGrowBits(m, k) ) return 0;
  m->given[k / 8] |= (unsigned char)(1u << (k % 8));
  return 1;
}

int ROW_Store(ROW *row, int sparse, unsigned k, double value) {
  CMN_ASSERT(row != NULL, ROW_SRC);
  if( row->count >= row->capacity && !rowGrowValues(row, sparse) ) return 0;
  if( !sparse ) {
    CMN_ASSERT(k == row->count, ROW_SRC);
    row->value[row->count++] = value;
    return 1;
  }
  row->column[row->count] = k;
  row->value[row->count++] = value;
  return 1;
}

int ROW_Entry(const ROW *row, unsigned k, double *out) {
  unsigned i;
  CMN_ASSERT(row != NULL, ROW_SRC);
  if( row->column == NULL ) {
    if( k >= row->count ) return 0;
    if( out ) *out = row->value[k];
    return 1;
  }
  for( i = 0; i < row->count; i++ ) {
    if( row->column[i] == k ) {
      if( out ) *out = row->value[i];
      return 1;
    }
  }
  return 0;
}

void ROW_Free(ROW **row) {
  CMN_ASSERT(row != NULL, ROW_SRC);
  if( *row == NULL ) return;
  if( (*row)->value ) CMN_Free((void **)&(*row)->value);
  if( (*row)->column ) CMN_Free((void **)&(*row)->column);
  CMN_Free((void **)row);
}

/* Every row of a circle-back matrix gets `columns` entries. */
static int rowWiden(MTX *m, unsigned columns) {
  ROW *row;
  if( columns <= m->last->uiColumnCount ) {
    MSG_BugCodeLine(MSGC_ROW_WIDEN_NOT_WIDER, ROW_SRC, __LINE__, columns,
                    m->last->uiColumnCount);
    return 0;
  }
  for( row = m->rows; row; row = row->next ) {
    if( row->uiColumnCount > columns ) {
      MSG_BugCodeLine(MSGC_ROW_WIDER_THAN_WIDENED, ROW_SRC, __LINE__);
      continue;
    }
    row->uiColumnCount = columns;
  }
  return 1;
}

/* A value past the end of a full banded row: 1 when the matrix wraps
** around and the row took more entries, 0 when the value is refused. */
static int rowWrapAround(MTX *m, ROW *row) {
  unsigned long long c = row->uiColumnCount, b = m->bandwidth;
  unsigned limit;
  if( c == b + 1 || m->size >= row->position + c
      || m->eMatrixType == MTX_TYPE_BANDED_WRAP ) {
    MSG_ErrorCodeLine(MSGC_ROW_COLUMN_LIMIT, row->uiColumnCount);
    return 0;
  }
  if( m->eMatrixType != MTX_TYPE_BANDED ) {
    MSG_BugCodeLine(MSGC_MTX_WRAP_NOT_BANDED);
    return 0;
  }
  m->eMatrixType = MTX_TYPE_BANDED_WRAP;
  limit = m->size ? (m->size - 1) / 2 : 0;
  if( limit < m->bandwidth ) {
    MSG_ErrorCodeLine(MSGC_MTX_WRAP_LIMIT, limit);
    return 0;
  }
  return rowWiden(m, m->bandwidth + 1);
}

/* Fills the next entries of a banded or full row from a data line. */
static void rowDenseData(MTX *m, char *text, int banded) {
  ROW *row = m->last;
  char *p = text, *token;
  double v;
  if( row == NULL || m->extraRow ) return;
  while( (token = CMN_NextToken(&p)) != NULL ) {
    if( !rowNumber(token, &v) ) return;
    if( row->count >= row->uiColumnCount ) {
      if( !banded ) {
        MSG_ErrorCodeLine(MSGC_ROW_TOO_MUCH_DATA);
        return;
      }
      if( !rowWrapAround(m, row) ) return;
    }
    if( !ROW_Store(row, 0, row->count, v) ) {
      MSG_ErrorCodeLine(MSGC_ROW_ADD_DATA_FAILED);
      return;
    }
    row->selfCoupled = 1;
  }
}

void ROW_BandedData(MTX *m, char *text) {
  CMN_ASSERT(m != NULL && text != NULL, ROW_SRC);
  rowDenseData(m, text, 1);
}

void ROW_FullData(MTX *m, char *text) {
  CMN_ASSERT(m != NULL && text != NULL, ROW_SRC);
  rowDenseData(m, text, 0);
}

/* The column of a sparse data line: 1 and the entry index, or 0 when the
** line ends here (reported). */
static int rowSparseColumn(const MTX *m, ROW *row, const char *name,
                           unsigned *k) {
  unsigned q = 0;
  if( strcmp(name, row->pin) == 0 ) row->selfCoupled = 1;
  if( !PKGMDL_PinIndex(name, &q) ) {
    MSG_ErrorCodeLine(MSGC_ROW_UNKNOWN_PIN, name);
    return 0;
  }
  if( q < row->position ) {
    MSG_ErrorCodeLine(MSGC_ROW_LOWER_TRIANGLE);
    return 0;
  }
  if( q - 1 >= row->uiColumnCount ) {
    MSG_BugCodeLine(MSGC_ROW_COLUMN_OUT_OF_RANGE, ROW_SRC, __LINE__);
    return 0;
  }
  if( rowGiven(m, q - 1) ) {
    MSG_ErrorCodeLine(MSGC_ROW_DUPLICATE_COLUMN, q);
    return 0;
  }
  *k = q - 1;
  return 1;
}

void ROW_SparseData(MTX *m, char *text) {
  ROW *row;
  char *p = text, *token;
  unsigned k;
  double v;
  CMN_ASSERT(m != NULL && text != NULL, ROW_SRC);
  if( (row = m->last) == NULL ) return;
  if( (token = CMN_NextToken(&p)) == NULL ) {
    MSG_ErrorCodeLine(MSGC_ROW_NO_COLUMN_INDEX);
    return;
  }
  rowTrackGiven(m, row);
  if( !rowSparseColumn(m, row, token, &k) ) return;
  if( (token = CMN_NextToken(&p)) == NULL ) {
    MSG_ErrorCodeLine(MSGC_ROW_NO_DATA);
    return;
  }
  if( !rowNumber(token, &v) ) return;
  if( !ROW_Store(row, 1, k, v) || !rowMarkGiven(m, k) ) {
    MSG_ErrorCodeLine(MSGC_ROW_ADD_DATA_FAILED);
    return;
  }
  if( (token = CMN_NextToken(&p)) != NULL ) {
    MSG_ErrorCodeLine(MSGC_ROW_EXCESS_SPARSE_DATA, token);
  }
}
