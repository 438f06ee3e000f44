/*
** icmfile.cpp: the files that [Interconnect Model] and [Interconnect Model
** Group] lines name.
**
** Since IBIS 7.0 (BIRD 186.4) a file that an IBIS file references lies in
** the directory of that file or in a directory below it; a name that is
** absolute or climbs out with ".." breaks the rule before any look-up, so
** nothing outside the model's own tree is ever opened.
**
** A group may name an interconnect model set in another file.  Which
** keywords such a set file holds besides its sets is not in the sources
** the checker was built from, so the file is only scanned for its
** [Interconnect Model Set] lines, with their names, and nothing else in it
** is checked.  Each file is scanned once per checked file; the names are
** kept in a hash index, so every question costs the same.
*/
#include "IbisParser/icmfile.h"

#include "IbisParser/cmn.h"
#include "IbisParser/keyword.h"
#include "IbisParser/nameidx.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

/* A keyword line longer than this is cut; its name is at its start. */
#define ICMFILE_LINE 4096

typedef struct IcmfileName {
  struct IcmfileName *next;
  char *text;
} IcmfileName;

typedef struct IcmfileScan {
  struct IcmfileScan *next;
  char *file;     /* as the referencing line names it */
  NameIndex sets; /* set names, borrowed from `names` */
  IcmfileName *names;
} IcmfileScan;

static struct {
  IcmfileScan *first;
  NameIndex byFile; /* names borrowed from the scans */
} icmfile;

static int icmfileOutside(const char *name) {
  const char *p = name;
  if( CMN_IsPathSeparator(name[0]) ) return 1;
  if( isalpha((unsigned char)name[0]) && name[1] == ':' ) return 1;
  while( *p ) {
    const char *start = p;
    while( *p && !CMN_IsPathSeparator(*p) ) p++;
    if( p - start == 2 && start[0] == '.' && start[1] == '.' ) return 1;
    if( *p ) p++;
  }
  return 0;
}

/* The path of `name` beside the file being read; 0 when it does not fit. */
static int icmfilePath(const char *name, char *out, size_t size) {
  const char *dir = CMN_GetDirectory();
  size_t nd = strlen(dir);
  int sep = nd > 0 && !CMN_IsPathSeparator(dir[nd - 1]);
  int n = snprintf(out, size, "%s%s%s", dir, sep ? "/" : "", name);
  return n >= 0 && (size_t)n < size;
}

int ICMFILE_Locate(const char *name) {
  char path[2 * CMN_MAX_PATH + 2];
  struct stat st;
  if( name == NULL || name[0] == 0 ) return ICMFILE_MISSING;
  if( icmfileOutside(name) ) return ICMFILE_OUTSIDE;
  if( !icmfilePath(name, path, sizeof(path)) ) return ICMFILE_MISSING;
  if( stat(path, &st) != 0 || !S_ISREG(st.st_mode) ) return ICMFILE_MISSING;
  return ICMFILE_FOUND;
}

static void icmfileAddSet(IcmfileScan *scan, const char *name) {
  IcmfileName *node = NULL;
  if( NAMEIDX_Contains(&scan->sets, name) ) return;
  if( !CMN_Calloc(&node, sizeof *node) ) return;
  if( (node->text = CMN_StrDup(name)) == NULL ) {
    CMN_Free(&node);
    return;
  }
  node->next = scan->names;
  scan->names = node;
  NAMEIDX_Add(&scan->sets, node->text, scan);
}

/* One line start of a set file: [Comment Char] changes the comment
** character, [Interconnect Model Set] adds its name. */
static void icmfileKeywordLine(char *line, int *comment, IcmfileScan *scan) {
  char name[KEYWORD_MAX_NAME + 1];
  char *end, *p, *q;
  size_t len;
  if( line[0] != '[' || (end = strchr(line, ']')) == NULL ) return;
  len = (size_t)(end - line - 1);
  if( len == 0 || len > KEYWORD_MAX_NAME ) return;
  memcpy(name, line + 1, len);
  name[len] = 0;
  for( p = end + 1; *p == ' ' || *p == '\t'; p++ ) {}
  if( CMN_KeywordEqual("COMMENT_CHAR", name) ) {
    if( *p && strncmp(p + 1, "_char", 5) == 0 ) *comment = (unsigned char)*p;
    return;
  }
  if( !CMN_KeywordEqual("INTERCONNECT_MODEL_SET", name) ) return;
  for( q = p; *q && *q != *comment && *q != '\n' && *q != '\r'; q++ ) {}
  *q = 0;
  CMN_TrimRight(p);
  if( *p ) icmfileAddSet(scan, p);
}

static void icmfileScanLines(FILE *fp, IcmfileScan *scan) {
  char line[ICMFILE_LINE];
  int comment = '|', partial = 0;
  while( fgets(line, sizeof(line), fp) ) {
    size_t n = strlen(line);
    /* The rest of a line longer than the buffer starts no keyword. */
    if( !partial ) icmfileKeywordLine(line, &comment, scan);
    partial = n == 0 || line[n - 1] != '\n';
  }
}

static IcmfileScan *icmfileRead(const char *name) {
  char path[2 * CMN_MAX_PATH + 2];
  IcmfileScan *scan = NULL;
  FILE *fp;
  if( !CMN_Calloc(&scan, sizeof *scan) ) return NULL;
  if( (scan->file = CMN_StrDup(name)) == NULL ) {
    CMN_Free(&scan);
    return NULL;
  }
  scan->next = icmfile.first;
  icmfile.first = scan;
  NAMEIDX_Add(&icmfile.byFile, scan->file, scan);
  if( icmfilePath(name, path, sizeof(path))
      && (fp = fopen(path, "rb")) != NULL ) {
    icmfileScanLines(fp, scan);
    fclose(fp);
  }
  return scan;
}

int ICMFILE_DefinesSet(const char *name, const char *set) {
  IcmfileScan *scan = (IcmfileScan *)NAMEIDX_Find(&icmfile.byFile, name);
  if( scan == NULL && (scan = icmfileRead(name)) == NULL ) {
    return 1; /* out of memory, already reported: claim nothing */
  }
  return NAMEIDX_Contains(&scan->sets, set);
}

void ICMFILE_Reset(void) {
  while( icmfile.first ) {
    IcmfileScan *scan = icmfile.first;
    icmfile.first = scan->next;
    while( scan->names ) {
      IcmfileName *node = scan->names;
      scan->names = node->next;
      CMN_Free(&node->text);
      CMN_Free(&node);
    }
    NAMEIDX_Free(&scan->sets);
    CMN_Free(&scan->file);
    CMN_Free(&scan);
  }
  NAMEIDX_Free(&icmfile.byFile);
}
