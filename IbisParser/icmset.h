/*
** icmset.h: [Interconnect Model Set] .. [End Interconnect Model Set]
** (IBIS 7.0), a section of its own in an .ibs file.
*/
#ifndef IBISPARSER_ICMSET_H
#define IBISPARSER_ICMSET_H

#include "IbisParser/nameidx.h"
#include "IbisParser/section.h"

struct IbisFile;

/* One interconnect model set of the file. */
typedef struct ICMSET_Set {
  char *name; /* allocated; empty when the keyword line names none */
  int line;   /* of its [Interconnect Model Set] line */
  int models; /* [Interconnect Model] blocks in it */
} ICMSET_Set;

/* The open set, for the [Interconnect Model] module; null when none. */
ICMSET_Set *ICMSET_Current(void);

/* Adds every set of `file` to `index` under its name (borrowed from the
** set records, so the index must not outlive the file's record). */
void ICMSET_Index(const struct IbisFile *file, NameIndex *index);

extern const ParseSection ICMSET_ParseSection;

#endif
