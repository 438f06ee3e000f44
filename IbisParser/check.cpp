/*
** check.cpp: the check driver.
*/
#include "IbisParser/check.h"

#include "IbisParser/amichk.h"
#include "IbisParser/amiver.h"
#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"
#include "IbisParser/ver.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define CHECK_SRC "IbisParser/check"

int CHECK_FileType(const char *path) {
  static const char *const ext[] = { ".ibs", ".pkg", ".ebd", ".ami" };
  const char *base = path, *p, *dot;
  int i;
  CMN_ASSERT(path != NULL, CHECK_SRC);
  for( p = path; *p; p++ ) {
    if( CMN_IsPathSeparator(*p) ) base = p + 1;
  }
  dot = strrchr(base, '.');
  for( i = 0; dot && i < 4; i++ ) {
    if( CMN_StrEqualNoCase(dot, ext[i]) ) return i + 1;
  }
  return CMN_FILE_IBS;
}

/* The decision of the last file read; checkRead 0 when there is none. */
static VerDecision checkDecision;
static int checkRead;

int CHECK_LastVersion(VerDecision *out) {
  if( checkRead && out ) *out = checkDecision;
  return checkRead;
}

/* The summary names the version and the rules for a file read by rules
** other than those of 1.1 to 5.0, whose summaries stay as they were. */
static void checkSummaryNote(const VerDecision *d) {
  char note[160];
  int old = d->level <= VER_LEVEL_50
      && (d->kind == VER_KIND_KNOWN || d->kind == VER_KIND_ILLEGAL);
  if( old ) return;
  snprintf(note, sizeof(note),
           "Version : IBIS %s declared, checked by the IBIS %s rules%s",
           d->declared, d->rules,
           d->kind == VER_KIND_FORCED ? " (--force-v5)" : "");
  MSG_SetSummaryNote(note);
}

/* The decision of the last .ami file checked; checkAmiRead 0 when it
** declared no AMI_Version or was not read. */
static AmichkVersion checkAmiVersion;
static int checkAmiRead;

int CHECK_LastAmiVersion(AmichkVersion *out) {
  if( checkAmiRead && out ) *out = checkAmiVersion;
  return checkAmiRead;
}

/* A file that declares AMI_Version says in its summary which it declared
** and which rules checked it; one without keeps the summary it always had. */
static void checkAmiSummaryNote(const AmichkVersion *v) {
  char note[160];
  if( v->value[0] ) {
    snprintf(note, sizeof(note),
             "Version : AMI_Version %s declared, checked by the AMI_Version "
             "%s rules",
             v->value, AMIVER_Name(v->level));
  } else {
    snprintf(note, sizeof(note),
             "Version : AMI_Version without a value, checked by the "
             "AMI_Version %s rules",
             AMIVER_Name(v->level));
  }
  MSG_SetSummaryNote(note);
}

int CHECK_File(const char *path) { return CHECK_FileWith(path, NULL, NULL); }

int CHECK_FileWith(const char *path, CheckUse reader, void *context) {
  char *local = NULL;
  const char *use = path;
  const char *p;
  int type, bugs = 0, errors = 0, read;
  CMN_ASSERT(path != NULL, CHECK_SRC);
  MSG_ResetCounts();
  MSG_SetCheckedFile(path);
  /* A bare file name would be looked for in the directory of the file
  ** checked before; name the current directory instead. */
  for( p = path; *p && !CMN_IsPathSeparator(*p); p++ ) {}
  if( *p == 0 ) {
    size_t n = strlen(path);
    if( CMN_Calloc(&local, n + 3) ) {
      memcpy(local, "./", 2);
      memcpy(local + 2, path, n + 1);
      use = local;
    }
  }
  type = CHECK_FileType(path);
  checkRead = 0;
  checkAmiRead = 0;
  if( type == CMN_FILE_AMI ) {
    read = AMICHK_CheckAmiFile(use);
    if( read && AMICHK_LastVersion(&checkAmiVersion) ) {
      checkAmiRead = 1;
      checkAmiSummaryNote(&checkAmiVersion);
    }
  } else {
    IbisFile *file = NULL;
    read = IBIS_New(&file);
    if( read ) {
      read = PARSE_File(use, type);
      if( read ) {
        /* Taken first: the after-file checks may read other files. */
        checkDecision = *VER_Current();
        checkRead = 1;
        SECTION_RunAfterFileChecks(file);
        checkSummaryNote(&checkDecision);
        if( reader ) reader(file, context);
      }
      IBIS_Free(&file);
      /* What the sections keep of the file (indexes, open records) goes
      ** with it: a check leaves nothing allocated behind. */
      SECTION_ResetFileState();
    }
  }
  if( local ) CMN_Free(&local);
  MSG_Summary();
  MSG_GetCounts(&bugs, &errors, NULL);
  return read && bugs == 0 && errors == 0;
}
