/*
** mtx.cpp: package-model matrices: their type, bandwidth, rows, and the
** checks when a matrix ends.  Row data lines are row.cpp's.
*/
#include "IbisParser/mtx.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/pkgmdl.h"

#include <limits.h>
#include <string.h>

#define MTX_SRC "IbisParser/mtx"

static MTX *gpMtx; /* the matrix being read, null when none */

MTX *MTX_Current(void) { return gpMtx; }
void MTX_Reset(void) { gpMtx = NULL; }

void MTX_New(MTX **slot, const char *typeWord, unsigned size) {
  static const struct {
    const char *word;
    int type;
  } types[] = { { "Banded_matrix", MTX_TYPE_BANDED },
                { "Sparse_matrix", MTX_TYPE_SPARSE },
                { "Full_matrix", MTX_TYPE_FULL } };
  MTX *m = NULL;
  size_t i;
  CMN_ASSERT(slot != NULL && typeWord != NULL, MTX_SRC);
  MTX_Close();
  if( !CMN_Calloc((void **)&m, sizeof(*m)) ) {
    MSG_ErrorCodeLine(MSGC_MTX_CREATE_FAILED);
    return;
  }
  m->size = size;
  *slot = m;
  gpMtx = m;
  /* The whole value names the type: "Full_matrix junk" is no known type,
  ** not a full matrix with a remark. */
  while( *typeWord == ' ' || *typeWord == '\t' ) typeWord++;
  if( *typeWord == 0 ) {
    MSG_ErrorCodeLine(MSGC_MTX_NO_TYPE);
    return;
  }
  for( i = 0; i < sizeof(types) / sizeof(types[0]); i++ ) {
    if( CMN_StrEqualNoCase(typeWord, types[i].word) ) {
      m->eMatrixType = types[i].type;
      return;
    }
  }
  MSG_ErrorCodeLine(MSGC_MTX_UNKNOWN_TYPE, typeWord);
}

static int mtxIsBanded(const MTX *m) {
  return m->eMatrixType == MTX_TYPE_BANDED
      || m->eMatrixType == MTX_TYPE_BANDED_WRAP;
}

void MTX_SetBandwidth(MTX *m, const char *text) {
  unsigned long b = 0;
  int rc;
  CMN_ASSERT(m != NULL && text != NULL, MTX_SRC);
  if( !mtxIsBanded(m) ) {
    MSG_ErrorCodeLine(MSGC_MTX_BANDWIDTH_NOT_BANDED);
    return;
  }
  m->bandwidthGiven = 1;
  rc = CMN_ParseUnsigned(text, &b);
  if( rc == 0 ) {
    MSG_ErrorCodeLine(MSGC_MTX_BAD_BANDWIDTH);
    return;
  }
  if( rc == 2 ) MSG_ErrorCodeLine(MSGC_MTX_SUSPICIOUS_BANDWIDTH);
  m->bandwidth = b > UINT_MAX ? UINT_MAX : (unsigned)b;
  if( m->bandwidth >= m->size ) {
    MSG_ErrorCodeLine(MSGC_MTX_BANDWIDTH_TOO_LARGE, m->bandwidth, m->size);
  }
}

/* The entries a new row may hold, or 0 and *refused when the matrix
** takes no more rows. */
static unsigned mtxColumnsOfNewRow(const MTX *m, int *refused) {
  unsigned k = m->rowCount, n = m->size;
  unsigned long long band = (unsigned long long)m->bandwidth + 1;
  *refused = 0;
  switch( m->eMatrixType ) {
    case MTX_TYPE_BANDED:
      if( k >= n ) break;
      return band < n - k ? (unsigned)band : n - k;
    case MTX_TYPE_BANDED_WRAP:
      if( k > n ) break;
      return band > UINT_MAX ? UINT_MAX : (unsigned)band;
    case MTX_TYPE_SPARSE:
      return n;
    case MTX_TYPE_FULL:
      if( k >= n ) break;
      return n - k;
    default: /* an unknown type was reported at its keyword */
      break;
  }
  *refused = 1;
  return 0;
}

/* The row's pin name, stored to MTX_MAX_PIN characters. */
static void mtxRowPin(ROW *row, const char *pin) {
  size_t n = strlen(pin);
  if( n == 0 ) MSG_ErrorCodeLine(MSGC_ROW_UNKNOWN_PIN_NUMBER);
  if( n > MTX_MAX_PIN ) {
    MSG_ErrorCodeLine(MSGC_ROW_PIN_NUMBER_TOO_LONG);
    n = MTX_MAX_PIN;
  }
  memcpy(row->pin, pin, n);
  row->pin[n] = 0;
  CMN_CheckReservedWord(row->pin);
}

