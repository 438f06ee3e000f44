/*
** ibis.cpp: the list of IbisFile records and their section lists.
*/
#include "IbisParser/ibis.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"

#include <stddef.h>

#define IBIS_SRC "IbisParser/ibis"

/* The newest record first. */
static IbisFile *ibisList;

/* Code of "Unable to create IBIS." in the message table. */
#define IBIS_MSG_CREATE 3905

int IBIS_New(IbisFile **out) {
  IbisFile *file = NULL;
  CMN_ASSERT(out != NULL, IBIS_SRC);
  if( !CMN_Calloc((void **)&file, sizeof(*file)) ) {
    MSG_ErrorCode(IBIS_MSG_CREATE);
    *out = NULL;
    return 0;
  }
  file->next = ibisList;
  ibisList = file;
  *out = file;
  return 1;
}

int IBIS_Current(IbisFile **out) {
  CMN_ASSERT(out != NULL, IBIS_SRC);
  *out = ibisList;
  return ibisList != NULL;
}

void IBIS_Free(IbisFile **file) {
  IbisFile **pp;
  int s;
  CMN_ASSERT(file != NULL, IBIS_SRC);
  if( *file == NULL ) return;
  for( pp = &ibisList; *pp; pp = &(*pp)->next ) {
    if( *pp == *file ) {
      *pp = (*file)->next;
      break;
    }
  }
  HDR_Free(&(*file)->header);
  for( s = 0; s < SECTION_COUNT; s++ ) {
    void (*release)(void *) = SECTION_Get(s)->release;
    IbisItem *item, *next;
    for( item = (*file)->list[s].first; item; item = next ) {
      next = item->next;
      if( item->record ) release(item->record);
      CMN_FreeBlock(item);
    }
  }
  CMN_Free((void **)file);
}

static IbisItem *ibisItem(int section, void *record) {
  IbisItem *item = NULL;
  if( section <= SECTION_HEADER || section >= SECTION_COUNT ) return NULL;
  if( !CMN_Calloc((void **)&item, sizeof(*item)) ) return NULL;
  item->record = record;
  return item;
}

int IBIS_Append(IbisFile *file, int section, void *record) {
  IbisItem *item;
  CMN_ASSERT(file != NULL, IBIS_SRC);
  if( (item = ibisItem(section, record)) == NULL ) return 0;
  if( file->list[section].last )
    file->list[section].last->next = item;
  else
    file->list[section].first = item;
  file->list[section].last = item;
  return 1;
}

int IBIS_AppendNew(int section, size_t size, void *pp) {
  IbisFile *file;
  void **out = (void **)pp;
  CMN_ASSERT(pp != NULL, IBIS_SRC);
  *out = NULL;
  if( !IBIS_Current(&file) || !CMN_Calloc(out, size) ) return 0;
  if( !IBIS_Append(file, section, *out) ) {
    CMN_FreeBlock(*out);
    *out = NULL;
    return 0;
  }
  return 1;
}

int IBIS_Push(IbisFile *file, int section, void *record) {
  IbisItem *item;
  CMN_ASSERT(file != NULL, IBIS_SRC);
  if( (item = ibisItem(section, record)) == NULL ) return 0;
  item->next = file->list[section].first;
  file->list[section].first = item;
  if( file->list[section].last == NULL ) file->list[section].last = item;
  return 1;
}

int IBIS_GetList(const IbisFile *file, int section, IbisItem **first) {
  IbisItem *item = NULL;
  if( file && section > SECTION_HEADER && section < SECTION_COUNT ) {
    item = file->list[section].first;
  }
  if( first ) *first = item;
  return item != NULL;
}

int IBIS_GetComponents(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_COMPONENT, first);
}
int IBIS_GetModels(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_MODEL, first);
}
int IBIS_GetExternalCircuits(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_EXTERNAL_CIRCUIT, first);
}
int IBIS_GetSubmodels(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_SUBMODEL, first);
}
int IBIS_GetPackageModels(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_PACKAGE_MODEL, first);
}
int IBIS_GetBoards(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_BOARD, first);
}
int IBIS_GetModelSelectors(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_MODEL_SELECTOR, first);
}
int IBIS_GetTestData(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_TEST_DATA, first);
}
int IBIS_GetTestLoads(const IbisFile *f, IbisItem **first) {
  return IBIS_GetList(f, SECTION_TEST_LOAD, first);
}
