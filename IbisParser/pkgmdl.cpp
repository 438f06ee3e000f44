/*
** pkgmdl.cpp: the package-model section: its keywords, the routing of its
** data lines, the checks when a model ends, and the look-ups of the
** component checks.
**
** A model is current from [Define Package Model] to the first keyword of
** another section; [End Package Model] only ends the current matrix, so
** that the model's checks run once, when the model is really over.
*/
#include "IbisParser/pkgmdl.h"

#include "IbisParser/cmn.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <limits.h>
#include <string.h>

#define PKGMDL_SRC "IbisParser/pkgmdl"

static PKGMDL *pkgCurrent;                  /* null outside a package model */
static int pkgKeyword = KW_NOT_KEY;         /* the keyword last handled */
static int pkgPreviousKeyword = KW_NOT_KEY; /* the one before it */
static int pkgMatrixKeyword = KW_NOT_KEY;   /* 81-83, or KW_NOT_KEY */
static int pkgSeenPinNumbers, pkgSeenModelData, pkgSeenEndModelData;
static int pkgSeenEndPackageModel, pkgSectionForm;
static unsigned pkgPinIterator;

static void pkgClearState(void) {
  pkgKeyword = pkgPreviousKeyword = pkgMatrixKeyword = KW_NOT_KEY;
  pkgSeenPinNumbers = pkgSeenModelData = pkgSeenEndModelData = 0;
  pkgSeenEndPackageModel = pkgSectionForm = 0;
  PKGPIN_Reset();
}

void PKGMDL_Reset(void) {
  pkgCurrent = NULL;
  pkgClearState();
  MTX_Reset();
}

static void pkgEndModel(void);

void PKGMDL_Init(void) {
  IbisFile *file;
  PKGMDL *m = NULL;
  /* After an unknown keyword the reader closes nothing: a model still open
  ** here is checked now rather than left unchecked. */
  if( pkgCurrent ) pkgEndModel();
  if( !IBIS_Current(&file) ) {
    MSG_BugCode(MSGC_PKGMDL_NO_IBIS, PKGMDL_SRC, __LINE__);
    return;
  }
  if( !CMN_Calloc((void **)&m, sizeof(*m)) ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_CREATE_FAILED);
    return;
  }
  if( !IBIS_Append(file, SECTION_PACKAGE_MODEL, m) ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_CREATE_FAILED);
    CMN_Free((void **)&m);
    return;
  }
  pkgCurrent = m;
  pkgClearState();
}

/* ---- end of a model ---------------------------------------------------- */

/* A matrix of a model in section form, or a missing or banded one. */
static void pkgCheckMatrix(const PKGMDL *m, const MTX *mtx, int inSections,
                           int missing, const char *which) {
  if( mtx && pkgSectionForm ) {
    MSG_ErrorCode(inSections, m->name);
  } else if( mtx ) {
    if( (mtx->eMatrixType == MTX_TYPE_BANDED
         || mtx->eMatrixType == MTX_TYPE_BANDED_WRAP)
        && !mtx->bandwidthGiven ) {
      MSG_ErrorCode(MSGC_MTX_BANDED_NEEDS_BANDWIDTH, which);
    }
  } else if( missing && !pkgSectionForm ) {
    MSG_ErrorCode(missing, m->name);
  }
}

