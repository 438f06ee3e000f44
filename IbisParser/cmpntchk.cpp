/*
** cmpntchk.cpp: the after-file cross-checks of every component against
** the file's models, model selectors, package models and external
** circuits, and the differential-pin look-up the model checks use.
**
** The file's models, selectors and circuits are indexed by name once, and
** each component's mapping and differential pins once, so the checks are
** linear in pins + models.
*/
#include "IbisParser/apkg.h"
#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/cmpntidx.h"
#include "IbisParser/difpin.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/pinmpg.h"
#include "IbisParser/pkgmdl.h"
#include "IbisParser/xckt.h"

#include <string.h>

#define CMPNTCHK_SRC "IbisParser/cmpnt"

/* ---- indexes ------------------------------------------------------------ */

/* The name of a record of a section's list. */
static const char *cmpntchkRecordName(int section, const void *record) {
  if( record == NULL ) return NULL;
  switch( section ) {
    case SECTION_MODEL:
      return ((const MDL_Model *)record)->name;
    case SECTION_MODEL_SELECTOR:
      return ((const MSEL_Selector *)record)->name;
    case SECTION_EXTERNAL_CIRCUIT:
      return ((const XcktCircuit *)record)->name;
    default:
      return NULL;
  }
}

static void cmpntchkIndexList(IbisFile *file, int section, NameIndex *index) {
  IbisItem *item = NULL;
  if( !IBIS_GetList(file, section, &item) ) return;
  for( ; item; item = item->next ) {
    const char *name = cmpntchkRecordName(section, item->record);
    if( name && name[0] ) NAMEIDX_Add(index, name, item->record);
  }
}

/* A differential pin's model, or every model of its selector, with the
** pin that uses it. */
static void cmpntchkDiffModel(CmpntIndex *ix, PIN_Pin *pin) {
  const MSEL_Selector *s;
  const MselEntry *e;
  if( pin == NULL || pin->model[0] == 0 ) return;
  if( NAMEIDX_Contains(&ix->diffModels, pin->model) ) return;
  NAMEIDX_Add(&ix->diffModels, pin->model, pin);
  s = (const MSEL_Selector *)NAMEIDX_Find(&ix->selectors, pin->model);
  if( s == NULL ) return;
  for( e = s->first; e; e = e->next )
    NAMEIDX_Add(&ix->diffModels, e->name, pin);
}

/* The models and selectors the differential pins of the file use. */
static void cmpntchkIndexDiffModels(IbisFile *file, CmpntIndex *ix) {
  IbisItem *item = NULL;
  if( !IBIS_GetComponents(file, &item) ) return;
  for( ; item; item = item->next ) {
    const CMPNT_Component *c = (const CMPNT_Component *)item->record;
    const DIFPIN_DiffPin *d;
    if( c == NULL ) continue;
    for( d = c->diffPins; d; d = d->next ) {
      cmpntchkDiffModel(ix, CMPNT_FindPin(c, d->pin));
      cmpntchkDiffModel(ix, CMPNT_FindPin(c, d->invPin));
    }
  }
}

static void cmpntchkIndexFile(IbisFile *file, CmpntIndex *ix) {
  memset(ix, 0, sizeof(*ix));
  ix->file = file;
  cmpntchkIndexList(file, SECTION_MODEL, &ix->models);
  cmpntchkIndexList(file, SECTION_MODEL_SELECTOR, &ix->selectors);
  cmpntchkIndexList(file, SECTION_EXTERNAL_CIRCUIT, &ix->circuits);
  cmpntchkIndexDiffModels(file, ix);
}

static void cmpntchkIndexComponent(const CMPNT_Component *c, CmpntIndex *ix) {
  const PINMPG_PinMapping *m;
  const DIFPIN_DiffPin *d;
  NAMEIDX_Free(&ix->mappings);
  NAMEIDX_Free(&ix->diffPins);
  for( m = c->pinMappings; m; m = m->next )
    NAMEIDX_Add(&ix->mappings, m->pin, (void *)m);
  for( d = c->diffPins; d; d = d->next ) {
    NAMEIDX_Add(&ix->diffPins, d->pin, (void *)d);
    NAMEIDX_Add(&ix->diffPins, d->invPin, (void *)d);
  }
}

