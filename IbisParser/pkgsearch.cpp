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
**
** The first search of a check lists the directory and scans each .pkg
** file once for its [Define Package Model] lines, into an index of model
** names; every later search is a look-up in it.  A file is read the first
** time a search needs a model it defines, and never again, so a check
** costs the size of the directory's .pkg files once, however many
** components name package models, and a file's faults are reported once.
*/
#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/pkgmdl.h"

#include <dirent.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#define PKGSEARCH_SRC "IbisParser/pkgsearch"

/* Characters of a line the scan for [Define Package Model] looks at: the
** keyword and a model name with room to spare. */
#define PKGSEARCH_LINE 256

/* One [Define Package Model] line of a .pkg file.  The definitions of one
** name are chained in file order. */
typedef struct PkgmdlDefinition {
  char *model;
  size_t file;
  size_t next; /* the next definition of the name + 1, 0 at the last */
  size_t last; /* in the first definition of a name: the last + 1 */
} PkgmdlDefinition;

static int pkgsearchIsPkgName(const char *name) {
  size_t n = strlen(name);
  return name[0] != '.' && n > 4 && CMN_StrEqualNoCase(name + n - 4, ".pkg");
}

static int pkgsearchAddFile(PkgmdlSearch *s, const char *name, size_t *cap) {
  char *copy;
  if( s->files == *cap ) {
    size_t more = *cap ? *cap * 2 : 16;
    if( s->file == NULL
            ? !CMN_Calloc((void **)&s->file, more * sizeof(char *))
            : !CMN_Realloc((void **)&s->file, more * sizeof(char *)) ) {
      return 0;
    }
    *cap = more;
  }
  if( (copy = CMN_StrDup(name)) == NULL ) return 0;
  s->file[s->files++] = copy;
  return 1;
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

/* The plain files named *.pkg in the directory, not hidden, sorted.  0
** when the directory cannot be read (reported). */
static int pkgsearchList(PkgmdlSearch *s) {
  char path[CMN_MAX_PATH + 1];
  const char *open = s->dir[0] ? s->dir : ".";
  struct dirent *entry;
  struct stat st;
  size_t cap = 0;
  DIR *d = opendir(open);
  if( d == NULL ) {
    MSG_ErrorCode(MSGC_PKGMDL_LIST_DIRECTORY_FAILED, open);
    return 0;
  }
  while( (entry = readdir(d)) != NULL ) {
    if( !pkgsearchIsPkgName(entry->d_name) ) continue;
    if( !pkgsearchJoin(path, s->dir, entry->d_name) ) continue;
    if( stat(path, &st) != 0 || !S_ISREG(st.st_mode) ) continue;
    if( !pkgsearchAddFile(s, entry->d_name, &cap) ) break;
  }
  closedir(d);
  if( s->files > 1 ) qsort(s->file, s->files, sizeof(char *), pkgsearchCompare);
  if( s->files > 0 && !CMN_Calloc((void **)&s->read, s->files) ) {
    while( s->files > 0 ) CMN_Free((void **)&s->file[--s->files]);
  }
  return 1;
}

/* Notes that file `f` defines `model`. */
static void pkgsearchDefine(PkgmdlSearch *s, size_t f, const char *model) {
  PkgmdlDefinition *d;
  size_t head = (size_t)(uintptr_t)NAMEIDX_Find(&s->byName, model);
  /* A file that defines a name twice is read once all the same. */
  if( head && s->def[s->def[head - 1].last - 1].file == f ) return;
  if( s->defs == s->defCap ) {
    size_t cap = s->defCap ? s->defCap * 2 : 16;
    if( s->def == NULL
            ? !CMN_Calloc((void **)&s->def, cap * sizeof(*s->def))
            : !CMN_Realloc((void **)&s->def, cap * sizeof(*s->def)) ) {
      return;
    }
    s->defCap = cap;
  }
  d = &s->def[s->defs];
  memset(d, 0, sizeof(*d));
  if( (d->model = CMN_StrDup(model)) == NULL ) return;
  d->file = f;
  s->defs++;
  if( head == 0 ) {
    d->last = s->defs;
    NAMEIDX_Add(&s->byName, d->model, (void *)(uintptr_t)s->defs);
  } else {
    s->def[s->def[head - 1].last - 1].next = s->defs;
    s->def[head - 1].last = s->defs;
  }
}

/* The model a line defines into `model` (PKGSEARCH_LINE + 1 bytes), or 0
** when the line is no [Define Package Model] line.  The name is the rest
** of the line, without its comment and trailing blanks, as the reader
** stores it. */
static int pkgsearchLineModel(const char *line, int comment, char *model) {
  static const char *const opening[] = { "[DEFINE PACKAGE MODEL]",
                                         "[DEFINE PACKAGE_MODEL]",
                                         "[DEFINE_PACKAGE MODEL]",
                                         "[DEFINE_PACKAGE_MODEL]" };
  const char *p = line;
  size_t i, n;
  while( CMN_IsSpace(*p) ) p++;
  for( i = 0; i < sizeof(opening) / sizeof(opening[0]); i++ ) {
    if( CMN_StrNEqualNoCase(p, opening[i], 22) ) break;
  }
  if( i == sizeof(opening) / sizeof(opening[0]) ) return 0;
  for( p += 22; CMN_IsSpace(*p); p++ ) {}
  for( n = 0; p[n] && p[n] != comment; n++ ) {}
  while( n > 0 && CMN_IsSpace(p[n - 1]) ) n--;
  memcpy(model, p, n);
  model[n] = 0;
  return n > 0;
}

/* The comment character a [Comment Char] line sets, or `comment`. */
static int pkgsearchCommentChar(const char *line, int comment) {
  const char *p = line;
  while( CMN_IsSpace(*p) ) p++;
  if( !CMN_StrNEqualNoCase(p, "[Comment Char]", 14) ) return comment;
  for( p += 14; CMN_IsSpace(*p); p++ ) {}
  return *p ? (unsigned char)*p : comment;
}

/* Notes every model file `f` defines. */
static void pkgsearchScan(PkgmdlSearch *s, size_t f) {
  char path[CMN_MAX_PATH + 1], line[PKGSEARCH_LINE + 1];
  char model[PKGSEARCH_LINE + 1];
  int c = 0, comment = '|';
  FILE *fp;
  if( !pkgsearchJoin(path, s->dir, s->file[f]) ) return;
  if( (fp = CMN_OpenFile(path, "r")) == NULL ) {
    MSG_ErrorCode(MSGC_PKGMDL_OPEN_FAILED, path);
    return;
  }
  while( c != EOF ) {
    size_t n = 0;
    while( (c = getc(fp)) != EOF && c != '\n' ) {
      if( n < PKGSEARCH_LINE ) line[n++] = (char)c;
    }
    line[n] = 0;
    comment = pkgsearchCommentChar(line, comment);
    if( pkgsearchLineModel(line, comment, model) ) pkgsearchDefine(s, f, model);
  }
  fclose(fp);
}

static void pkgsearchIndex(PkgmdlSearch *s) {
  size_t f;
  s->indexed = 1;
  snprintf(s->dir, sizeof(s->dir), "%s", CMN_GetDirectory());
  if( !pkgsearchList(s) ) return;
  for( f = 0; f < s->files; f++ ) pkgsearchScan(s, f);
}

/* Reads file `f` as a package file; its findings name it. */
static void pkgsearchRead(PkgmdlSearch *s, size_t f) {
  char path[CMN_MAX_PATH + 1], about[CMN_MAX_PATH + 1];
  s->read[f] = 1;
  if( !pkgsearchJoin(path, s->dir, s->file[f]) ) return;
  snprintf(about, sizeof(about), "%s", MSG_GetFileName());
  MSG_SetFileName(path);
  PARSE_File(path, CMN_FILE_PKG);
  MSG_SetFileName(about);
}

int PKGMDL_SearchPkgFiles(PkgmdlSearch *s, const char *name) {
  char fileName[CMN_MAX_PATH + 1];
  int version = PARSE_GetDispatchVersion();
  size_t at;
  CMN_ASSERT(s != NULL && name != NULL, PKGSEARCH_SRC);
  if( name[0] == 0 ) return 0;
  if( !s->indexed ) pkgsearchIndex(s);
  at = (size_t)(uintptr_t)NAMEIDX_Find(&s->byName, name);
  if( at == 0 ) return 0;
  snprintf(fileName, sizeof(fileName), "%s", CMN_GetFileName());
  for( ; at; at = s->def[at - 1].next ) {
    size_t f = s->def[at - 1].file;
    if( !s->read[f] ) pkgsearchRead(s, f);
  }
  /* The .pkg files were read in the middle of the checks of the file that
  ** named them; what later checks ask of the reader is that file's. */
  PARSE_SetDispatchVersion(version);
  CMN_SetFileName(fileName);
  return 1;
}

void PKGMDL_EndSearch(PkgmdlSearch *s) {
  size_t i;
  CMN_ASSERT(s != NULL, PKGSEARCH_SRC);
  for( i = 0; i < s->files; i++ ) CMN_Free((void **)&s->file[i]);
  for( i = 0; i < s->defs; i++ ) CMN_Free((void **)&s->def[i].model);
  if( s->file ) CMN_Free((void **)&s->file);
  if( s->read ) CMN_Free((void **)&s->read);
  if( s->def ) CMN_Free((void **)&s->def);
  NAMEIDX_Free(&s->byName);
  memset(s, 0, sizeof(*s));
}