static void pkgCheckIdentity(const PKGMDL *m) {
  if( m->name[0] == 0 ) MSG_ErrorCode(MSGC_PKGMDL_NO_NAME);
  if( m->manufacturer[0] == 0 ) {
    MSG_ErrorCode(MSGC_PKGMDL_MISSING_KEYWORD, "Manufacturer", m->name);
  }
  if( m->oem[0] == 0 ) MSG_ErrorCode(MSGC_PKGMDL_NO_OEM, m->name);
  if( m->description[0] == 0 ) {
    MSG_ErrorCode(MSGC_PKGMDL_NO_DESCRIPTION, m->name);
  }
  if( m->numPins == 0 ) MSG_ErrorCode(MSGC_PKGMDL_NO_PIN_COUNT, m->name);
  if( !pkgSeenPinNumbers ) {
    MSG_ErrorCode(MSGC_PKGMDL_NO_PIN_NUMBERS, m->name);
  } else if( m->numPins != 0 && m->pinName == NULL ) {
    MSG_ErrorCode(MSGC_PKGMDL_NO_PIN_NAMES, m->name);
  } else if( m->numPins != 0 && m->pinCount < m->numPins ) {
    MSG_ErrorCode(MSGC_PKGMDL_PIN_NAME_COUNT, m->numPins, m->pinCount, m->name);
  }
}

static void pkgEndModel(void) {
  PKGMDL *m = pkgCurrent;
  MTX_Close();
  pkgCheckIdentity(m);
  if( pkgSectionForm ) PKGPIN_EndChecks(m);
  if( pkgSeenModelData && pkgSectionForm ) {
    MSG_ErrorCode(MSGC_PKGMDL_MODEL_DATA_WITH_SECTIONS, m->name);
  } else if( !pkgSeenModelData && !pkgSectionForm ) {
    MSG_ErrorCode(MSGC_PKGMDL_NO_MODEL_DATA, m->name);
  }
  pkgCheckMatrix(m, m->resistance, MSGC_PKGMDL_R_MATRIX_WITH_SECTIONS, 0,
                 "Resistance");
  pkgCheckMatrix(m, m->inductance, MSGC_PKGMDL_L_MATRIX_WITH_SECTIONS,
                 MSGC_PKGMDL_NO_L_MATRIX, "Inductance");
  pkgCheckMatrix(m, m->capacitance, MSGC_PKGMDL_C_MATRIX_WITH_SECTIONS,
                 MSGC_PKGMDL_NO_C_MATRIX, "Capacitance");
  if( pkgSeenEndModelData && pkgSectionForm ) {
    MSG_ErrorCode(MSGC_PKGMDL_END_MODEL_DATA_WITH_SECTIONS, m->name);
  } else if( !pkgSeenEndModelData && !pkgSectionForm ) {
    MSG_ErrorCode(MSGC_PKGMDL_NO_END_MODEL_DATA, m->name);
  }
  if( !pkgSeenEndPackageModel ) MSG_ErrorCode(MSGC_PKGMDL_NO_END_PACKAGE_MODEL);
  pkgCurrent = NULL;
  pkgClearState();
}

void PKGMDL_Close(int previousCode, int newCode) {
  (void)previousCode;
  if( (newCode >= KW_PKG_MANUFACTURER && newCode <= KW_ROW)
      || newCode == KW_NUMBER_OF_SECTIONS ) {
    return;
  }
  if( newCode == KW_END_MODEL_DATA || newCode == KW_END_PACKAGE_MODEL ) {
    MTX_Close();
    return;
  }
  if( pkgCurrent ) pkgEndModel();
}

/* ---- keyword lines ----------------------------------------------------- */

/* [Number Of Pins] and [Number Of Sections]: one unsigned count each. */
static void pkgCount(unsigned *count, const char *value, const int code[6],
                     int *formFlag) {
  unsigned long v = 0;
  int rc;
  if( value[0] == 0 ) {
    MSG_ErrorCodeLine(code[0]);
    return;
  }
  if( *count != 0 ) {
    MSG_ErrorCodeLine(code[1]);
    return;
  }
  if( formFlag && pkgCurrent->pinCount > 0 ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_SECTION_COUNT_AFTER_PINS);
  }
  if( formFlag ) *formFlag = 1;
  rc = CMN_ParseUnsigned(value, &v);
  /* A count past 32 bits is no count this checker can hold. */
  if( rc != 0 && v > UINT_MAX ) rc = 0;
  if( rc == 2 ) {
    MSG_WarningCodeLine(code[2]);
    *count = (unsigned)v;
    return;
  }
  if( rc == 0 ) {
    MSG_ErrorCodeLine(code[3]);
    return;
  }
  if( v == 0 ) MSG_ErrorCodeLine(code[4]);
  *count = (unsigned)v;
}

