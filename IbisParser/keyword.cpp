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
**
** The keywords and sub-parameters that IBIS 5.1 to 7.2 added are listed
** after the master list, each with the version that introduced it and where
** that fact comes from, so that each row can be checked against its source.
** The sources are the IBIS Open Forum's keyword trees (tree_ver6_1, which is
** the 6.0 tree, tree_ver7_0, tree_ver7_2; "(6.0)" after a row marks the
** version that added it), the version readmes that list each version's
** BIRDs, the BIRD texts and the task-group reflector posts that quote them.
** Where those sources do not settle a fact the row says so.
*/
#include "IbisParser/keyword.h"

#include "IbisParser/cmn.h"
#include "IbisParser/section.h"
#include "IbisParser/ver.h"

#include <stddef.h>
#include <stdio.h>
#include <string.h>

typedef struct MasterRow {
  const char *name;
  int version; /* first dispatch version whose table holds the row */
} MasterRow;

/* Indexed by code. */
static const MasterRow keywordMaster[KW_NOT_KEY + 1] = {
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
static KeywordRow keywordTables[4][KW_NOT_KEY + 1];
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
    for( code = 0; code <= KW_NOT_KEY; code++ ) {
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

/*
** The keywords of IBIS 5.1 to 7.2, in code order.  Owner: the section that
** receives the keyword's lines; module: the one that reads them.
*/
#define TREE_70 "tree_ver7_0"
#define BIRD_189                                                               \
  "BIRD 189.7 (accepted 2018-06-29, in the IBIS 7.0 editorial checklist)"
static const KeywordNewer keywordNewer[KW_COUNT - KW_FIRST_NEWER] = {
  { KW_REPEATER_PIN, "REPEATER_PIN", "[Repeater Pin]", VER_LEVEL_60,
    SECTION_COMPONENT, SECTION_REPEATER_PIN,
    "tree_ver6_1 (the 6.0 tree): [Repeater Pin] (6.0) tx_non_inv_pin; the "
    "accepting BIRD is not in the stored openings (BIRD 131, the first "
    "proposal, was rejected in 2013)" },
  { KW_INITIAL_DELAY, "INITIAL_DELAY", "[Initial Delay]", VER_LEVEL_61,
    SECTION_MODEL, SECTION_INITIAL_DELAY,
    "IBIS 6.1 readme: BIRD 177, [Initial Delay] keyword for Submodels and "
    "Driver Schedules" },
  { KW_SUB_INITIAL_DELAY, "INITIAL_DELAY", "[Initial Delay]", VER_LEVEL_61,
    SECTION_SUBMODEL, SECTION_INITIAL_DELAY,
    "IBIS 6.1 readme: BIRD 177 (the same keyword inside a [Submodel])" },
  { KW_INTERCONNECT_MODEL_GROUP, "INTERCONNECT_MODEL_GROUP",
    "[Interconnect Model Group]", VER_LEVEL_70, SECTION_COMPONENT,
    SECTION_INTERCONNECT_GROUP,
    TREE_70
    ": [Interconnect Model Group] (7.0) (m) in [Component]; " BIRD_189 },
  { KW_END_INTERCONNECT_MODEL_GROUP, "END_INTERCONNECT_MODEL_GROUP",
    "[End Interconnect Model Group]", VER_LEVEL_70, SECTION_COMPONENT,
    SECTION_INTERCONNECT_GROUP, TREE_70 "; " BIRD_189 },
  { KW_BUS_LABEL, "BUS_LABEL", "[Bus Label]", VER_LEVEL_70, SECTION_COMPONENT,
    SECTION_BUS_LABEL,
    TREE_70 " lists it after [Pin Mapping], tree_ver6_1 does not; " BIRD_189 },
  { KW_DIE_SUPPLY_PADS, "DIE_SUPPLY_PADS", "[Die Supply Pads]", VER_LEVEL_70,
    SECTION_COMPONENT, SECTION_DIE_SUPPLY_PADS,
    "interconnect task group posts of January 2016 on the BIRD 189 "
    "drafts; " BIRD_189 "; its own tree row is past the stored openings" },
  { KW_INTERCONNECT_MODEL_SET, "INTERCONNECT_MODEL_SET",
    "[Interconnect Model Set]", VER_LEVEL_70, SECTION_INTERCONNECT_SET,
    SECTION_INTERCONNECT_SET,
    "ibis-macro post of 2019-04-09 names it a keyword of the IBIS 7.0 "
    "standard; " BIRD_189 },
  { KW_END_INTERCONNECT_MODEL_SET, "END_INTERCONNECT_MODEL_SET",
    "[End Interconnect Model Set]", VER_LEVEL_70, SECTION_INTERCONNECT_SET,
    SECTION_INTERCONNECT_SET,
    BIRD_189 "; the closing keyword of the set, whose own row is past the "
             "stored openings" },
  { KW_INTERCONNECT_MODEL, "INTERCONNECT_MODEL", "[Interconnect Model]",
    VER_LEVEL_70, SECTION_INTERCONNECT_SET, SECTION_INTERCONNECT_MODEL,
    "ibis-macro post of 2019-04-09 (an [Interconnect Model] within an "
    "[Interconnect Model Set]); " BIRD_189 "; the drafts of 2015 spelled "
    "it [Begin Interconnect Model]" },
  { KW_END_INTERCONNECT_MODEL, "END_INTERCONNECT_MODEL",
    "[End Interconnect Model]", VER_LEVEL_70, SECTION_INTERCONNECT_SET,
    SECTION_INTERCONNECT_MODEL,
    "BIRD 189 drafts (the keyword pair of each interconnect "
    "model); " BIRD_189 },
  { KW_CLOCK_PINS, "CLOCK_PINS", "[Clock Pins]", VER_LEVEL_71,
    SECTION_COMPONENT, SECTION_CLOCK_PINS,
    "tree_ver7_2: [Clock Pins] (7.1) clocked_pins, relationship; the BIRD "
    "number is not in the stored openings" },
};

/*
** Sub-parameters, columns and values that IBIS 5.1 to 7.2 added.  Rows of
** the new keywords themselves need no check of their own (the keyword is
** already held to its version) but are listed for completeness.
*/
static const KeywordSubparam keywordSubparams[] = {
  { KW_REPEATER_PIN, "[Repeater Pin]", "tx_non_inv_pin", VER_LEVEL_60,
    "tree_ver6_1: [Repeater Pin] (6.0) tx_non_inv_pin" },
  { KW_ALGORITHMIC_MODEL, "[Algorithmic Model]", "Executable_Rx", VER_LEVEL_61,
    "IBIS 6.1 readme: BIRD 178.3, Specifying Buffer Directionality for AMI; "
    "that these lines come from it is inferred, the BIRD's text is not in "
    "the stored openings" },
  { KW_ALGORITHMIC_MODEL, "[Algorithmic Model]", "Executable_Tx", VER_LEVEL_61,
    "as Executable_Rx" },
  { KW_INTERCONNECT_MODEL, "[Interconnect Model]", "Param", VER_LEVEL_70,
    "BIRD 189 draft 18 (2015) subparameter text; " BIRD_189 },
  { KW_INTERCONNECT_MODEL, "[Interconnect Model]", "File_IBIS-ISS",
    VER_LEVEL_70, "BIRD 189 draft 18 (2015) subparameter text; " BIRD_189 },
  { KW_INTERCONNECT_MODEL, "[Interconnect Model]", "File_TS", VER_LEVEL_70,
    "BIRD 189 draft 18 (2015) subparameter text; " BIRD_189 },
  { KW_CLOCK_PINS, "[Clock Pins]", "clocked_pins", VER_LEVEL_71,
    "tree_ver7_2: [Clock Pins] (7.1) clocked_pins, relationship" },
  { KW_CLOCK_PINS, "[Clock Pins]", "relationship", VER_LEVEL_71,
    "tree_ver7_2: [Clock Pins] (7.1) clocked_pins, relationship" },
};
/* Not settled by the sources, so not in the table: the version that added
** the IBIS-ISS and Touchstone languages to [External Model] and [External
** Circuit] (BIRD 189.7 uses both for interconnect models and says it might
** replace BIRD 125.1 and BIRD 158.1, so those were not yet accepted); the
** other sub-parameters of [Interconnect Model] (the drafts changed them);
** what IBIS 5.1 added besides the AMI tables (its tree marks no keyword of
** the header and component openings). */

const char *KEYWORD_Name(int code) {
  if( code >= KW_FIRST_NEWER && code < KW_COUNT ) {
    return keywordNewer[code - KW_FIRST_NEWER].name;
  }
  if( code < 0 || code > KW_NOT_KEY ) return NULL;
  return keywordMaster[code].name;
}

const KeywordNewer *KEYWORD_Newer(int code) {
  if( code < KW_FIRST_NEWER || code >= KW_COUNT ) return NULL;
  return &keywordNewer[code - KW_FIRST_NEWER];
}

const KeywordNewer *KEYWORD_FindNewer(const char *text) {
  char name[KEYWORD_MAX_NAME + 1];
  size_t i;
  if( text == NULL || strlen(text) > KEYWORD_MAX_NAME ) return NULL;
  for( i = 0; i < sizeof(keywordNewer) / sizeof(keywordNewer[0]); i++ ) {
    /* CMN_KeywordEqual writes '_' for blanks; compare a copy. */
    snprintf(name, sizeof(name), "%s", text);
    if( CMN_KeywordEqual(keywordNewer[i].name, name) ) return &keywordNewer[i];
  }
  return NULL;
}

const KeywordSubparam *KEYWORD_FindSubparam(int code, const char *name) {
  size_t i;
  if( name == NULL ) return NULL;
  for( i = 0; i < sizeof(keywordSubparams) / sizeof(keywordSubparams[0]);
       i++ ) {
    if( keywordSubparams[i].keyword == code
        && CMN_StrEqualNoCase(keywordSubparams[i].name, name) ) {
      return &keywordSubparams[i];
    }
  }
  return NULL;
}

const KeywordSubparam *KEYWORD_Subparams(int *count) {
  if( count ) {
    *count = (int)(sizeof(keywordSubparams) / sizeof(keywordSubparams[0]));
  }
  return keywordSubparams;
}
