/*
** cmpnt.h: the [Component] section of .ibs files: one record per
** component, holding its pins, pin mappings, differential pins, package,
** series data, node declarations, circuit calls and EMI entries, and the
** after-file cross-checks of every component against the file's models,
** model selectors, package models and external circuits.
**
** The record's lists are filled by their modules: pin, pinmpg, difpin,
** pkg, apkg (keywords of the component itself) and sswch, spinmpg, node,
** circuit (series data, internal nodes and circuit calls).
*/
#ifndef IBISPARSER_CMPNT_H
#define IBISPARSER_CMPNT_H

#include "IbisParser/circuit.h"
#include "IbisParser/cmpntemi.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/node.h"
#include "IbisParser/pin.h"
#include "IbisParser/section.h"
#include "IbisParser/spinmpg.h"
#include "IbisParser/sswch.h"

#define CMPNT_MAX_NAME 40
#define CMPNT_MAX_MANUFACTURER 40
#define CMPNT_MAX_PACKAGE_MODEL 40

/* Si_location and Timing_location. */
enum {
  CMPNT_LOCATION_NONE = 0,    /* not given */
  CMPNT_LOCATION_INVALID = 1, /* given without a valid value */
  CMPNT_LOCATION_DIE = 2,
  CMPNT_LOCATION_PIN = 3
};

struct PINMPG_PinMapping;
struct DIFPIN_DiffPin;
struct PKG_Package;
struct APKG_Name;
struct IbisFile;
struct MDL_Model;

typedef struct CMPNT_Component {
  struct CMPNT_Component *next;
  char name[CMPNT_MAX_NAME + 1];
  char manufacturer[CMPNT_MAX_MANUFACTURER + 1];
  struct PKG_Package *package; /* null until [Package] */
  int pinColumns;              /* the [Pin] header's count, 0 until then */
  PIN_Pin *pins;               /* file order */
  NameIndex pinIndex;          /* pin name -> first PIN_Pin of that name */
  char packageModel[CMPNT_MAX_PACKAGE_MODEL + 1];
  int pinMappingColumns;
  struct PINMPG_PinMapping *pinMappings;
  int diffPinColumns;
  struct DIFPIN_DiffPin *diffPins;
  int siLocation;     /* CMPNT_LOCATION_* */
  int timingLocation; /* CMPNT_LOCATION_* */
  SSWCH_Group *switchGroups;
  int seriesPinMappingColumns;
  SPINMPG_Entry *seriesPinMappings;
  struct APKG_Name *alternatePackages;
  NODE_List *nodes;
  CIRCUIT_Call *circuitCalls; /* newest first */
  CmpntEmi *emi;
} CMPNT_Component;

/* Section routines (see section.h), installed as CMPNT_ParseSection. */
extern const ParseSection CMPNT_ParseSection;
void CMPNT_Begin(void);
/* The open component, for the modules of its nested keywords; null when
** none is open. */
CMPNT_Component *CMPNT_Current(void);
void CMPNT_Close(int previousCode, int newCode);
void CMPNT_Line(int lineType, int code, char *text);
void CMPNT_Release(void *record);
void CMPNT_Reset(void);

/* The component's pin named `name` (exact comparison; the first of
** repeated names), or null. */
PIN_Pin *CMPNT_FindPin(const CMPNT_Component *component, const char *name);

/* After-file check of a whole file: every component against the file's
** models, selectors, package models and external circuits. */
void CMPNT_CheckAll(struct IbisFile *file);

/* 1 when a differential pin of any component of the current file uses
** `model` (marking it), with that pin in *pin when `pin` is not null;
** else 0. */
int CMPNT_FindDiffPin(struct MDL_Model *model, PIN_Pin **pin);

#endif