/* [Pin Numbers], [Model Data], [End Model Data], [End Package Model]. */
static void pkgFlagKeyword(int *seen, const char *name, const char *value) {
  if( *seen ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_DUPLICATE_KEYWORD, name);
    return;
  }
  if( value[0] ) MSG_ErrorCodeLine(MSGC_PKGMDL_EXTRANEOUS_DATA, name);
  *seen = 1;
}

/* The model's matrix slot of a matrix keyword, or null. */
static MTX **pkgMatrixSlot(PKGMDL *m, int code) {
  switch( code ) {
    case KW_RESISTANCE_MATRIX:
      return &m->resistance;
    case KW_INDUCTANCE_MATRIX:
      return &m->inductance;
    case KW_CAPACITANCE_MATRIX:
      return &m->capacitance;
    default:
      return NULL;
  }
}

static void pkgMatrixKeywordLine(PKGMDL *m, int code, const char *value) {
  static const int duplicate[] = { MSGC_PKGMDL_DUPLICATE_R_MATRIX,
                                   MSGC_PKGMDL_DUPLICATE_L_MATRIX,
                                   MSGC_PKGMDL_DUPLICATE_C_MATRIX };
  MTX **slot = pkgMatrixSlot(m, code);
  pkgMatrixKeyword = code;
  if( *slot ) {
    MSG_ErrorCodeLine(duplicate[code - KW_RESISTANCE_MATRIX]);
    return;
  }
  MTX_New(slot, value, m->numPins);
}

static void pkgBandwidth(PKGMDL *m, const char *value) {
  MTX **slot = pkgMatrixSlot(m, pkgPreviousKeyword);
  if( slot ) {
    if( *slot ) MTX_SetBandwidth(*slot, value);
  } else if( pkgPreviousKeyword == KW_BANDWIDTH ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_MULTIPLE_BANDWIDTH);
  } else {
    MSG_ErrorCodeLine(MSGC_PKGMDL_MISPLACED_BANDWIDTH);
  }
}

static void pkgRow(PKGMDL *m, const char *value) {
  MTX **slot = pkgMatrixSlot(m, pkgMatrixKeyword);
  if( slot == NULL || *slot == NULL ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_MISPLACED_ROW);
    return;
  }
  MTX_NewRow(*slot, value);
}

static const int pkgPinCountCodes[6] = {
  MSGC_PKGMDL_BLANK_PIN_COUNT,      MSGC_PKGMDL_DUPLICATE_PIN_COUNT,
  MSGC_PKGMDL_SUSPICIOUS_PIN_COUNT, MSGC_PKGMDL_BAD_PIN_COUNT,
  MSGC_PKGMDL_ZERO_PIN_COUNT,       0
};
static const int pkgSectionCountCodes[6] = {
  MSGC_PKGMDL_BLANK_SECTION_COUNT,      MSGC_PKGMDL_DUPLICATE_SECTION_COUNT,
  MSGC_PKGMDL_SUSPICIOUS_SECTION_COUNT, MSGC_PKGMDL_BAD_SECTION_COUNT,
  MSGC_PKGMDL_ZERO_SECTION_COUNT,       0
};

