/*
** nameidx.h: a hash index of borrowed names, each with the record it
** names, for the checks that look names up once per line or per pin.
**
** Pin lists of thousands of pins are matched against models, mappings and
** package pins; a hash keeps every such look-up constant-time, so the
** checks stay linear in the file.  Names are borrowed: they must outlive
** the index (they are the records' own fields).  The first record added
** under a name is kept; later ones with an equal name are not stored.
*/
#ifndef IBISPARSER_NAMEIDX_H
#define IBISPARSER_NAMEIDX_H

#include <stddef.h>

typedef struct NameIndexSlot {
  const char *name; /* null when free */
  void *record;
} NameIndexSlot;

typedef struct NameIndex {
  NameIndexSlot *slot; /* capacity slots */
  size_t capacity;     /* a power of two, or 0 before the first name */
  size_t count;
} NameIndex;

/* 1 when an equal name (exact comparison) is in the index. */
int NAMEIDX_Contains(const NameIndex *index, const char *name);
/* The record of the first name equal to `name`, or null. */
void *NAMEIDX_Find(const NameIndex *index, const char *name);
/* Adds the name with its record (a name already there keeps its first
** record).  Returns 1, or 0 when memory ran out (reported by the
** allocator); the index stays usable. */
int NAMEIDX_Add(NameIndex *index, const char *name, void *record);
/* Releases the slots; the index is empty and usable afterwards. */
void NAMEIDX_Free(NameIndex *index);

#endif
