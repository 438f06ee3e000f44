/*
** keyword.h: the bracketed keywords of IBIS-family files.
**
** Every keyword has a fixed numeric code.  Each dispatch version (1 to 5) has
** its own table of {name, code} rows; a keyword line is recognised by a
** linear search of the table of the file's version, so a keyword that a
** version does not know is an invalid keyword in a file of that version.
**
** The keywords that IBIS 5.1 to 7.2 added have codes after KW_NOT_KEY.  They
** are in no dispatch table: a name the table of the file's version lacks is
** looked up among them (KEYWORD_FindNewer), and each carries the version
** that introduced it, the section that receives its lines (its owner) and
** the module that reads them.
*/
#ifndef IBISPARSER_KEYWORD_H
#define IBISPARSER_KEYWORD_H

enum {
  KW_IBIS_VER = 0,
  KW_COMMENT_CHAR,
  KW_FILE_NAME,
  KW_FILE_REV,
  KW_DATE,
  KW_SOURCE,
  KW_NOTES,
  KW_DISCLAIMER,
  KW_COPYRIGHT,
  KW_COMPONENT = 9,
  KW_MANUFACTURER,
  KW_PACKAGE,
  KW_PIN,
  KW_PACKAGE_MODEL,
  KW_PIN_MAPPING,
  KW_DIFF_PIN,
  KW_SERIES_SWITCH_GROUPS = 16,
  KW_SERIES_PIN_MAPPING,
  KW_ALTERNATE_PACKAGE_MODELS = 18,
  KW_END_ALTERNATE_PACKAGE_MODELS,
  KW_NODE_DECLARATIONS,
  KW_END_NODE_DECLARATIONS,
  KW_CIRCUIT_CALL,
  KW_END_CIRCUIT_CALL,
  KW_EXTERNAL_CIRCUIT,
  KW_END_EXTERNAL_CIRCUIT,
  KW_BEGIN_EMI_COMPONENT = 26,
  KW_END_EMI_COMPONENT,
  KW_PIN_EMI,
  KW_PIN_DOMAIN_EMI,
  KW_EXTERNAL_MODEL = 30,
  KW_END_EXTERNAL_MODEL,
  KW_MODEL = 32,
  KW_TEMPERATURE_RANGE,
  KW_VOLTAGE_RANGE,
  KW_PULLUP_REFERENCE,
  KW_PULLDOWN_REFERENCE,
  KW_POWER_CLAMP_REFERENCE,
  KW_GND_CLAMP_REFERENCE,
  KW_EXTERNAL_REFERENCE = 39,
  KW_PULLDOWN = 40,
  KW_PULLUP,
  KW_GND_CLAMP,
  KW_POWER_CLAMP,
  KW_RGND,
  KW_RPOWER,
  KW_RAC,
  KW_CAC,
  KW_RAMP,
  KW_RISING_WAVEFORM,
  KW_FALLING_WAVEFORM,
  KW_TTGND = 51,
  KW_TTPOWER,
  KW_MODEL_SPEC,
  KW_RECEIVER_THRESHOLDS = 54,
  KW_DRIVER_SCHEDULE = 55,
  KW_ON,
  KW_OFF,
  KW_R_SERIES,
  KW_L_SERIES,
  KW_RL_SERIES,
  KW_C_SERIES,
  KW_LC_SERIES,
  KW_RC_SERIES,
  KW_SERIES_CURRENT,
  KW_SERIES_MOSFET,
  KW_ADD_SUBMODEL,
  KW_ALGORITHMIC_MODEL = 67,
  KW_END_ALGORITHMIC_MODEL,
  KW_ISSO_PD,
  KW_ISSO_PU,
  KW_COMPOSITE_CURRENT,
  KW_BEGIN_EMI_MODEL,
  KW_END_EMI_MODEL,
  KW_DEFINE_PACKAGE_MODEL = 74,
  KW_PKG_MANUFACTURER,
  KW_OEM,
  KW_DESCRIPTION,
  KW_NUMBER_OF_PINS,
  KW_PIN_NUMBERS,
  KW_MODEL_DATA,
  KW_RESISTANCE_MATRIX,
  KW_INDUCTANCE_MATRIX,
  KW_CAPACITANCE_MATRIX,
  KW_BANDWIDTH,
  KW_ROW,
  KW_END_MODEL_DATA,
  KW_END_PACKAGE_MODEL,
  KW_NUMBER_OF_SECTIONS = 88,
  KW_BEGIN_BOARD_DESCRIPTION = 89,
  KW_EBD_MANUFACTURER,
  KW_EBD_NUMBER_OF_PINS,
  KW_PIN_LIST,
  KW_PATH_DESCRIPTION,
  KW_REFERENCE_DESIGNATOR_MAP,
  KW_END_BOARD_DESCRIPTION,
  KW_MODEL_SELECTOR = 96,
  KW_SUBMODEL,
  KW_SUBMODEL_SPEC,
  KW_GND_PULSE_TABLE,
  KW_POWER_PULSE_TABLE,
  KW_SUB_PULLDOWN,
  KW_SUB_PULLUP,
  KW_SUB_GND_CLAMP,
  KW_SUB_POWER_CLAMP,
  KW_SUB_RAMP,
  KW_SUB_RISING_WAVEFORM,
  KW_SUB_FALLING_WAVEFORM,
  KW_TEST_DATA = 108,
  KW_RISING_WAVEFORM_NEAR,
  KW_RISING_WAVEFORM_FAR,
  KW_FALLING_WAVEFORM_NEAR,
  KW_FALLING_WAVEFORM_FAR,
  KW_DIFF_RISING_WAVEFORM_NEAR,
  KW_DIFF_RISING_WAVEFORM_FAR,
  KW_DIFF_FALLING_WAVEFORM_NEAR,
  KW_DIFF_FALLING_WAVEFORM_FAR,
  KW_TEST_LOAD,
  KW_END = 118,
  KW_NOT_KEY = 119,
  /* IBIS 5.1 to 7.2 (keyword.cpp lists version and source of each). */
  KW_REPEATER_PIN = 120,
  KW_INITIAL_DELAY,
  KW_SUB_INITIAL_DELAY, /* [Initial Delay] inside a [Submodel] */
  KW_INTERCONNECT_MODEL_GROUP,
  KW_END_INTERCONNECT_MODEL_GROUP,
  KW_BUS_LABEL,
  KW_DIE_SUPPLY_PADS,
  KW_INTERCONNECT_MODEL_SET,
  KW_END_INTERCONNECT_MODEL_SET,
  KW_INTERCONNECT_MODEL,
  KW_END_INTERCONNECT_MODEL,
  KW_CLOCK_PINS,
  KW_COUNT
};

