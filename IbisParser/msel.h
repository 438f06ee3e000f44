/*
** msel.h: the [Model Selector] section: the selector record, its entries
** (a model name and a descriptor each), and the after-file check of the
** entries against the file's models.
**
** Selectors are appended to the file's SECTION_MODEL_SELECTOR list in file
** order.  The open selector and the selector names seen are per-file state,
** forgotten by MSEL_Reset at the start of each file.
*/
#ifndef IBISPARSER_MSEL_H
#define IBISPARSER_MSEL_H

#include "IbisParser/section.h"

#define MSEL_MAX_NAME 40
/* The longest model name and descriptor of an entry together. */
#define MSEL_MAX_ENTRY 80

typedef struct MselEntry {
  struct MselEntry *next;
  char name[MSEL_MAX_NAME + 1];
  char *descriptor; /* owned; never longer than MSEL_MAX_ENTRY less the
                    ** name's length */
  int line;
} MselEntry;

typedef struct MSEL_Selector {
  char name[MSEL_MAX_NAME + 1];
  int line;
  MselEntry *first, *last;
  int count;
  struct NameCount *entryNames; /* while the selector is read */
} MSEL_Selector;

extern const ParseSection MSEL_ParseSection;

/* Section routines (section.h): MSEL_Init begins a selector. */
void MSEL_Init(void);
void MSEL_EndSection(int previousCode, int newCode);
void MSEL_Line(int lineType, int code, char *text);
void MSEL_Keyword(int code, char *text);
void MSEL_DataLine(char *text);
void MSEL_EndSelector(MSEL_Selector *selector);
void MSEL_Release(void *record);
void MSEL_Reset(void);

/* After the file: every entry names a model of the file, and no selector
** shares its name with a model. */
void MSEL_CheckModels(struct IbisFile *file);

#endif
