/*
** keyword.cpp: the four per-version keyword tables.
**
** The tables are derived once from one master list in code order that
** records, for every code, the first version that knows it.  Two placement
** rules apply on top of code order: from version 4 on, [External Circuit]
** and [End External Circuit] follow [Test Load], and every table ends with
** [Comment Char] and [End] just before the NOT_KEY sentinel.  A name that
** appears twice (MANUFACTURER and friends) is found at its first, lower code;
** the parser reaches the higher code by remapping.
*/
#include "IbisParser/keyword.h"

#include <stddef.h>

typedef struct MasterRow {
  const char *name;
  int version; /* first dispatch version whose table holds the row */
} MasterRow;

/* Indexed by code. */
static const MasterRow keywordMaster[KW_COUNT] = {
  { "IBIS_VER", 2 },
  { "COMMENT_CHAR", 2 },
  { "FILE_NAME", 2 },
  { "FILE_REV", 2 },
  { "DATE", 2 },
  { "SOURCE", 2 },
  { "NOTES", 2 },
  { "DISCLAIMER", 2 },
  { "COPYRIGHT", 2 },
  { "COMPONENT", 2 },
  { "MANUFACTURER", 2 },
  { "PACKAGE", 2 },
  { "PIN", 2 },
  { "PACKAGE_MODEL", 2 },
  { "PIN_MAPPING", 2 },
  { "DIFF_PIN", 2 },
  { "SERIES_SWITCH_GROUPS", 3 },
  { "SERIES_PIN_MAPPING", 3 },
  { "ALTERNATE_PACKAGE_MODELS", 4 },
  { "END_ALTERNATE_PACKAGE_MODELS", 4 },
  { "NODE_DECLARATIONS", 4 },
  { "END_NODE_DECLARATIONS", 4 },
  { "CIRCUIT_CALL", 4 },
  { "END_CIRCUIT_CALL", 4 },
  { "EXTERNAL_CIRCUIT", 4 },
  { "END_EXTERNAL_CIRCUIT", 4 },
  { "BEGIN_EMI_COMPONENT", 5 },
  { "END_EMI_COMPONENT", 5 },
  { "PIN_EMI", 5 },
  { "PIN_DOMAIN_EMI", 5 },
  { "EXTERNAL_MODEL", 4 },
  { "END_EXTERNAL_MODEL", 4 },
  { "MODEL", 2 },
  { "TEMPERATURE_RANGE", 2 },
  { "VOLTAGE_RANGE", 2 },
  { "PULLUP_REFERENCE", 2 },
  { "PULLDOWN_REFERENCE", 2 },
  { "POWER_CLAMP_REFERENCE", 2 },
  { "GND_CLAMP_REFERENCE", 2 },
  { "EXTERNAL_REFERENCE", 3 },
  { "PULLDOWN", 2 },
  { "PULLUP", 2 },
  { "GND_CLAMP", 2 },
  { "POWER_CLAMP", 2 },
  { "RGND", 2 },
  { "RPOWER", 2 },
  { "RAC", 2 },
  { "CAC", 2 },
  { "RAMP", 2 },
  { "RISING_WAVEFORM", 2 },
  { "FALLING_WAVEFORM", 2 },
  { "TTGND", 3 },
  { "TTPOWER", 3 },
  { "MODEL_SPEC", 3 },
  { "RECEIVER_THRESHOLDS", 4 },
  { "DRIVER_SCHEDULE", 3 },
  { "ON", 3 },
  { "OFF", 3 },
  { "R_SERIES", 3 },
  { "L_SERIES", 3 },
  { "RL_SERIES", 3 },
  { "C_SERIES", 3 },
  { "LC_SERIES", 3 },
  { "RC_SERIES", 3 },
  { "SERIES_CURRENT", 3 },
  { "SERIES_MOSFET", 3 },
  { "ADD_SUBMODEL", 3 },
  { "ALGORITHMIC_MODEL", 5 },
  { "END_ALGORITHMIC_MODEL", 5 },
  { "ISSO_PD", 5 },
  { "ISSO_PU", 5 },
  { "COMPOSITE_CURRENT", 5 },
  { "BEGIN_EMI_MODEL", 5 },
  { "END_EMI_MODEL", 5 },
  { "DEFINE_PACKAGE_MODEL", 2 },
  { "MANUFACTURER", 2 },
  { "OEM", 2 },
  { "DESCRIPTION", 2 },
  { "NUMBER_OF_PINS", 2 },
  { "PIN_NUMBERS", 2 },
  { "MODEL_DATA", 2 },
  { "RESISTANCE_MATRIX", 2 },
  { "INDUCTANCE_MATRIX", 2 },
  { "CAPACITANCE_MATRIX", 2 },
  { "BANDWIDTH", 2 },
  { "ROW", 2 },
  { "END_MODEL_DATA", 2 },
  { "END_PACKAGE_MODEL", 2 },
  { "NUMBER_OF_SECTIONS", 3 },
  { "BEGIN_BOARD_DESCRIPTION", 3 },
  { "MANUFACTURER", 3 },
  { "NUMBER_OF_PINS", 3 },
  { "PIN_LIST", 3 },
  { "PATH_DESCRIPTION", 3 },
  { "REFERENCE_DESIGNATOR_MAP", 3 },
  { "END_BOARD_DESCRIPTION", 3 },
  { "MODEL_SELECTOR", 3 },
  { "SUBMODEL", 3 },
  { "SUBMODEL_SPEC", 3 },
  { "GND_PULSE_TABLE", 3 },
  { "POWER_PULSE_TABLE", 3 },
  { "PULLDOWN", 3 },
  { "PULLUP", 3 },
  { "GND_CLAMP", 3 },
  { "POWER_CLAMP", 3 },
  { "RAMP", 3 },
  { "RISING_WAVEFORM", 3 },
  { "FALLING_WAVEFORM", 3 },
  { "TEST_DATA", 4 },
  { "RISING_WAVEFORM_NEAR", 4 },
  { "RISING_WAVEFORM_FAR", 4 },
  { "FALLING_WAVEFORM_NEAR", 4 },
  { "FALLING_WAVEFORM_FAR", 4 },
  { "DIFF_RISING_WAVEFORM_NEAR", 4 },
  { "DIFF_RISING_WAVEFORM_FAR", 4 },
  { "DIFF_FALLING_WAVEFORM_NEAR", 4 },
  { "DIFF_FALLING_WAVEFORM_FAR", 4 },
  { "TEST_LOAD", 4 },
  { "END", 2 },
  { "NOT_KEY", 2 }
};

