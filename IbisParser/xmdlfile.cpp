/*
** xmdlfile.cpp: the corner files of the IBIS-ISS and Touchstone languages.
**
** A Corner line names the file a corner is simulated with.  The files of
** these two languages are read by the simulator itself, so a file that is
** not beside the .ibs file (or in a folder below it) breaks the model; the
** files of the other languages are left to their own tools, as before.
**
** A Touchstone file of N ports joins the model through N terminals and a
** reference, so the Ports lines name N names, or N + 1 when they name the
** reference too; whether the reference must be named is not settled by
** the sources at hand, so both counts are accepted.
*/
#include "IbisParser/xmdlfile.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/strlist.h"
#include "IbisParser/tsport.h"
#include "IbisParser/xmdl.h"

#include <stdio.h>
#include <string.h>

static const char *const xmdlfileCorner[3] = { "Typ", "Min", "Max" };

/* The path of `name` in the .ibs file's directory, or null when memory
** runs out (reported by the allocator). */
static char *xmdlfilePath(const char *name) {
  const char *dir = CMN_GetDirectory();
  size_t nd = strlen(dir), nn = strlen(name);
  int sep = nd > 0 && !CMN_IsPathSeparator(dir[nd - 1]);
  char *path = NULL;
  if( !CMN_Calloc(&path, nd + nn + 2) ) return NULL;
  memcpy(path, dir, nd);
  if( sep ) path[nd++] = '/';
  memcpy(path + nd, name, nn + 1);
  return path;
}

static void xmdlfilePorts(const XmdlRecord *x, FILE *fp, const char *keyword,
                          const char *name, const char *corner,
                          const char *file) {
  int byName = TSPORT_FromName(file), byData = TSPORT_FromData(fp);
  int ports = byData ? byData : byName;
  int declared = STRING_CountSize(x->ports);
  if( byData && byName && byData != byName )
    MSG_ErrorCode(MSGC_XMDLFILE_TS_NAME_PORTS, keyword, name, corner, file,
                  byData, byName);
  if( ports == 0 ) {
    MSG_ErrorCode(MSGC_XMDLFILE_TS_NO_PORTS, keyword, name, corner, file);
    return;
  }
  /* A block without Ports lines is reported for its few ports already. */
  if( declared > 0 && declared != ports && declared != ports + 1 )
    MSG_ErrorCode(MSGC_XMDLFILE_TS_DECLARED_PORTS, keyword, name, corner, file,
                  ports, declared, ports, ports + 1);
}

void XMDLFILE_Check(const XmdlRecord *x, const char *keyword,
                    const char *name) {
  int c;
  if( x == NULL ) return;
  if( x->language != XMDL_LANG_ISS && x->language != XMDL_LANG_TOUCHSTONE )
    return;
  for( c = 0; c < 3; c++ ) {
    const char *file = x->cornerFile[c];
    char *path;
    FILE *fp;
    if( file == NULL || (path = xmdlfilePath(file)) == NULL ) continue;
    fp = fopen(path, "rb");
    CMN_Free(&path);
    if( fp == NULL ) {
      MSG_ErrorCode(MSGC_XMDLFILE_MISSING, keyword, name, xmdlfileCorner[c],
                    XMDL_LanguageName(x->language), file);
      continue;
    }
    if( x->language == XMDL_LANG_TOUCHSTONE )
      xmdlfilePorts(x, fp, keyword, name, xmdlfileCorner[c], file);
    fclose(fp);
  }
}