static void pkgKeywordLine(PKGMDL *m, int code, const char *value) {
  switch( code ) {
    case KW_DEFINE_PACKAGE_MODEL:
      if( CMN_CopyOnce(m->name, value, PKGMDL_MAX_NAME,
                       "Define Package Model") ) {
        CMN_CheckReservedWord(m->name);
      }
      break;
    case KW_PKG_MANUFACTURER:
      CMN_CopyOnce(m->manufacturer, value, PKGMDL_MAX_MANUFACTURER,
                   "Manufacturer");
      break;
    case KW_OEM:
      CMN_CopyOnce(m->oem, value, PKGMDL_MAX_OEM, "OEM");
      break;
    case KW_DESCRIPTION:
      CMN_CopyOnce(m->description, value, PKGMDL_MAX_DESCRIPTION,
                   "Description");
      break;
    case KW_NUMBER_OF_PINS:
      pkgCount(&m->numPins, value, pkgPinCountCodes, NULL);
      break;
    case KW_NUMBER_OF_SECTIONS:
      pkgCount(&m->numSections, value, pkgSectionCountCodes, &pkgSectionForm);
      break;
    case KW_PIN_NUMBERS:
      pkgFlagKeyword(&pkgSeenPinNumbers, "Pin_Numbers", value);
      break;
    case KW_MODEL_DATA:
      pkgFlagKeyword(&pkgSeenModelData, "Model_Data", value);
      break;
    case KW_END_MODEL_DATA:
      pkgFlagKeyword(&pkgSeenEndModelData, "End_Model_Data", value);
      pkgMatrixKeyword = KW_NOT_KEY;
      break;
    case KW_END_PACKAGE_MODEL:
      pkgFlagKeyword(&pkgSeenEndPackageModel, "End_Package_Model", value);
      break;
    case KW_RESISTANCE_MATRIX:
    case KW_INDUCTANCE_MATRIX:
    case KW_CAPACITANCE_MATRIX:
      pkgMatrixKeywordLine(m, code, value);
      break;
    case KW_BANDWIDTH:
      pkgBandwidth(m, value);
      break;
    case KW_ROW:
      pkgRow(m, value);
      break;
    default:
      MSG_BugCodeLine(MSGC_PKGMDL_ILLEGAL_KEYWORD, PKGMDL_SRC, __LINE__);
      break;
  }
}

/* ---- data lines -------------------------------------------------------- */

static void pkgRowData(PKGMDL *m, char *text) {
  MTX **slot = pkgMatrixSlot(m, pkgMatrixKeyword);
  if( slot == NULL || *slot == NULL ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_ORPHAN_DATA_LINE);
    return;
  }
  switch( (*slot)->eMatrixType ) {
    case MTX_TYPE_BANDED:
    case MTX_TYPE_BANDED_WRAP:
      ROW_BandedData(*slot, text);
      break;
    case MTX_TYPE_SPARSE:
      ROW_SparseData(*slot, text);
      break;
    case MTX_TYPE_FULL:
      ROW_FullData(*slot, text);
      break;
    default: /* an unknown type was reported at its keyword */
      break;
  }
}

static void pkgDataLine(PKGMDL *m, char *text) {
  if( pkgKeyword == KW_PIN_NUMBERS ) {
    if( pkgSectionForm && PARSE_GetDispatchVersion() >= 3 ) {
      PKGPIN_SectionLine(m, text);
    } else {
      PKGPIN_PlainLine(m, text);
    }
  } else if( pkgKeyword == KW_ROW ) {
    pkgRowData(m, text);
  } else {
    MSG_ErrorCodeLine(MSGC_PKGMDL_ORPHAN_DATA_LINE);
  }
}

void PKGMDL_Line(int lineType, int code, char *text) {
  CMN_ASSERT(text != NULL, PKGMDL_SRC);
  if( lineType == SECTION_LINE_KEYWORD ) {
    char *p = text;
    if( pkgCurrent == NULL ) {
      MSG_ErrorCodeLine(MSGC_PKGMDL_ORPHAN_KEYWORD);
      return;
    }
    CMN_SkipPastBracket(&p);
    pkgPreviousKeyword = pkgKeyword;
    pkgKeyword = code;
    if( code < KW_DEFINE_PACKAGE_MODEL || code > KW_NUMBER_OF_SECTIONS ) {
      MSG_BugCodeLine(MSGC_PKGMDL_ILLEGAL_KEYWORD, PKGMDL_SRC, __LINE__);
      return;
    }
    pkgKeywordLine(pkgCurrent, code, p);
  } else if( lineType == SECTION_LINE_DATA ) {
    if( pkgCurrent == NULL ) {
      MSG_ErrorCodeLine(MSGC_PKGMDL_ORPHAN_DATA);
      return;
    }
    pkgDataLine(pkgCurrent, text);
  } else {
    MSG_BugCodeLine(MSGC_PKGMDL_ILLEGAL_LINE_TYPE, PKGMDL_SRC, __LINE__);
  }
}