/* First code of the keywords newer than IBIS 5.0. */
#define KW_FIRST_NEWER KW_REPEATER_PIN

/* Longest keyword name between the brackets. */
#define KEYWORD_MAX_NAME 117

typedef struct KeywordRow {
  const char *name; /* upper case, '_' between words */
  int code;
} KeywordRow;

/* The table of a dispatch version (values below 2 use the version 2 table,
** above 5 the version 5 table).  The last row is {"NOT_KEY", KW_NOT_KEY}.
** If nRow is not null it receives the number of rows, the last included. */
const KeywordRow *KEYWORD_Table(int version, int *nRow);

/* Table name of a code, or null for a code outside 0..KW_COUNT-1. */
const char *KEYWORD_Name(int code);

/* What the checker knows of a keyword newer than IBIS 5.0. */
typedef struct KeywordNewer {
  int code;
  const char *name;    /* table form, as KEYWORD_Name */
  const char *display; /* as the standard spells it, brackets included */
  int level;           /* rules level that introduced it (VER_Level: 60 ...) */
  int owner;           /* section receiving its lines (section.h ids) */
  int module;          /* section whose routines read them; == owner when the
                       ** keyword opens a section of its own */
  const char *source;  /* where the version comes from */
} KeywordNewer;

/* The row of a code of KW_FIRST_NEWER..KW_COUNT-1, or null. */
const KeywordNewer *KEYWORD_Newer(int code);
/* The row whose name matches a keyword text (compared as CMN_KeywordEqual
** compares, blanks as '_'), or null.  A name of several rows (one per
** owner) gives the first; PARSE_FindKeyword remaps by context. */
const KeywordNewer *KEYWORD_FindNewer(const char *text);

/* A sub-parameter, column or value that IBIS 5.1 to 7.2 added to a keyword
** the checker already reads. */
typedef struct KeywordSubparam {
  int keyword;         /* code of the keyword it belongs to */
  const char *display; /* that keyword as the standard spells it */
  const char *name;    /* as the standard spells it; compared ignoring case */
  int level;           /* rules level that introduced it */
  const char *source;  /* where the version comes from */
} KeywordSubparam;

/* The row of sub-parameter `name` of keyword `code`, or null. */
const KeywordSubparam *KEYWORD_FindSubparam(int code, const char *name);
/* Rows of the sub-parameter table (for tests and the README). */
const KeywordSubparam *KEYWORD_Subparams(int *count);

#endif
