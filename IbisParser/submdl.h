/*
** submdl.h: the [Submodel] section: the submodel record, its
** Submodel_type, its tables, ramp and waveforms, the end-of-submodel rules
** of each type, and the after-file check of the models' [Add Submodel]
** entries against the file's submodels.
**
** Submodels are appended to the file's SECTION_SUBMODEL list in file
** order.  The open submodel, the keyword being read and the names seen are
** per-file state, forgotten by SUBMDL_Reset at the start of each file.
*/
#ifndef IBISPARSER_SUBMDL_H
#define IBISPARSER_SUBMDL_H

#include "IbisParser/ramp.h"
#include "IbisParser/rngp.h"
#include "IbisParser/section.h"
#include "IbisParser/smspec.h"
#include "IbisParser/wvfrm.h"

#define SUBMDL_MAX_NAME 20

/* Submodel_type codes; 0 while unset, 1 for a value that matched nothing. */
enum {
  SUBMDL_TYPE_UNSET = 0,
  SUBMDL_TYPE_NONE = 1,
  SUBMDL_TYPE_DYNAMIC_CLAMP = 2,
  SUBMDL_TYPE_BUS_HOLD = 3,
  SUBMDL_TYPE_FALL_BACK = 4
};

/* I-V tables. */
enum {
  SUBMDL_PULLDOWN = 0,
  SUBMDL_PULLUP,
  SUBMDL_GND_CLAMP,
  SUBMDL_POWER_CLAMP,
  SUBMDL_TABLE_COUNT
};

typedef struct SUBMDL_Submodel {
  char name[SUBMDL_MAX_NAME + 1];
  int type;
  int line;
  SmspecRecord *spec;
  RngpTable table[SUBMDL_TABLE_COUNT];
  RampRecord *ramp;
  WaveformList rising, falling;
  Waveform *gndPulse, *powerPulse;
} SUBMDL_Submodel;

extern const ParseSection SUBMDL_ParseSection;

/* Section routines (section.h). */
void SUBMDL_Begin(void);
/* The open submodel, for the modules of its nested keywords; null when
** none is open. */
SUBMDL_Submodel *SUBMDL_Current(void);
void SUBMDL_EndSection(int previousCode, int newCode);
void SUBMDL_Line(int lineType, int code, char *text);
void SUBMDL_Keyword(int code, char *text);
void SUBMDL_DataLine(int code, char *text);
void SUBMDL_EndSubmodel(SUBMDL_Submodel *submodel);
void SUBMDL_Release(void *record);
void SUBMDL_Reset(void);

/* After the file: every [Add Submodel] entry names a submodel of the file,
** and every submodel is named by some model. */
void SUBMDL_CheckReferences(struct IbisFile *file);

#endif
