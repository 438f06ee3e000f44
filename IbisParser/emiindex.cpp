/*
** emiindex.cpp: open-addressing hash set of borrowed names, grown to stay
** at most half full so that probes stay short.
*/
#include "IbisParser/emiindex.h"

#include "IbisParser/cmn.h"

#include <string.h>

#define EMIINDEX_SRC "IbisParser/emiindex"
#define EMIINDEX_FIRST_CAPACITY 16

static size_t emiindexHash(const char *name) {
  size_t h = 2166136261u;
  for( ; *name; name++ ) {
    h ^= (unsigned char)*name;
    h *= 16777619u;
  }
  return h;
}

/* The slot holding `name`, or the free slot where it belongs. */
static size_t emiindexProbe(const char *const *slot, size_t capacity,
                            const char *name) {
  size_t i = emiindexHash(name) & (capacity - 1);
  while( slot[i] != NULL && strcmp(slot[i], name) != 0 ) {
    i = (i + 1) & (capacity - 1);
  }
  return i;
}

static int emiindexGrow(EmiIndex *index) {
  size_t capacity =
      index->capacity ? index->capacity * 2 : EMIINDEX_FIRST_CAPACITY;
  const char **slot = NULL;
  size_t i;
  if( !CMN_Calloc((void **)&slot, capacity * sizeof(*slot)) ) return 0;
  for( i = 0; i < index->capacity; i++ ) {
    const char *name = index->slot[i];
    if( name ) slot[emiindexProbe(slot, capacity, name)] = name;
  }
  CMN_FreeBlock(index->slot);
  index->slot = slot;
  index->capacity = capacity;
  return 1;
}

int EMIINDEX_Contains(const EmiIndex *index, const char *name) {
  CMN_ASSERT(index != NULL && name != NULL, EMIINDEX_SRC);
  if( index->capacity == 0 ) return 0;
  return index->slot[emiindexProbe(index->slot, index->capacity, name)] != NULL;
}

int EMIINDEX_Add(EmiIndex *index, const char *name) {
  size_t i;
  CMN_ASSERT(index != NULL && name != NULL, EMIINDEX_SRC);
  if( (index->count + 1) * 2 > index->capacity && !emiindexGrow(index) ) {
    return 0;
  }
  i = emiindexProbe(index->slot, index->capacity, name);
  if( index->slot[i] == NULL ) {
    index->slot[i] = name;
    index->count++;
  }
  return 1;
}

void EMIINDEX_Free(EmiIndex *index) {
  CMN_ASSERT(index != NULL, EMIINDEX_SRC);
  CMN_FreeBlock(index->slot);
  memset(index, 0, sizeof(*index));
}
