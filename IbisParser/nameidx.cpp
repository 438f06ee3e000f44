/*
** nameidx.cpp: open-addressing hash of borrowed names, grown to stay at
** most half full so that probes stay short.
*/
#include "IbisParser/nameidx.h"

#include "IbisParser/cmn.h"

#include <string.h>

#define NAMEIDX_SRC "IbisParser/nameidx"
#define NAMEIDX_FIRST_CAPACITY 16

static size_t nameidxHash(const char *name) {
  size_t h = 2166136261u;
  for( ; *name; name++ ) {
    h ^= (unsigned char)*name;
    h *= 16777619u;
  }
  return h;
}

/* The slot holding `name`, or the free slot where it belongs. */
static size_t nameidxProbe(const NameIndexSlot *slot, size_t capacity,
                           const char *name) {
  size_t i = nameidxHash(name) & (capacity - 1);
  while( slot[i].name != NULL && strcmp(slot[i].name, name) != 0 ) {
    i = (i + 1) & (capacity - 1);
  }
  return i;
}

static int nameidxGrow(NameIndex *index) {
  size_t capacity =
      index->capacity ? index->capacity * 2 : NAMEIDX_FIRST_CAPACITY;
  NameIndexSlot *slot = NULL;
  size_t i;
  if( !CMN_Calloc((void **)&slot, capacity * sizeof(*slot)) ) return 0;
  for( i = 0; i < index->capacity; i++ ) {
    const NameIndexSlot *s = &index->slot[i];
    if( s->name ) slot[nameidxProbe(slot, capacity, s->name)] = *s;
  }
  CMN_FreeBlock(index->slot);
  index->slot = slot;
  index->capacity = capacity;
  return 1;
}

static const NameIndexSlot *nameidxLookup(const NameIndex *index,
                                          const char *name) {
  const NameIndexSlot *s;
  CMN_ASSERT(index != NULL && name != NULL, NAMEIDX_SRC);
  if( index->capacity == 0 ) return NULL;
  s = &index->slot[nameidxProbe(index->slot, index->capacity, name)];
  return s->name ? s : NULL;
}

int NAMEIDX_Contains(const NameIndex *index, const char *name) {
  return nameidxLookup(index, name) != NULL;
}

void *NAMEIDX_Find(const NameIndex *index, const char *name) {
  const NameIndexSlot *s = nameidxLookup(index, name);
  return s ? s->record : NULL;
}

int NAMEIDX_Add(NameIndex *index, const char *name, void *record) {
  size_t i;
  CMN_ASSERT(index != NULL && name != NULL, NAMEIDX_SRC);
  if( (index->count + 1) * 2 > index->capacity && !nameidxGrow(index) ) {
    return 0;
  }
  i = nameidxProbe(index->slot, index->capacity, name);
  if( index->slot[i].name == NULL ) {
    index->slot[i].name = name;
    index->slot[i].record = record;
    index->count++;
  }
  return 1;
}

void NAMEIDX_Free(NameIndex *index) {
  CMN_ASSERT(index != NULL, NAMEIDX_SRC);
  CMN_FreeBlock(index->slot);
  memset(index, 0, sizeof(*index));
}
