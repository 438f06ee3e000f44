/*
** pkgmdl.h: package models, [Define Package Model] to [End Package Model]
** in .ibs and .pkg files.
**
** One PKGMDL per model, appended to the current IbisFile's package-model
** list.  The section reads the identification keywords, the pin list (plain,
** or with [Number Of Sections] as chains of R/L/C sections, pkgpin.cpp) and
** the three matrices (mtx.cpp, row.cpp), and checks the model when the next
** section begins.  The component checks use the look-ups below.
*/
#ifndef IBISPARSER_PKGMDL_H
#define IBISPARSER_PKGMDL_H

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mtx.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/sect.h"
#include "IbisParser/section.h"

#define PKGMDL_MAX_NAME 40
#define PKGMDL_MAX_MANUFACTURER 40
#define PKGMDL_MAX_OEM 40
#define PKGMDL_MAX_DESCRIPTION 60
#define PKGMDL_MAX_PIN 5

typedef struct PkgPinSections {
  SectNode *first; /* the pin's section list */
  unsigned count;  /* sections in it, those inside forks included */
} PkgPinSections;

typedef struct PKGMDL {
  char name[PKGMDL_MAX_NAME + 1];
  char manufacturer[PKGMDL_MAX_MANUFACTURER + 1];
  char oem[PKGMDL_MAX_OEM + 1];
  char description[PKGMDL_MAX_DESCRIPTION + 1];
  unsigned numPins;     /* 0 until [Number Of Pins] gives it */
  unsigned numSections; /* 0 until [Number Of Sections] gives it */
  /* Pin names in file order: pinCount of them stored, never more than
  ** numPins; the arrays grow with the names (pinCap slots), so a declared
  ** pin count allocates nothing by itself. */
  char (*pinName)[PKGMDL_MAX_PIN + 1];
  PkgPinSections *pinSections; /* section form only, beside pinName */
  unsigned pinCount;
  unsigned pinCap;
  /* Hash of the pin names: slot values are 1-based pin positions, 0 for
  ** an empty slot; pinHashSize is a power of two (0 before the first). */
  unsigned *pinHash;
  unsigned pinHashSize;
  MTX *resistance;
  MTX *inductance;
  MTX *capacitance;
} PKGMDL;

/* Section routines (see section.h), installed as PKGMDL_ParseSection. */
extern const ParseSection PKGMDL_ParseSection;
void PKGMDL_Init(void);
void PKGMDL_Close(int previousCode, int newCode);
void PKGMDL_Line(int lineType, int code, char *text);
void PKGMDL_Reset(void);

/* 1 and the first model of `list` (a file's package-model list) named
** `name` (case counts), else 0 with *out null. */
int PKGMDL_Find(IbisItem *list, const char *name, PKGMDL **out);

/* ERROR 3410 for every model of `list` whose name an earlier one has. */
void PKGMDL_CheckDuplicates(IbisItem *list);

/* After-file check of a whole file: PKGMDL_CheckDuplicates on its list. */
void PKGMDL_AfterFile(struct IbisFile *file);

/* 1 and the 1-based position of `name` among the current model's pin
** names (the first one when repeated), else 0 with *out = 0. */
int PKGMDL_PinIndex(const char *name, unsigned *out);

/* Iterates the pin names of the model `name` of `list`: `first` non-zero
** restarts at the first pin.  1 and the name, or 0 when the model is not
** found or has no further pin. */
int PKGMDL_NextPin(IbisItem *list, const char *name, int first,
                   const char **out);

/* The search of the .pkg files beside a file for the package models its
** components name but it does not define.  The directory is listed and
** each .pkg file scanned once, on the first search, into an index of the
** models they define; each file is read at most once.  Zero-filled before
** the first search; PKGMDL_EndSearch releases it. */
typedef struct PkgmdlSearch {
  int indexed;                /* the directory was listed and scanned */
  char dir[CMN_MAX_PATH + 1]; /* its directory, as the reader stores it */
  char **file;                /* the .pkg file names, sorted */
  unsigned char *read;        /* per file: read already */
  size_t files;
  struct PkgmdlDefinition *def; /* each model defined, in file order */
  size_t defs, defCap;
  NameIndex byName; /* model name -> its first definition + 1 */
} PkgmdlSearch;

/* Looks for the model `name` (whole name, case counting) in the .pkg files
** of the directory of the file being read, and reads every file defining
** it that was not read yet into the current IbisFile.  1 when some file
** defines it. */
int PKGMDL_SearchPkgFiles(PkgmdlSearch *search, const char *name);
void PKGMDL_EndSearch(PkgmdlSearch *search);

/* Releases one model; PKGMDL_Free releases every model of a list and
** clears the list's record pointers. */
void PKGMDL_FreeModel(PKGMDL **model);
void PKGMDL_Free(IbisItem *list);

/* Pin lists (pkgpin.cpp), on the current model. */
void PKGPIN_PlainLine(PKGMDL *model, const char *text);
void PKGPIN_SectionLine(PKGMDL *model, char *text);
int PKGPIN_Index(const PKGMDL *model, const char *name, unsigned *out);
/* End of the model: open forks and the section count of each pin. */
void PKGPIN_EndChecks(PKGMDL *model);
void PKGPIN_Reset(void);
void PKGPIN_Free(PKGMDL *model);

#endif
