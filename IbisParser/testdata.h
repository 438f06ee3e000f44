/*
** testdata.h: the [Test Data] section: the test data record, its
** subparameters and golden waveform tables, the checks at the end of the
** section, and the after-file check of its driver models and test load
** against the file's models, differential pins and test loads.
**
** Test data records are pushed on the front of the file's
** SECTION_TEST_DATA list.  The open record and the names seen are per-file
** state, forgotten by TESTDATA_Reset at the start of each file.
*/
#ifndef IBISPARSER_TESTDATA_H
#define IBISPARSER_TESTDATA_H

#include "IbisParser/section.h"
#include "IbisParser/tstcmn.h"
#include "IbisParser/wvfrm.h"

/* The golden waveform tables, in record order. */
enum {
  TESTDATA_RISING_NEAR = 0,
  TESTDATA_FALLING_NEAR,
  TESTDATA_RISING_FAR,
  TESTDATA_FALLING_FAR,
  TESTDATA_DIFF_RISING_NEAR,
  TESTDATA_DIFF_FALLING_NEAR,
  TESTDATA_DIFF_RISING_FAR,
  TESTDATA_DIFF_FALLING_FAR,
  TESTDATA_WAVE_COUNT
};

typedef struct TestData {
  char name[TST_MAX_NAME + 1];
  int Test_data_type; /* TST_TYPE_* */
  char Driver_model[TST_MAX_MODEL + 1];
  char Driver_model_inv[TST_MAX_MODEL + 1];
  char Test_load[TST_MAX_LOAD_REF + 1];
  Waveform *wave[TESTDATA_WAVE_COUNT]; /* null when absent */
} TestData;

extern const ParseSection TESTDATA_ParseSection;

/* Section routines (section.h). */
void TESTDATA_Init(void);
void TESTDATA_Close(int previousCode, int newCode);
void TESTDATA_Line(int lineType, int code, char *text);
void TESTDATA_Release(void *record);
void TESTDATA_Reset(void);

/* The table of a waveform keyword code, or -1. */
int TESTDATA_WaveOf(int code);

/* After the file: each Driver_model and Driver_model_inv names a model of
** the file with driver behaviour, an inverting one used by a differential
** pin; the Test_load names a test load of the file of the same type. */
void TESTDATA_CheckRefs(struct IbisFile *file);

#endif
