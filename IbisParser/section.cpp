/*
** section.cpp: the table of installed section handlers.
*/
#include "IbisParser/section.h"

#include "IbisParser/hdr.h"

#include <stddef.h>

static void sectionNoBegin(void){}
static void sectionNoClose(int previousCode, int newCode){
  (void)previousCode; (void)newCode;
}
static void sectionNoLine(int lineType, int code, char *text){
  (void)lineType; (void)code; (void)text;
}
static void sectionNoRelease(void *record){ (void)record; }

static const ParseSection sectionDefault = {
  sectionNoBegin, sectionNoClose, sectionNoLine, sectionNoRelease
};

static const ParseSection sectionHeader = {
  HDR_Begin, HDR_Close, HDR_Line, sectionNoRelease
};

static ParseSection sectionTable[SECTION_COUNT];
static int sectionReady;

void SECTION_ResetAll(void){
  int i;
  for(i=0; i<SECTION_COUNT; i++) sectionTable[i] = sectionDefault;
  sectionTable[SECTION_HEADER] = sectionHeader;
  sectionReady = 1;
}

int SECTION_Install(int id, const ParseSection *section){
  const ParseSection *base;
  if( id<0 || id>=SECTION_COUNT ) return 0;
  if( !sectionReady ) SECTION_ResetAll();
  base = id==SECTION_HEADER ? &sectionHeader : &sectionDefault;
  if( section==NULL ){
    sectionTable[id] = *base;
    return 1;
  }
  sectionTable[id].begin = section->begin ? section->begin : base->begin;
  sectionTable[id].close = section->close ? section->close : base->close;
  sectionTable[id].line = section->line ? section->line : base->line;
  sectionTable[id].release = section->release ? section->release
                                              : base->release;
  return 1;
}

const ParseSection *SECTION_Get(int id){
  if( !sectionReady ) SECTION_ResetAll();
  if( id<0 || id>=SECTION_COUNT ) return &sectionDefault;
  return &sectionTable[id];
}
