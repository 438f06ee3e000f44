/*
** mdl.h: the [Model] section: the model record, its subparameters, the
** routing of every model keyword to its module, and the end-of-model
** checks.
**
** Models are appended to the file's SECTION_MODEL list in file order.  The
** open model and the keyword whose lines are being read are per-file state,
** forgotten by MDL_Reset at the start of each file.
*/
#ifndef IBISPARSER_MDL_H
#define IBISPARSER_MDL_H

#include "IbisParser/algmod.h"
#include "IbisParser/drvsh.h"
#include "IbisParser/mdlemi.h"
#include "IbisParser/mspec.h"
#include "IbisParser/ramp.h"
#include "IbisParser/rcvth.h"
#include "IbisParser/rng.h"
#include "IbisParser/rngp.h"
#include "IbisParser/section.h"
#include "IbisParser/sinfo.h"
#include "IbisParser/wvfrm.h"
#include "IbisParser/xmdl.h"

#define MDL_MAX_NAME 40

/* Model_type codes; 0 while unset, 1 for a value that matched nothing. */
enum {
  MDL_TYPE_UNSET = 0,
  MDL_TYPE_NONE = 1,
  MDL_TYPE_INPUT = 2,
  MDL_TYPE_OUTPUT,
  MDL_TYPE_IO,
  MDL_TYPE_3STATE,
  MDL_TYPE_OPEN_DRAIN,
  MDL_TYPE_IO_OPEN_DRAIN,
  MDL_TYPE_OPEN_SINK,
  MDL_TYPE_IO_OPEN_SINK,
  MDL_TYPE_OPEN_SOURCE,
  MDL_TYPE_IO_OPEN_SOURCE,
  MDL_TYPE_INPUT_ECL,
  MDL_TYPE_OUTPUT_ECL,
  MDL_TYPE_IO_ECL,
  MDL_TYPE_TERMINATOR,
  MDL_TYPE_SERIES,
  MDL_TYPE_SERIES_SWITCH,
  MDL_TYPE_3STATE_ECL,
  MDL_TYPE_IO_DIFF,
  MDL_TYPE_OUTPUT_DIFF,
  MDL_TYPE_3STATE_DIFF,
  MDL_TYPE_INPUT_DIFF,
  MDL_TYPE_LAST = MDL_TYPE_INPUT_DIFF
};

/* Single-value subparameters. */
enum {
  MDL_VINL = 0,
  MDL_VINH,
  MDL_VMEAS,
  MDL_CREF,
  MDL_RREF,
  MDL_VREF,
  MDL_RREF_DIFF,
  MDL_CREF_DIFF,
  MDL_SINGLE_COUNT
};

/* C_comp triples. */
enum {
  MDL_C_COMP = 0,
  MDL_C_COMP_PULLUP,
  MDL_C_COMP_PULLDOWN,
  MDL_C_COMP_POWER_CLAMP,
  MDL_C_COMP_GND_CLAMP,
  MDL_CCOMP_COUNT
};

/* Keyword triples, by keyword. */
enum {
  MDL_TEMPERATURE_RANGE = 0,
  MDL_VOLTAGE_RANGE,
  MDL_PULLUP_REFERENCE,
  MDL_PULLDOWN_REFERENCE,
  MDL_POWER_CLAMP_REFERENCE,
  MDL_GND_CLAMP_REFERENCE,
  MDL_EXTERNAL_REFERENCE,
  MDL_TTGND,
  MDL_TTPOWER,
  MDL_RGND,
  MDL_RPOWER,
  MDL_RAC,
  MDL_CAC,
  MDL_TRIPLE_COUNT
};

/* I-V tables. */
enum {
  MDL_PULLDOWN = 0,
  MDL_PULLUP,
  MDL_GND_CLAMP,
  MDL_POWER_CLAMP,
  MDL_ISSO_PD,
  MDL_ISSO_PU,
  MDL_TABLE_COUNT
};

/* [Add Submodel] modes. */
enum {
  MDL_MODE_DRIVING = 0,
  MDL_MODE_NON_DRIVING = 1,
  MDL_MODE_ALL = 2,
  MDL_MODE_NONE = 3
};

#define MDL_MAX_SUBMODEL_NAME 20

typedef struct MdlAddSubmodel {
  struct MdlAddSubmodel *next;
  char name[MDL_MAX_SUBMODEL_NAME + 1];
  int mode;
  int line;
} MdlAddSubmodel;

typedef struct MDL_Model {
  char name[MDL_MAX_NAME + 1];
  int type, polarity, enable;
  int line;
  double single[MDL_SINGLE_COUNT];
  int singleGiven[MDL_SINGLE_COUNT];
  RNG_TypMinMax ccomp[MDL_CCOMP_COUNT];
  int ccompGiven[MDL_CCOMP_COUNT];
  RNG_TypMinMax triple[MDL_TRIPLE_COUNT];
  int tripleGiven[MDL_TRIPLE_COUNT];
  DrvshRecord *schedule;
  MspecRecord *spec;
  RcvthRecord *thresholds;
  SinfoRecord *series[2]; /* [On], [Off] (a Series model uses [On]) */
  RngpTable table[MDL_TABLE_COUNT];
  RampRecord *ramp;
  WaveformList rising, falling;
  XmdlRecord *external;
  MdlAddSubmodel *addSubmodel, *addSubmodelLast;
  int addSubmodelSeen;
  AlgExecList *algorithmic;
  MdlEmi *emi;
  int scheduled; /* named in another model's [Driver Schedule] */
} MDL_Model;

extern const ParseSection MDL_ParseSection;

/* Section routines (section.h). */
void MDL_Begin(void);
/* The open model, for the modules of its nested keywords; null when none
** is open. */
MDL_Model *MDL_Current(void);
void MDL_EndSection(int previousCode, int newCode);
void MDL_Line(int lineType, int code, char *text);
void MDL_Keyword(int code, char *text);
void MDL_DataLine(int code, char *text);
void MDL_EndModel(MDL_Model *model);
void MDL_Release(void *record);
void MDL_Reset(void);

/* Model type lookups. */
const char *MDL_TypeName(int type);
int MDL_IsInputType(int type);
int MDL_IsOutputType(int type);
/* Longest model name in a file of dispatch version v. */
int MDL_NameLimit(int version);
/* Looks `value` up in a null-terminated list of names whose codes start
** at `first`: the code, or `none` after "Invalid %s ("%s")" (with the right
** spelling when only the letter case differs).  `what` names the list. */
int MDL_LookUp(const char *value, const char *const *names, int count,
               int first, int none, const char *what);
/* After the file: the .ami files named by [Algorithmic Model] sections. */
void MDL_CheckAmiFiles(struct IbisFile *file);

#endif
