/*
** emiindex.h: a set of names for the EMI blocks' per-line look-ups.
**
** The [Pin EMI] and [Pin Domain EMI] tables must refuse a repeated name on
** every line, and the component check matches one table against the
** other; a hash set keeps both linear in the table's length.  Names are
** borrowed: they must outlive the set (they are the entries' own fields).
*/
#ifndef IBISPARSER_EMIINDEX_H
#define IBISPARSER_EMIINDEX_H

#include <stddef.h>

typedef struct EmiIndex {
  const char **slot; /* capacity slots, null when free */
  size_t capacity;   /* a power of two, or 0 before the first name */
  size_t count;
} EmiIndex;

/* 1 when an equal name (exact comparison) is in the set. */
int EMIINDEX_Contains(const EmiIndex *index, const char *name);
/* Adds the name (a name already there is kept once).  Returns 1, or 0
** when memory ran out (reported by the allocator); the set stays usable. */
int EMIINDEX_Add(EmiIndex *index, const char *name);
/* Releases the slots; the set is empty and usable afterwards. */
void EMIINDEX_Free(EmiIndex *index);

#endif