/* Built on first use; index 0 is version 2, 3 is version 5. */
static KeywordRow keywordTables[4][KW_COUNT];
static int keywordRows[4];
static int keywordBuilt;

static void keywordAdd(int t, int code) {
  KeywordRow *r = &keywordTables[t][keywordRows[t]++];
  r->name = keywordMaster[code].name;
  r->code = code;
}

static void keywordBuild(void) {
  int t, code;
  for( t = 0; t < 4; t++ ) {
    int version = t + 2;
    keywordRows[t] = 0;
    for( code = 0; code < KW_COUNT; code++ ) {
      if( keywordMaster[code].version > version ) continue;
      if( code == KW_COMMENT_CHAR || code == KW_END || code == KW_NOT_KEY )
        continue;
      if( code == KW_EXTERNAL_CIRCUIT || code == KW_END_EXTERNAL_CIRCUIT )
        continue;
      keywordAdd(t, code);
      if( code == KW_TEST_LOAD ) {
        keywordAdd(t, KW_EXTERNAL_CIRCUIT);
        keywordAdd(t, KW_END_EXTERNAL_CIRCUIT);
      }
    }
    keywordAdd(t, KW_COMMENT_CHAR);
    keywordAdd(t, KW_END);
    keywordAdd(t, KW_NOT_KEY);
  }
  keywordBuilt = 1;
}

const KeywordRow *KEYWORD_Table(int version, int *nRow) {
  int t;
  if( !keywordBuilt ) keywordBuild();
  if( version < 2 ) version = 2;
  if( version > 5 ) version = 5;
  t = version - 2;
  if( nRow ) *nRow = keywordRows[t];
  return keywordTables[t];
}

const char *KEYWORD_Name(int code) {
  if( code < 0 || code >= KW_COUNT ) return NULL;
  return keywordMaster[code].name;
}
