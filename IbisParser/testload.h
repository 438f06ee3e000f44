/*
** testload.h: the [Test Load] section: the test load record, its
** subparameters, the checks at the end of the section, and the after-file
** check of its receiver models against the file's models and differential
** pins.
**
** Test loads are pushed on the front of the file's SECTION_TEST_LOAD list.
** The open test load and the names seen are per-file state, forgotten by
** TESTLOAD_Reset at the start of each file.
*/
#ifndef IBISPARSER_TESTLOAD_H
#define IBISPARSER_TESTLOAD_H

#include "IbisParser/rng.h"
#include "IbisParser/section.h"
#include "IbisParser/tstcmn.h"

/* The single-value subparameters, in record order. */
enum {
  TESTLOAD_C1_NEAR = 0,
  TESTLOAD_RS_NEAR,
  TESTLOAD_LS_NEAR,
  TESTLOAD_C2_NEAR,
  TESTLOAD_RP1_NEAR,
  TESTLOAD_RP2_NEAR,
  TESTLOAD_TD,
  TESTLOAD_ZO,
  TESTLOAD_RP1_FAR,
  TESTLOAD_RP2_FAR,
  TESTLOAD_C2_FAR,
  TESTLOAD_LS_FAR,
  TESTLOAD_RS_FAR,
  TESTLOAD_C1_FAR,
  TESTLOAD_R_DIFF_NEAR,
  TESTLOAD_R_DIFF_FAR,
  TESTLOAD_VALUE_COUNT
};

typedef struct TestLoad {
  char name[TST_MAX_NAME + 1];
  int Test_load_type; /* TST_TYPE_* */
  double value[TESTLOAD_VALUE_COUNT];
  int given[TESTLOAD_VALUE_COUNT];
  RNG_TypMinMax *V_term1, *V_term2; /* null when not given */
  char Receiver_model[TST_MAX_MODEL + 1];
  char Receiver_model_inv[TST_MAX_MODEL + 1];
} TestLoad;

extern const ParseSection TESTLOAD_ParseSection;

/* Section routines (section.h). */
void TESTLOAD_Init(void);
void TESTLOAD_Close(int previousCode, int newCode);
void TESTLOAD_Line(int lineType, int code, char *text);
void TESTLOAD_Release(void *record);
void TESTLOAD_Reset(void);

/* After the file: each Receiver_model and Receiver_model_inv names a model
** of the file with receiver behaviour; an inverting one is used by a
** differential pin. */
void TESTLOAD_CheckModels(struct IbisFile *file);

#endif