/* Links a new row and reports where it stands among the matrix's rows. */
static void mtxAppendRow(MTX *m, ROW *row) {
  unsigned p = 0;
  int seen;
  if( !PKGMDL_PinIndex(row->pin, &p) ) {
    MSG_ErrorCodeLine(MSGC_ROW_UNKNOWN_PIN, row->pin);
  }
  if( m->last )
    m->last->next = row;
  else
    m->rows = row;
  m->last = row;
  row->position = ++m->rowCount;
  /* Once per row that repeats a name: a message for each earlier row of
  ** the name would grow with the square of the repeats. */
  seen = STRING_CountAdd(&m->rowNames, row->pin) - 1;
  if( seen > 0 ) MSG_ErrorCodeLine(MSGC_ROW_REPEATED, row->pin);
  if( p != 0 && p != row->position ) {
    MSG_ErrorCodeLine(MSGC_ROW_OUT_OF_PLACE, row->pin, p, row->position);
  }
}

void MTX_NewRow(MTX *m, const char *pin) {
  ROW *row = NULL;
  int refused;
  unsigned columns;
  CMN_ASSERT(m != NULL && pin != NULL, MTX_SRC);
  columns = mtxColumnsOfNewRow(m, &refused);
  if( refused ) {
    /* A matrix of an unknown type was reported at its keyword. */
    if( m->eMatrixType != MTX_TYPE_NONE ) {
      MSG_ErrorCodeLine(MSGC_ROW_EXTRA, pin, m->size);
      m->extraRow = 1;
    }
    return;
  }
  m->extraRow = 0;
  if( !CMN_Calloc((void **)&row, sizeof(*row)) ) {
    MSG_ErrorCodeLine(MSGC_ROW_CREATE_FAILED);
    return;
  }
  mtxRowPin(row, pin);
  if( columns == 0 ) {
    MSG_ErrorCodeLine(MSGC_ROW_ZERO_COLUMNS);
    ROW_Free(&row);
    return;
  }
  row->uiColumnCount = columns;
  /* The entry storage starts small and grows with the data, so a
  ** declared pin count alone allocates nothing. */
  row->capacity = columns < 8 ? columns : 8;
  if( !CMN_Calloc((void **)&row->value, row->capacity * sizeof(double)) ) {
    MSG_ErrorCodeLine(MSGC_ROW_ENTRY_ARRAY_FAILED);
    ROW_Free(&row);
    return;
  }
  if( m->eMatrixType == MTX_TYPE_SPARSE
      && !CMN_Calloc((void **)&row->column,
                     row->capacity * sizeof(unsigned)) ) {
    MSG_ErrorCodeLine(MSGC_ROW_ENTRY_ARRAY_FAILED);
    ROW_Free(&row);
    return;
  }
  mtxAppendRow(m, row);
}

/* Whether a row holds all its entries; reports it when not. */
static int mtxRowComplete(const MTX *m, const ROW *row) {
  switch( m->eMatrixType ) {
    case MTX_TYPE_BANDED:
    case MTX_TYPE_BANDED_WRAP:
    case MTX_TYPE_FULL:
      if( row->count >= row->uiColumnCount ) return 1;
      MSG_ErrorCodeLine(MSGC_ROW_COLUMN_COUNT, row->uiColumnCount, row->pin,
                        row->count, row->count == 1 ? 0 : 's');
      return 0;
    case MTX_TYPE_SPARSE:
      if( row->count > 0 ) return 1;
      MSG_ErrorCodeLine(MSGC_ROW_EMPTY_SPARSE, row->pin);
      return 0;
    default:
      MSG_BugCodeLine(MSGC_MTX_UNKNOWN_TYPE_COLUMNS);
      return 0;
  }
}

void MTX_Close(void) {
  MTX *m = gpMtx;
  ROW *row;
  int passed = 1;
  if( m == NULL ) return;
  if( m->rowCount != m->size ) {
    MSG_ErrorCodeLine(MSGC_MTX_ROW_COUNT, m->size, m->rowCount);
  }
  for( row = m->rows; row; row = row->next ) {
    if( !mtxRowComplete(m, row) ) passed = 0;
    /* A row short of data may well lack its diagonal too; only the first
    ** fault is worth reading. */
    if( passed && !row->selfCoupled ) {
      MSG_ErrorCodeLine(MSGC_ROW_NOT_SELF_COUPLED, row->pin);
    }
  }
  gpMtx = NULL;
}

void MTX_Free(MTX **matrix) {
  ROW *row, *next;
  CMN_ASSERT(matrix != NULL, MTX_SRC);
  if( *matrix == NULL ) return;
  if( gpMtx == *matrix ) gpMtx = NULL;
  for( row = (*matrix)->rows; row; row = next ) {
    next = row->next;
    ROW_Free(&row);
  }
  STRING_CountFree(&(*matrix)->rowNames);
  if( (*matrix)->given ) CMN_Free((void **)&(*matrix)->given);
  CMN_Free((void **)matrix);
}
