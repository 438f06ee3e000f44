/*
** pkgsearch.cpp: PKGMDL_SearchPkgFiles, the search of the .pkg files next
** to the file being read for a package model that a component names but
** the file does not define.
**
** The directory is listed with the platform's directory API: no command
** interpreter and no temporary file, so a name in the directory can never
** reach a shell, and a directory that cannot be read is reported and the
** search simply finds nothing.  Names are taken as they are (a case-
** sensitive file system would not find a lowered name) and read in sorted
** order, so that the messages of a check do not depend on the order in
** which the file system happens to list them.
*/
#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/pkgmdl.h"

#include <dirent.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#define PKGSEARCH_SRC "IbisParser/pkgsearch"

/* Characters of a line the scan for [Define Package Model] looks at. */
#define PKGSEARCH_LINE 120

typedef struct PkgNames {
  char **name;
  size_t count, cap;
} PkgNames;

static int pkgsearchIsPkgName(const char *name) {
  size_t n = strlen(name);
  return name[0] != '.' && n > 4 && CMN_StrEqualNoCase(name + n - 4, ".pkg");
}

static int pkgsearchAdd(PkgNames *list, const char *name) {
  char *copy;
  if( list->count == list->cap ) {
    size_t cap = list->cap ? list->cap * 2 : 16;
    if( list->name == NULL
            ? !CMN_Calloc((void **)&list->name, cap * sizeof(char *))
            : !CMN_Realloc((void **)&list->name, cap * sizeof(char *)) ) {
      return 0;
    }
    list->cap = cap;
  }
  if( (copy = CMN_StrDup(name)) == NULL ) return 0;
  list->name[list->count++] = copy;
  return 1;
}

static void pkgsearchFreeNames(PkgNames *list) {
  size_t i;
  for( i = 0; i < list->count; i++ ) CMN_Free((void **)&list->name[i]);
  if( list->name ) CMN_Free((void **)&list->name);
  list->count = list->cap = 0;
}

static int pkgsearchCompare(const void *a, const void *b) {
  return strcmp(*(char *const *)a, *(char *const *)b);
}

/* `dir` followed by `name` into `path` (CMN_MAX_PATH + 1 bytes); 0 when
** too long. */
static int pkgsearchJoin(char *path, const char *dir, const char *name) {
  size_t d = strlen(dir), n = strlen(name);
  if( d + n > CMN_MAX_PATH ) return 0;
  memcpy(path, dir, d);
  memcpy(path + d, name, n + 1);
  return 1;
}

/* The plain files named *.pkg in `dir`, not hidden, sorted.  0 when the
** directory cannot be read (reported). */
static int pkgsearchList(const char *dir, PkgNames *list) {
  char path[CMN_MAX_PATH + 1];
  const char *open = dir[0] ? dir : ".";
  struct dirent *entry;
  struct stat st;
  DIR *d = opendir(open);
  if( d == NULL ) {
    MSG_ErrorCode(MSGC_PKGMDL_LIST_DIRECTORY_FAILED, open);
    return 0;
  }
  while( (entry = readdir(d)) != NULL ) {
    if( !pkgsearchIsPkgName(entry->d_name) ) continue;
    if( !pkgsearchJoin(path, dir, entry->d_name) ) continue;
    if( stat(path, &st) != 0 || !S_ISREG(st.st_mode) ) continue;
    if( !pkgsearchAdd(list, entry->d_name) ) break;
  }
  closedir(d);
  if( list->count > 1 ) {
    qsort(list->name, list->count, sizeof(char *), pkgsearchCompare);
  }
  return 1;
}

/* Whether one line of a .pkg file defines the model `name`. */
static int pkgsearchLineDefines(const char *line, const char *name) {
  static const char *const opening[] = { "[DEFINE PACKAGE MODEL]",
                                         "[DEFINE PACKAGE_MODEL]",
                                         "[DEFINE_PACKAGE MODEL]",
                                         "[DEFINE_PACKAGE_MODEL]" };
  const char *p = line;
  size_t i;
  while( CMN_IsSpace(*p) ) p++;
  for( i = 0; i < sizeof(opening) / sizeof(opening[0]); i++ ) {
    if( CMN_StrNEqualNoCase(p, opening[i], 22) ) break;
  }
  if( i == sizeof(opening) / sizeof(opening[0]) ) return 0;
  for( p += 22; CMN_IsSpace(*p); p++ ) {}
  return strncmp(p, name, strlen(name)) == 0;
}

/* Whether the file at `path` defines the model `name`. */
static int pkgsearchDefines(const char *path, const char *name) {
  char line[PKGSEARCH_LINE + 1];
  int c = 0, found = 0;
  FILE *fp = CMN_OpenFile(path, "r");
  if( fp == NULL ) {
    MSG_ErrorCode(MSGC_PKGMDL_OPEN_FAILED, path);
    return 0;
  }
  while( !found && c != EOF ) {
    size_t n = 0;
    while( (c = getc(fp)) != EOF && c != '\n' ) {
      if( n < PKGSEARCH_LINE ) line[n++] = (char)c;
    }
    line[n] = 0;
    found = pkgsearchLineDefines(line, name);
  }
  fclose(fp);
  return found;
}

int PKGMDL_SearchPkgFiles(const char *name) {
  char dir[CMN_MAX_PATH + 1], fileName[CMN_MAX_PATH + 1];
  char path[CMN_MAX_PATH + 1];
  PkgNames list = { NULL, 0, 0 };
  int version = PARSE_GetDispatchVersion(), found = 0;
  size_t i;
  CMN_ASSERT(name != NULL, PKGSEARCH_SRC);
  if( name[0] == 0 ) return 0;
  snprintf(dir, sizeof(dir), "%s", CMN_GetDirectory());
  snprintf(fileName, sizeof(fileName), "%s", CMN_GetFileName());
  if( !pkgsearchList(dir, &list) ) return 0;
  for( i = 0; i < list.count; i++ ) {
    if( !pkgsearchJoin(path, dir, list.name[i]) ) continue;
    if( !pkgsearchDefines(path, name) ) continue;
    found = 1;
    PARSE_File(path, CMN_FILE_PKG);
  }
  pkgsearchFreeNames(&list);
  /* The .pkg files were read in the middle of the checks of the file that
  ** named them; what later checks ask of the reader is that file's. */
  PARSE_SetDispatchVersion(version);
  CMN_SetFileName(fileName);
  return found;
}
