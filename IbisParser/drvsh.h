/*
** drvsh.h: the [Driver Schedule] of a model (the models it schedules and
** their delays) and the after-file check of every schedule against the
** file's models.
*/
#ifndef IBISPARSER_DRVSH_H
#define IBISPARSER_DRVSH_H

#include "IbisParser/dly.h"

struct IbisFile;
struct NameCount;

#define DRVSH_MAX_NAME 40

typedef struct DrvshEntry {
  char name[DRVSH_MAX_NAME + 1];
  DlyDelays delays;
  int line;
} DrvshEntry;

typedef struct DrvshRecord {
  DrvshEntry *entry;
  int count, capacity;
  struct NameCount *names; /* the names of this schedule, for repeats */
  int line;
} DrvshRecord;

/* A schedule line of the model named `owner`. */
void DRVSH_Line(DrvshRecord *s, char *text, const char *owner);
void DRVSH_Free(DrvshRecord **slot);
/* After the file: each scheduled name against the file's models. */
void DRVSH_CheckSchedules(struct IbisFile *file);

#endif