static void cmpntchkFreeIndex(CmpntIndex *ix) {
  NAMEIDX_Free(&ix->models);
  NAMEIDX_Free(&ix->selectors);
  NAMEIDX_Free(&ix->circuits);
  NAMEIDX_Free(&ix->diffModels);
  NAMEIDX_Free(&ix->mappings);
  NAMEIDX_Free(&ix->diffPins);
}

/* ---- the checks --------------------------------------------------------- */

/* ERROR 511 once for every component that repeats an earlier name: a
** message per pair would grow with the square of the copies, and say no
** more. */
static void cmpntchkDuplicates(IbisItem *item) {
  NameIndex seen = { NULL, 0, 0 };
  IbisItem *it;
  for( it = item; it; it = it->next ) {
    const CMPNT_Component *c = (const CMPNT_Component *)it->record;
    if( c == NULL ) continue;
    if( NAMEIDX_Contains(&seen, c->name) )
      MSG_ErrorCode(MSGC_CMPNT_DUPLICATE, c->name);
    else
      NAMEIDX_Add(&seen, c->name, (void *)c);
  }
  NAMEIDX_Free(&seen);
}

/* Whether the package model `name` is in the file, after a search of the
** .pkg files next to it. */
static int cmpntchkPackageModel(IbisFile *file, const char *name,
                                PkgmdlSearch *search) {
  IbisItem *list = NULL;
  PKGMDL *m = NULL;
  if( IBIS_GetPackageModels(file, &list) && PKGMDL_Find(list, name, &m) )
    return 1;
  if( !PKGMDL_SearchPkgFiles(search, name) ) return 0;
  return IBIS_GetPackageModels(file, &list) && PKGMDL_Find(list, name, &m);
}

static int cmpntchkIsDiffType(int type) {
  return type == MDL_TYPE_IO_DIFF || type == MDL_TYPE_OUTPUT_DIFF
      || type == MDL_TYPE_3STATE_DIFF || type == MDL_TYPE_INPUT_DIFF;
}

/* Differential model types are modelled by an external model, and their
** pins must be paired.  A pin whose model name is no [Model] (a rail, a
** selector ...) is passed over and the walk goes on. */
static void cmpntchkExternalModels(const CMPNT_Component *c,
                                   const CmpntIndex *ix) {
  const PIN_Pin *pin;
  for( pin = c->pins; pin; pin = pin->next ) {
    const MDL_Model *m =
        (const MDL_Model *)NAMEIDX_Find(&ix->models, pin->model);
    if( m == NULL || !cmpntchkIsDiffType(m->type) ) continue;
    if( m->external == NULL ) MSG_ErrorCode(MSGC_CMPNT_DIFF_NO_EXTERNAL);
    if( !NAMEIDX_Contains(&ix->diffPins, pin->name) )
      MSG_ErrorCode(MSGC_CMPNT_EXTERNAL_NO_DIFF_PIN, c->name, pin->name,
                    m->name, MDL_TypeName(m->type));
  }
}

static const char *cmpntchkPinModel(void *context, const char *pinName) {
  const PIN_Pin *pin = CMPNT_FindPin((const CMPNT_Component *)context, pinName);
  return pin ? pin->model : NULL;
}

/* Each alternate package model must exist; a name the list repeats was
** reported at its line, and is looked for once. */
static void cmpntchkAlternatePackages(const CMPNT_Component *c, CmpntIndex *ix,
                                      PkgmdlSearch *search) {
  NameIndex seen = { NULL, 0, 0 };
  const APKG_Name *a;
  for( a = c->alternatePackages; a; a = a->next ) {
    if( NAMEIDX_Contains(&seen, a->name) ) continue;
    NAMEIDX_Add(&seen, a->name, (void *)a);
    if( !cmpntchkPackageModel(ix->file, a->name, search) )
      MSG_ErrorCode(MSGC_CMPNT_PACKAGE_MODEL_NOT_FOUND, a->name, c->name);
  }
  NAMEIDX_Free(&seen);
}