/* ---- look-ups ---------------------------------------------------------- */

int PKGMDL_Find(IbisItem *list, const char *name, PKGMDL **out) {
  IbisItem *item;
  CMN_ASSERT(name != NULL && out != NULL, PKGMDL_SRC);
  *out = NULL;
  for( item = list; item; item = item->next ) {
    PKGMDL *m = (PKGMDL *)item->record;
    if( m && strcmp(m->name, name) == 0 ) {
      *out = m;
      return 1;
    }
  }
  return 0;
}

void PKGMDL_CheckDuplicates(IbisItem *list) {
  NameCount *seen = NULL;
  IbisItem *item;
  /* One message per model that repeats an earlier name: a message per
  ** pair would grow with the square of the copies, and say no more. */
  for( item = list; item; item = item->next ) {
    const char *name;
    if( item->record == NULL ) continue;
    name = ((PKGMDL *)item->record)->name;
    if( STRING_CountAdd(&seen, name) > 1 ) {
      MSG_ErrorCode(MSGC_PKGMDL_DUPLICATE_MODEL, name);
    }
  }
  STRING_CountFree(&seen);
}

void PKGMDL_AfterFile(struct IbisFile *file) {
  IbisItem *first = NULL;
  /* A model the reader never closed (its last keyword was unknown). */
  if( pkgCurrent ) pkgEndModel();
  if( IBIS_GetPackageModels(file, &first) ) PKGMDL_CheckDuplicates(first);
}

int PKGMDL_PinIndex(const char *name, unsigned *out) {
  CMN_ASSERT(name != NULL && out != NULL, PKGMDL_SRC);
  *out = 0;
  if( pkgCurrent == NULL ) return 0;
  return PKGPIN_Index(pkgCurrent, name, out);
}

int PKGMDL_NextPin(IbisItem *list, const char *name, int first,
                   const char **out) {
  PKGMDL *m;
  CMN_ASSERT(name != NULL && out != NULL, PKGMDL_SRC);
  *out = NULL;
  if( !PKGMDL_Find(list, name, &m) ) return 0;
  if( first )
    pkgPinIterator = 0;
  else if( pkgPinIterator < m->pinCount )
    pkgPinIterator++;
  if( m->pinName == NULL || pkgPinIterator >= m->pinCount ) return 0;
  *out = m->pinName[pkgPinIterator];
  return 1;
}

/* ---- release ----------------------------------------------------------- */

void PKGMDL_FreeModel(PKGMDL **model) {
  CMN_ASSERT(model != NULL, PKGMDL_SRC);
  if( *model == NULL ) return;
  if( pkgCurrent == *model ) PKGMDL_Reset();
  MTX_Free(&(*model)->resistance);
  MTX_Free(&(*model)->inductance);
  MTX_Free(&(*model)->capacitance);
  PKGPIN_Free(*model);
  CMN_Free((void **)model);
}

void PKGMDL_Free(IbisItem *list) {
  IbisItem *item;
  for( item = list; item; item = item->next ) {
    PKGMDL *m = (PKGMDL *)item->record;
    PKGMDL_FreeModel(&m);
    item->record = NULL;
  }
}

static void pkgRelease(void *record) {
  PKGMDL *m = (PKGMDL *)record;
  PKGMDL_FreeModel(&m);
}

const ParseSection PKGMDL_ParseSection = { PKGMDL_Init, PKGMDL_Close,
                                           PKGMDL_Line, pkgRelease,
                                           PKGMDL_Reset };
