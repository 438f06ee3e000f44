/*
** section.cpp: the checker's two plug-in points, the table of installed
** sections and the list of after-file checks, and the routines that reach
** them.
*/
#include "IbisParser/section.h"

#include "IbisParser/buslbl.h"
#include "IbisParser/clkpin.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/drvsh.h"
#include "IbisParser/dspads.h"
#include "IbisParser/ebdmdl.h"
#include "IbisParser/hdr.h"
#include "IbisParser/icm.h"
#include "IbisParser/icmgrp.h"
#include "IbisParser/icmset.h"
#include "IbisParser/inidly.h"
#include "IbisParser/keyword.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/pkgmdl.h"
#include "IbisParser/rcvth.h"
#include "IbisParser/rptpin.h"
#include "IbisParser/submdl.h"
#include "IbisParser/testdata.h"
#include "IbisParser/testload.h"
#include "IbisParser/xckt.h"

#include <stddef.h>
#include <string.h>

/*
** The installed sections, by section id.  A section module exports one
** ParseSection; an id without a module receives its routed lines and does
** nothing.
*/
static const ParseSection *sectionInstalled(int id) {
  switch( id ) {
    case SECTION_HEADER:
      return &HDR_ParseSection;
    case SECTION_COMPONENT:
      return &CMPNT_ParseSection;
    case SECTION_MODEL:
      return &MDL_ParseSection;
    case SECTION_EXTERNAL_CIRCUIT:
      return &XCKT_ParseSection;
    case SECTION_PACKAGE_MODEL:
      return &PKGMDL_ParseSection;
    case SECTION_BOARD:
      return &EBDMDL_ParseSection;
    case SECTION_SUBMODEL:
      return &SUBMDL_ParseSection;
    case SECTION_MODEL_SELECTOR:
      return &MSEL_ParseSection;
    case SECTION_TEST_DATA:
      return &TESTDATA_ParseSection;
    case SECTION_TEST_LOAD:
      return &TESTLOAD_ParseSection;
    case SECTION_REPEATER_PIN:
      return &RPTPIN_ParseSection;
    case SECTION_CLOCK_PINS:
      return &CLKPIN_ParseSection;
    case SECTION_INITIAL_DELAY:
      return &INIDLY_ParseSection;
    case SECTION_INTERCONNECT_GROUP:
      return &ICMGRP_ParseSection;
    case SECTION_BUS_LABEL:
      return &BUSLBL_ParseSection;
    case SECTION_DIE_SUPPLY_PADS:
      return &DSPADS_ParseSection;
    case SECTION_INTERCONNECT_SET:
      return &ICMSET_ParseSection;
    case SECTION_INTERCONNECT_MODEL:
      return &ICM_ParseSection;
    default:
      return NULL;
  }
}

/*
** The checks that need the whole file, in the order they run: components
** first (they index pins, models and package models) with the pin tables
** of their newer keywords and the sets their interconnect model groups
** name, then the model-side cross-checks, the model selectors, and last
** the .ami files that [Algorithmic Model] sections name.
*/
/* clang-format off */
static const SectionAfterFile sectionAfterFile[] = {
  CMPNT_CheckAll,
  RPTPIN_CheckAll,
  CLKPIN_CheckAll,
  ICMGRP_CheckSets,
  PKGMDL_AfterFile, /* duplicate package model names */
  DRVSH_CheckSchedules,
  RCVTH_CheckPins,
  SUBMDL_CheckReferences,
  MSEL_CheckModels,
  TESTLOAD_CheckModels,
  TESTDATA_CheckRefs,
  MDL_CheckAmiFiles,
  EBDMDL_AfterFile, /* reads the files the boards reference: last */
};
/* clang-format on */

static void sectionNoBegin(void) {}
static void sectionNoClose(int previousCode, int newCode) {
  (void)previousCode;
  (void)newCode;
}
static void sectionNoLine(int lineType, int code, char *text) {
  (void)lineType;
  (void)code;
  (void)text;
}
static void sectionNoRelease(void *record) { (void)record; }
static void sectionNoReset(void) {}

static ParseSection sectionTable[SECTION_COUNT];
static int sectionReady;

/* The routines of `from` over `base`, every null replaced. */
static ParseSection sectionMerge(const ParseSection *base,
                                 const ParseSection *from) {
  ParseSection s = *base;
  if( from == NULL ) return s;
  if( from->begin ) s.begin = from->begin;
  if( from->close ) s.close = from->close;
  if( from->line ) s.line = from->line;
  if( from->release ) s.release = from->release;
  if( from->reset ) s.reset = from->reset;
  return s;
}

static const ParseSection sectionNone = { sectionNoBegin, sectionNoClose,
                                          sectionNoLine, sectionNoRelease,
                                          sectionNoReset };

static ParseSection sectionDefault(int id) {
  return sectionMerge(&sectionNone, sectionInstalled(id));
}

void SECTION_ResetAll(void) {
  int i;
  for( i = 0; i < SECTION_COUNT; i++ ) sectionTable[i] = sectionDefault(i);
  sectionReady = 1;
}

int SECTION_Install(int id, const ParseSection *section) {
  ParseSection base;
  if( id < 0 || id >= SECTION_COUNT ) return 0;
  if( !sectionReady ) SECTION_ResetAll();
  /* A test replaces a section whole; only the header keeps its own
  ** routines under a partial replacement, as every file needs them. */
  base = id == SECTION_HEADER || section == NULL ? sectionDefault(id)
                                                 : sectionNone;
  sectionTable[id] = sectionMerge(&base, section);
  return 1;
}

const ParseSection *SECTION_Get(int id) {
  static ParseSection nothing;
  if( !sectionReady ) SECTION_ResetAll();
  if( id < 0 || id >= SECTION_COUNT ) {
    nothing = sectionDefault(SECTION_NONE);
    return &nothing;
  }
  return &sectionTable[id];
}

/* The module of a nested keyword, or SECTION_NONE. */
static int sectionNestedModule(int code) {
  const KeywordNewer *row = KEYWORD_Newer(code);
  return row && row->module != row->owner ? row->module : SECTION_NONE;
}

int SECTION_IsNestedIn(int owner, int code) {
  const KeywordNewer *row = KEYWORD_Newer(code);
  return row && row->owner == owner && row->module != owner;
}

int SECTION_NestedLine(int lineType, int code, char *text) {
  int module = sectionNestedModule(code);
  if( module == SECTION_NONE ) return 0;
  /* A closing keyword ([End Interconnect Model]) begins nothing. */
  if( lineType == SECTION_LINE_KEYWORD
      && strncmp(KEYWORD_Name(code), "END_", 4) )
    SECTION_Get(module)->begin();
  SECTION_Get(module)->line(lineType, code, text);
  return 1;
}

int SECTION_NestedClose(int previousCode, int newCode) {
  int module = sectionNestedModule(previousCode);
  if( module == SECTION_NONE ) return 0;
  SECTION_Get(module)->close(previousCode, newCode);
  return 1;
}

void SECTION_ResetFileState(void) {
  int i;
  for( i = 0; i < SECTION_COUNT; i++ ) SECTION_Get(i)->reset();
}

void SECTION_RunAfterFileChecks(struct IbisFile *file) {
  size_t i;
  for( i = 0; i < sizeof(sectionAfterFile) / sizeof(sectionAfterFile[0]);
       i++ ) {
    if( sectionAfterFile[i] ) sectionAfterFile[i](file);
  }
}