static void cmpntchkComponent(CMPNT_Component *c, CmpntIndex *ix,
                              PkgmdlSearch *search) {
  cmpntchkIndexComponent(c, ix);
  if( c->packageModel[0]
      && !cmpntchkPackageModel(ix->file, c->packageModel, search) )
    MSG_ErrorCode(MSGC_CMPNT_PACKAGE_MODEL_NOT_FOUND, c->packageModel, c->name);
  if( c->pins )
    PIN_Check(c, ix);
  else
    MSG_ErrorCode(MSGC_CMPNT_NO_PINS, c->name);
  if( c->pinMappings && c->pins ) PINMPG_Check(c, ix);
  if( c->diffPins ) DIFPIN_Check(c);
  if( c->seriesPinMappings ) SPINMPG_Check(c, &ix->models, &ix->selectors);
  if( c->switchGroups ) SSWCH_Check(c);
  CIRCUIT_Check(c, &ix->circuits);
  cmpntchkExternalModels(c, ix);
  cmpntchkAlternatePackages(c, ix, search);
  if( c->emi ) PINEMI_CheckComponent(c->name, c->emi, cmpntchkPinModel, c);
}

void CMPNT_CheckAll(IbisFile *file) {
  CmpntIndex ix;
  PkgmdlSearch search;
  IbisItem *item = NULL;
  if( file == NULL ) {
    MSG_BugCode(MSGC_CMPNT_CHECK_NO_IBIS, CMPNTCHK_SRC, __LINE__);
    return;
  }
  if( !IBIS_GetComponents(file, &item) ) return;
  cmpntchkDuplicates(item);
  cmpntchkIndexFile(file, &ix);
  memset(&search, 0, sizeof(search));
  for( ; item; item = item->next ) {
    if( item->record )
      cmpntchkComponent((CMPNT_Component *)item->record, &ix, &search);
  }
  PKGMDL_EndSearch(&search);
  cmpntchkFreeIndex(&ix);
}

/* ---- differential pins -------------------------------------------------- */

/* The model and threshold checks ask once per model; the differential
** models of the file are indexed on the first question and kept until
** the next file, so the questions cost a look-up each, not a walk of
** every differential pin. */
static CmpntIndex cmpntchkDiff;

void CMPNT_ForgetDiffPins(void) {
  cmpntchkFreeIndex(&cmpntchkDiff);
  cmpntchkDiff.file = NULL;
}

int CMPNT_FindDiffPin(MDL_Model *model, PIN_Pin **pin) {
  IbisFile *file;
  IbisItem *item = NULL;
  PIN_Pin *found;
  if( pin ) *pin = NULL;
  if( !IBIS_Current(&file) ) {
    MSG_BugCodeLine(MSGC_CMPNT_NO_IBIS, CMPNTCHK_SRC, __LINE__);
    return 0;
  }
  /* A file without components (a fault reported on its own) has no
  ** differential pin; the model and test-load checks may still ask. */
  if( model == NULL || !IBIS_GetComponents(file, &item) ) return 0;
  if( cmpntchkDiff.file != file ) {
    CMPNT_ForgetDiffPins();
    cmpntchkDiff.file = file;
    cmpntchkIndexList(file, SECTION_MODEL_SELECTOR, &cmpntchkDiff.selectors);
    cmpntchkIndexDiffModels(file, &cmpntchkDiff);
  }
  found = (PIN_Pin *)NAMEIDX_Find(&cmpntchkDiff.diffModels, model->name);
  if( pin ) *pin = found;
  return found != NULL;
}
