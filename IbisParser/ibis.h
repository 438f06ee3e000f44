/*
** ibis.h: the per-file record of the IBIS checker.
**
** One IbisFile per file read, pushed on the front of a process-wide list;
** the newest is the current record, which the section handlers fill.  Its
** section lists hold opaque records of the section modules, each released
** through the release routine of its installed section.
*/
#ifndef IBISPARSER_IBIS_H
#define IBISPARSER_IBIS_H

#include <stddef.h>

#include "IbisParser/hdr.h"
#include "IbisParser/section.h"

typedef struct IbisItem {
  struct IbisItem *next;
  void *record;
} IbisItem;

typedef struct IbisList {
  IbisItem *first;
  IbisItem *last;
} IbisList;

typedef struct IbisFile {
  struct IbisFile *next; /* the next older record */
  FileHeader *header;
  IbisList list[SECTION_COUNT]; /* indexed by section id; the header's
                                  ** slot stays empty */
} IbisFile;

int IBIS_New(IbisFile **out);
int IBIS_Current(IbisFile **out);
void IBIS_Free(IbisFile **file);

/* Generic adders and getter by section id.  Append and Push return 1, or
** 0 when memory ran out or the id is not a list. */
int IBIS_Append(IbisFile *file, int section, void *record);
int IBIS_Push(IbisFile *file, int section, void *record);
/* A zeroed record of `size` bytes appended to the current file's list of
** `section`; *(void **)pp receives it. 0 and a null record when there is
** no current file or memory ran out (nothing is left allocated). */
int IBIS_AppendNew(int section, size_t size, void *pp);
int IBIS_GetList(const IbisFile *file, int section, IbisItem **first);

/* The lists by name: 1 and the first item, or 0 when empty. */
int IBIS_GetComponents(const IbisFile *file, IbisItem **first);
int IBIS_GetModels(const IbisFile *file, IbisItem **first);
int IBIS_GetExternalCircuits(const IbisFile *file, IbisItem **first);
int IBIS_GetSubmodels(const IbisFile *file, IbisItem **first);
int IBIS_GetPackageModels(const IbisFile *file, IbisItem **first);
int IBIS_GetBoards(const IbisFile *file, IbisItem **first);
int IBIS_GetModelSelectors(const IbisFile *file, IbisItem **first);
int IBIS_GetTestData(const IbisFile *file, IbisItem **first);
int IBIS_GetTestLoads(const IbisFile *file, IbisItem **first);

#endif
