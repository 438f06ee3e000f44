/*
** cmn.cpp: common routines of the parser library.
**
** Owns the allocation wrappers that log their failures through the message
** log, the string duplicators, the white-space skipper with its run limit,
** and the assertion routine. See cmn.h for the contracts.
*/
#include "IbisParser/cmn.h"

#include <ctype.h>
#include <errno.h>
#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#define CMN_PATH "IbisParser/cmn"

/* The Windows C runtime has no getc_unlocked; there the line readers take
** the stream lock per character, which only the checker's file reading
** (never a model) pays for. */
#ifdef _WIN32
# define getc_unlocked getc
#endif

/* ==== assertions ========================================================= */

void CMN_AssertFailed(const char *path, int line) {
  printf("%s:%d:assertion failed.\n", path ? path : "?", line);
  fflush(stdout);
  abort();
}

/* ==== memory ============================================================= */

/* The messages print the request with %u; a request beyond that range is
** shown as the largest value it can print. */
static unsigned cmnRequestSize(size_t size) {
  return size > UINT_MAX ? UINT_MAX : (unsigned)size;
}

/* The address arguments point at an object pointer of any type; it is read
** and written through memcpy so that no pointer type is punned. */
static void *cmnGet(const void *pp) {
  void *p;
  memcpy(&p, pp, sizeof p);
  return p;
}

static void cmnSet(void *pp, void *p) { memcpy(pp, &p, sizeof p); }

/* Blocks the routines below handed out and not yet freed. */
static size_t cmnLiveBlocks;

size_t CMN_LiveBlocks(void) { return cmnLiveBlocks; }

int CMN_Calloc(void *pp, size_t size) {
  CMN_ASSERT(pp != 0, CMN_PATH);
  CMN_ASSERT(size != 0, CMN_PATH);
  void *p = calloc(1, size);
  cmnSet(pp, p);
  if( p == 0 ) {
    MSG_ErrorCode(MSGC_CMN_ALLOC_FAILED, cmnRequestSize(size));
    return 0;
  }
  cmnLiveBlocks++;
  return 1;
}

int CMN_Realloc(void *pp, size_t size) {
  CMN_ASSERT(pp != 0, CMN_PATH);
  CMN_ASSERT(size != 0, CMN_PATH);
  void *old = cmnGet(pp), *p = realloc(old, size);
  if( p == 0 ) {
    /* The old block stays with the caller, who releases it. */
    MSG_ErrorCode(MSGC_CMN_REALLOC_FAILED, cmnRequestSize(size));
    return 0;
  }
  if( old == 0 ) cmnLiveBlocks++;
  cmnSet(pp, p);
  return 1;
}

void CMN_Free(void *pp) {
  CMN_ASSERT(pp != 0, CMN_PATH);
  CMN_FreeBlock(cmnGet(pp));
  cmnSet(pp, 0);
}

void CMN_FreeBlock(void *block) {
  if( block != 0 ) cmnLiveBlocks--;
  free(block);
}

/* ==== strings ============================================================ */

char *CMN_StrDup(const char *s) {
  char *copy;
  if( s == 0 ) return 0;
  size_t n = strlen(s);
  if( !CMN_Calloc(&copy, n + 1) ) {
    MSG_BugCode(MSGC_CMN_NO_MEMORY, CMN_PATH, __LINE__);
    return 0;
  }
  memcpy(copy, s, n);
  return copy;
}

char *CMN_StrNDup(const char *s, size_t len) {
  if( len == (size_t)-1 ) return 0;
  char *copy = (char *)calloc(1, len + 1);
  if( copy == 0 ) return 0;
  cmnLiveBlocks++;
  if( s != 0 ) {
    size_t n = 0;
    while( n < len && s[n] ) n++;
    memcpy(copy, s, n);
  }
  return copy;
}

/* ==== white space ======================================================== */

static int cmnAllowLongLines = 0;

int CMN_IsSpace(int c) { return isspace((unsigned char)(char)c) != 0; }

int CMN_SetAllowLongLines(int on) {
  cmnAllowLongLines = on != 0;
  return cmnAllowLongLines;
}

int CMN_SkipWhiteSpace(char **cursor) {
  CMN_ASSERT(cursor != 0, CMN_PATH);
  char *p = *cursor;
  size_t run = 0;
  if( p == 0 ) return 1;
  while( *p && CMN_IsSpace(*p) ) {
    p++;
    run++;
  }
  *cursor = p;
  return run <= CMN_MAX_WHITE_RUN || cmnAllowLongLines;
}

/* ==== IBIS checker routines ============================================== */
/*
** Everything below serves the IBIS reader and its section handlers.  It
** depends only on the message log and the routines above, so the model
** libraries that link this module do not carry the checker.
*/

/* Reader switches and the names of the file being read. */
static int cmnNoCharCheck;
static char cmnDirectory[CMN_MAX_PATH + 1];
static char cmnFileName[CMN_MAX_PATH + 1];

static void cmnCopy(char *dst, const char *src, size_t cap) {
  size_t n = strlen(src);
  if( n >= cap ) n = cap - 1;
  memcpy(dst, src, n);
  dst[n] = 0;
}

int CMN_SetNoCharCheck(int on) { return cmnNoCharCheck = (on != 0); }
const char *CMN_GetDirectory(void) { return cmnDirectory; }
const char *CMN_GetFileName(void) { return cmnFileName; }
void CMN_SetFileName(const char *name) {
  cmnCopy(cmnFileName, name ? name : "", sizeof(cmnFileName));
}

int CMN_IsPathSeparator(int c) { return c == '/' || c == '\\'; }

/*
** Tokens.  Blanks and tabs separate tokens; the stop character ends a token
** too and is a one-character token of its own, so "Host_Cc_32" split at '_'
** gives "Host", "_", "Cc", "_", "32".
*/
int CMN_SplitTokens(const char *line, int expected, char stop, CmnTokens *out) {
  const char *p = line ? line : "";
  CMN_ASSERT(out != NULL, CMN_PATH);
  memset(out, 0, sizeof(*out));
  if( expected < 0 ) expected = 0;
  out->expected = expected;
  if( expected > 0
      && !CMN_Calloc((void **)&out->token,
                     sizeof(char *) * (size_t)expected) ) {
    MSG_BugCode(MSGC_CMN_NO_MEMORY, CMN_PATH, __LINE__);
    return 0;
  }
  for( ;; ) {
    const char *start;
    size_t len;
    while( *p == ' ' || *p == '\t' ) p++;
    if( *p == 0 ) break;
    start = p;
    if( stop != 0 && *p == stop ) {
      p++;
    } else {
      while( *p && *p != ' ' && *p != '\t' && (stop == 0 || *p != stop) ) p++;
    }
    len = (size_t)(p - start);
    if( out->found < expected ) {
      out->token[out->found] = CMN_StrNDup(start, len);
      if( out->token[out->found] == NULL ) {
        MSG_BugCode(MSGC_CMN_NO_MEMORY, CMN_PATH, __LINE__);
        CMN_FreeTokens(out);
        return 0;
      }
    }
    out->found++;
  }
  return 1;
}

void CMN_FreeTokens(CmnTokens *t) {
  int i;
  if( t == NULL || t->token == NULL ) return;
  for( i = 0; i < t->expected; i++ ) {
    if( t->token[i] ) CMN_Free((void **)&t->token[i]);
  }
  CMN_Free((void **)&t->token);
}

char *CMN_NextToken(char **cursor) {
  char *p = *cursor, *start;
  while( *p == ' ' || *p == '\t' ) p++;
  if( *p == 0 ) {
    *cursor = p;
    return NULL;
  }
  start = p;
  while( *p && *p != ' ' && *p != '\t' ) p++;
  if( *p ) *p++ = 0;
  *cursor = p;
  return start;
}

/*
** Numbers.  Results: 0 nothing read (or not a number), 1 the whole text was
** read, 2 text follows the number (for CMN_ParseNumber: a digit follows the
** scale letter).
*/
int CMN_ParseUnsigned(const char *text, unsigned long *out) {
  const char *p = text;
  char *end;
  unsigned long v;
  if( text == NULL ) return 0;
  while( isspace((unsigned char)*p) ) p++;
  if( *p == '-' ) return 0;
  errno = 0;
  v = strtoul(p, &end, 10);
  if( end == p || errno == ERANGE ) return 0;
  if( out ) *out = v;
  return *end ? 2 : 1;
}

int CMN_ParseDouble(const char *text, double *out) {
  char *end;
  double v;
  if( text == NULL ) return 0;
  v = strtod(text, &end);
  if( end == text ) return 0;
  if( out ) *out = v;
  return *end ? 2 : 1;
}

/* Plain decimal notation only: strtod would also take hexadecimal,
** "inf" and "nan", none of which is an IBIS number. */
static int cmnLooksDecimal(const char *p) {
  if( *p == '+' || *p == '-' ) p++;
  if( *p == '.' ) p++;
  return isdigit((unsigned char)*p);
}

int CMN_ParseNumber(const char *text, double *out) {
  static const char scaleLetter[] = "TGMkmunpf";
  static const double scaleValue[] = { 1e12, 1e9,  1e6,   1e3,  1e-3,
                                       1e-6, 1e-9, 1e-12, 1e-15 };
  const char *p, *q;
  char *end;
  double v, scale = 1.0;
  int rc = 1;
  if( text == NULL || !cmnLooksDecimal(text) ) return 0;
  v = strtod(text, &end);
  if( end == text || isinf(v) ) return 0;
  for( q = text; q < end; q++ ) {
    if( *q == 'x' || *q == 'X' ) return 0;
  }
  p = end;
  if( *p ) {
    const char *hit;
    if( !isalpha((unsigned char)*p) ) return 0;
    hit = strchr(scaleLetter, *p);
    if( hit ) scale = scaleValue[hit - scaleLetter];
    for( p++; *p; p++ ) {
      if( isdigit((unsigned char)*p) ) {
        rc = 2;
        break;
      }
    }
  }
  /* A value that only overflows once scaled ("1e300T") is as unusable as
  ** one strtod could not hold. */
  v *= scale;
  if( isinf(v) ) return 0;
  if( out ) *out = v;
  return rc;
}

int CMN_GetValueOrNA(const char *text, double *out, int *na) {
  if( text && CMN_StrEqualNoCase(text, "NA") ) {
    if( out ) *out = 0.0;
    if( na ) *na = 1;
    return 1;
  }
  if( na ) *na = 0;
  return CMN_ParseNumber(text, out);
}

int CMN_ReadTypMinMax(const char *text, const char *column, const char *keyword,
                      double *out, int *state) {
  int na = 0;
  int rc = CMN_GetValueOrNA(text, out, &na);
  if( rc == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMN_INVALID_VALUE, column, text ? text : "");
    return 0;
  }
  if( rc == 2 ) {
    MSG_WarningCodeLine(MSGC_CMN_SUSPICIOUS_VALUE, keyword, column, text);
  }
  if( state ) *state = na ? CMN_VALUE_NA : CMN_VALUE_GIVEN;
  return 1;
}

/*
** Bounded copies into fixed fields.  Each returns 1 when a non-empty value
** was stored (possibly truncated), 0 when nothing was stored.
*/
int CMN_CopyTruncate(char *field, const char *value, unsigned maximum,
                     const char *keyword) {
  size_t len;
  CMN_ASSERT(field != NULL, CMN_PATH);
  if( value == NULL ) value = "";
  len = strlen(value);
  if( len == 0 ) {
    field[0] = 0;
    MSG_ErrorCodeLine(MSGC_CMN_ZERO_LENGTH, keyword);
    return 0;
  }
  if( len > maximum ) {
    MSG_ErrorCodeLine(MSGC_CMN_TRUNCATED, keyword, value,
                      maximum > 2176 ? 2176u : maximum);
    len = maximum;
  }
  memcpy(field, value, len);
  field[len] = 0;
  return 1;
}

int CMN_CopyOnce(char *field, const char *value, unsigned maximum,
                 const char *keyword) {
  CMN_ASSERT(field != NULL, CMN_PATH);
  if( field[0] ) {
    MSG_ErrorCodeLine(MSGC_CMN_DUPLICATE_KEYWORD, keyword);
    return 0;
  }
  return CMN_CopyTruncate(field, value, maximum, keyword);
}

int CMN_CopyOnceMax(char *field, const char *value, unsigned maximum,
                    const char *keyword) {
  size_t len;
  CMN_ASSERT(field != NULL, CMN_PATH);
  if( field[0] ) {
    MSG_ErrorCodeLine(MSGC_CMN_DUPLICATE_KEYWORD, keyword);
    return 0;
  }
  if( value == NULL ) value = "";
  len = strlen(value);
  if( len == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMN_ZERO_LENGTH, keyword);
    return 0;
  }
  if( len > maximum )
    MSG_ErrorCodeLine(MSGC_CMN_TOO_LONG, keyword, value, maximum);
  if( len > CMN_MAX_PATH ) len = CMN_MAX_PATH;
  memcpy(field, value, len);
  field[len] = 0;
  return 1;
}

int CMN_RequireKeyword(const char *keyword, int seen) {
  if( seen ) return 1;
  MSG_ErrorCodeLine(MSGC_CMN_REQUIRED_KEYWORD, keyword, cmnFileName);
  return 0;
}

int CMN_IsReservedWord(const char *name) {
  static const char *const reserved[] = { "GND", "NC", "POWER", "CIRCUITCALL",
                                          "NA" };
  size_t i;
  if( name == NULL ) return 0;
  for( i = 0; i < sizeof(reserved) / sizeof(reserved[0]); i++ ) {
    if( CMN_StrEqualNoCase(name, reserved[i]) ) return 1;
  }
  return 0;
}

int CMN_CheckReservedWord(const char *name) {
  if( !CMN_IsReservedWord(name) ) return 1;
  MSG_ErrorCodeLine(MSGC_CMN_RESERVED_WORD, name);
  return 0;
}

/* Comparisons ignoring case: 1 when equal. */
int CMN_StrEqualNoCase(const char *a, const char *b) {
  CMN_ASSERT(a != NULL && b != NULL, CMN_PATH);
  while( *a && tolower((unsigned char)*a) == tolower((unsigned char)*b) ) {
    a++;
    b++;
  }
  return tolower((unsigned char)*a) == tolower((unsigned char)*b);
}

int CMN_StrNEqualNoCase(const char *a, const char *b, size_t n) {
  CMN_ASSERT(a != NULL && b != NULL, CMN_PATH);
  for( ; n > 0; n--, a++, b++ ) {
    if( tolower((unsigned char)*a) != tolower((unsigned char)*b) ) return 0;
    if( *a == 0 ) return 1;
  }
  return 1;
}

/* Keyword text as written ("Model Spec") against a table name
** ("MODEL_SPEC"); the text's blanks become '_' in place. */
int CMN_KeywordEqual(const char *tableName, char *keywordText) {
  char *p;
  CMN_ASSERT(tableName != NULL && keywordText != NULL, CMN_PATH);
  for( p = keywordText; *p; p++ ) {
    if( *p == ' ' ) *p = '_';
  }
  return CMN_StrEqualNoCase(tableName, keywordText);
}

/*
** Cursor routines.  Lines reach them from a bounded line buffer, and a
** line long enough to hold a long white-space run has already been reported
** as too long, so runs are skipped whatever their length.
*/
char *CMN_TrimRight(char *text) {
  size_t n;
  CMN_ASSERT(text != NULL, CMN_PATH);
  n = strlen(text);
  while( n > 0 && isspace((unsigned char)text[n - 1]) ) n--;
  text[n] = 0;
  return text;
}

int CMN_SkipPastBracket(char **cursor) {
  char *p;
  CMN_ASSERT(cursor != NULL && *cursor != NULL, CMN_PATH);
  p = strchr(*cursor, ']');
  if( p == NULL ) {
    *cursor += strlen(*cursor);
    return 0;
  }
  p++;
  while( isspace((unsigned char)*p) ) p++;
  *cursor = p;
  return 1;
}

void CMN_SkipToSpace(char **cursor) {
  char *p;
  CMN_ASSERT(cursor != NULL && *cursor != NULL, CMN_PATH);
  for( p = *cursor; *p && !isspace((unsigned char)*p); p++ ) {}
  *cursor = p;
}

char *CMN_BaseName(char *path) {
  char *p, *base, *dot;
  CMN_ASSERT(path != NULL, CMN_PATH);
  base = path;
  for( p = path; *p; p++ ) {
    if( CMN_IsPathSeparator(*p) ) base = p + 1;
  }
  dot = strrchr(base, '.');
  if( dot ) *dot = 0;
  return base;
}

FILE *CMN_OpenFile(const char *path, const char *mode) {
  char m[4];
  CMN_ASSERT(path != NULL && mode != NULL && mode[0] != 0, CMN_PATH);
  m[0] = mode[0];
  m[1] = 'b';
  m[2] = mode[1];
  m[3] = 0;
  return fopen(path, m);
}

const char *CMN_ULongToStr(unsigned long n) {
  static char buf[32];
  snprintf(buf, sizeof(buf), "%lu", n);
  return buf;
}

char *CMN_ToLower(char *s) {
  char *p;
  CMN_ASSERT(s != NULL, CMN_PATH);
  for( p = s; *p; p++ ) *p = (char)tolower((unsigned char)*p);
  return s;
}

char *CMN_ToUpper(char *s) {
  char *p;
  CMN_ASSERT(s != NULL, CMN_PATH);
  for( p = s; *p; p++ ) *p = (char)toupper((unsigned char)*p);
  return s;
}

/*
** Opening by type.  The directory of a path (separator included) is kept:
** a name without directory, such as a file named inside another file, is
** looked for in the directory of the last file opened with one.  Both '/'
** and '\' separate directories.
*/
static const char *const cmnExtension[] = { "", ".ibs", ".pkg", ".ebd",
                                            ".ami" };
static const int cmnExtensionError[] = { 0, MSGC_CMN_NEEDS_IBS,
                                         MSGC_CMN_NEEDS_PKG, MSGC_CMN_NEEDS_EBD,
                                         MSGC_CMN_NEEDS_AMI };

/* The name rules: `name` receives the file name, `full` the directory and
** name to open; returns the length of the directory part, or -1 (reported)
** when the name breaks a rule. */
static long cmnNameFile(const char *path, int type, char *name, char *full) {
  const char *p, *sep = NULL, *dot;
  size_t nameLen, dirLen;
  CMN_ASSERT(path != NULL && name != NULL, CMN_PATH);
  CMN_ASSERT(type >= CMN_FILE_IBS && type <= CMN_FILE_AMI, CMN_PATH);
  name[0] = 0;
  for( p = path; *p; p++ ) {
    if( CMN_IsPathSeparator(*p) ) sep = p;
  }
  p = sep ? sep + 1 : path;
  dirLen = sep ? (size_t)(p - path) : 0;
  nameLen = strlen(p);
  if( dirLen > CMN_MAX_PATH || nameLen > CMN_MAX_PATH ) {
    MSG_ErrorCode(MSGC_CMN_ASSEMBLE_NAME);
    return -1;
  }
  memcpy(name, p, nameLen);
  name[nameLen] = 0;
  if( sep ) {
    memcpy(cmnDirectory, path, dirLen);
    cmnDirectory[dirLen] = 0;
  }

  dot = strrchr(name, '.');
  if( dot ) {
    if( !CMN_StrEqualNoCase(dot, cmnExtension[type]) ) {
      MSG_ErrorCode(cmnExtensionError[type]);
      return -1;
    }
  } else {
    if( nameLen + 4 > CMN_MAX_PATH ) {
      MSG_ErrorCode(MSGC_CMN_APPEND_EXTENSION);
      return -1;
    }
    memcpy(name + nameLen, cmnExtension[type], 5);
    nameLen += 4;
  }

  dirLen = strlen(cmnDirectory);
  if( dirLen + nameLen > CMN_MAX_PATH ) {
    MSG_ErrorCode(MSGC_CMN_ASSEMBLE_NAME);
    return -1;
  }
  memcpy(full, cmnDirectory, dirLen);
  memcpy(full + dirLen, name, nameLen + 1);
  cmnCopy(cmnFileName, name, sizeof(cmnFileName));
  return (long)dirLen;
}

int CMN_NameIbisFile(const char *path, int type, char *name) {
  char full[2 * CMN_MAX_PATH + 8];
  return cmnNameFile(path, type, name, full) >= 0;
}

int CMN_OpenIbisFile(const char *path, int type, FILE **out, char *name) {
  char full[2 * CMN_MAX_PATH + 8];
  long dirLen;
  FILE *fp;
  CMN_ASSERT(out != NULL, CMN_PATH);
  *out = NULL;
  dirLen = cmnNameFile(path, type, name, full);
  if( dirLen < 0 ) return 0;
  fp = CMN_OpenFile(full, "r");
  if( fp == NULL ) {
    CMN_ToLower(full);
    fp = CMN_OpenFile(full, "r");
    if( fp == NULL ) {
      CMN_ToUpper(full);
      fp = CMN_OpenFile(full, "r");
    }
    if( fp ) {
      memcpy(cmnDirectory, full, (size_t)dirLen);
      cmnDirectory[dirLen] = 0;
    }
  }
  if( fp == NULL ) {
    MSG_ErrorCode(MSGC_CMN_OPEN_FAILED, cmnDirectory, name);
    return 0;
  }
  *out = fp;
  return 1;
}

/*
** Sources.  A file is read through its stream; a text in memory by its
** position, with the stream's end-of-file and push-back behaviour.
*/
void CMN_SourceFromFile(CmnSource *src, FILE *fp) {
  CMN_ASSERT(src != NULL && fp != NULL, CMN_PATH);
  memset(src, 0, sizeof(*src));
  src->fp = fp;
}

void CMN_SourceFromText(CmnSource *src, const char *text, size_t size) {
  CMN_ASSERT(src != NULL && (text != NULL || size == 0), CMN_PATH);
  memset(src, 0, sizeof(*src));
  src->text = (const unsigned char *)text;
  src->size = text ? size : 0;
}

static inline int cmnGetc(CmnSource *src) {
  if( src->fp ) return getc_unlocked(src->fp);
  return src->pos < src->size ? src->text[src->pos++] : EOF;
}

/* Pushes back the character just read (never EOF). */
static inline void cmnUngetc(int c, CmnSource *src) {
  if( src->fp ) {
    ungetc(c, src->fp);
  } else if( src->pos > 0 ) {
    src->pos--;
  }
}

/* Version pre-scan.  The raw lines are read without the character rules:
** the real read reports every character once. */
/* Copies a token (up to blank or end) into out, cut to n - 1 characters. */
static void cmnCopyToken(char *out, size_t n, const char *p) {
  size_t i = 0;
  while( i < n - 1 && p[i] && !isspace((unsigned char)p[i]) ) {
    out[i] = p[i];
    i++;
  }
  out[i] = 0;
}

/* Fills `scan` from the first keyword line of the source. */
static void cmnScanVersion(CmnSource *src, CmnVersionScan *scan) {
  char line[121];
  int c = 0, number = 0;
  while( c != EOF ) {
    size_t n = 0;
    const char *p;
    while( (c = cmnGetc(src)) != EOF && c != '\n' ) {
      if( n < sizeof(line) - 1 ) line[n++] = (char)c;
    }
    if( n == 0 && c == EOF ) break;
    number++;
    line[n] = 0;
    for( p = line; *p && isspace((unsigned char)*p); p++ ) {}
    if( *p != '[' ) continue;
    scan->line = number;
    if( CMN_StrNEqualNoCase(p, "[IBIS Ver]", 10)
        || CMN_StrNEqualNoCase(p, "[IBIS_Ver]", 10) ) {
      scan->found = 1;
      for( p += 10; *p && isspace((unsigned char)*p); p++ ) {}
      cmnCopyToken(scan->value, sizeof(scan->value), p);
      if( *p >= '1' && *p <= '5' ) scan->version = *p - '0';
    } else {
      const char *end = strchr(p, ']');
      size_t len = end ? (size_t)(end - p) + 1 : strlen(p);
      if( len > sizeof(scan->value) - 1 ) len = sizeof(scan->value) - 1;
      memcpy(scan->value, p, len);
      scan->value[len] = 0;
    }
    break;
  }
}

int CMN_ScanIbisVersion(const char *path, int type, CmnVersionScan *scan) {
  char name[CMN_MAX_PATH + 1];
  CmnSource src;
  FILE *fp;
  CMN_ASSERT(scan != NULL, CMN_PATH);
  memset(scan, 0, sizeof(*scan));
  if( !CMN_OpenIbisFile(path, type, &fp, name) ) return 0;
  scan->opened = 1;
  CMN_SourceFromFile(&src, fp);
  cmnScanVersion(&src, scan);
  fclose(fp);
  return scan->version;
}

int CMN_ScanIbisTextVersion(const char *path, int type, const char *text,
                            size_t size, CmnVersionScan *scan) {
  char name[CMN_MAX_PATH + 1];
  CmnSource src;
  CMN_ASSERT(scan != NULL, CMN_PATH);
  memset(scan, 0, sizeof(*scan));
  if( !CMN_NameIbisFile(path, type, name) ) return 0;
  scan->opened = 1;
  CMN_SourceFromText(&src, text, size);
  cmnScanVersion(&src, scan);
  return scan->version;
}

int CMN_GetIbisVersion(const char *path, int type) {
  CmnVersionScan scan;
  return CMN_ScanIbisVersion(path, type, &scan);
}

int CMN_GetIbisTextVersion(const char *path, int type, const char *text,
                           size_t size) {
  CmnVersionScan scan;
  return CMN_ScanIbisTextVersion(path, type, text, size, &scan);
}

/* Major and minor number of a version text such as "5.1"; 0 when the text
** is not one. */
static int cmnVersionNumbers(const char *v, long *major, long *minor) {
  char *end;
  if( !isdigit((unsigned char)v[0]) ) return 0;
  *major = strtol(v, &end, 10);
  *minor = 0;
  if( *end == '.' ) {
    if( !isdigit((unsigned char)end[1]) ) return 0;
    *minor = strtol(end + 1, &end, 10);
  }
  return *end == 0;
}

int CMN_IsNewerVersion(const char *version, const char *than) {
  long a, b, c, d;
  if( version == NULL || than == NULL || !cmnVersionNumbers(version, &a, &b)
      || !cmnVersionNumbers(than, &c, &d) ) {
    return 0;
  }
  return a > c || (a == c && b > d);
}

int CMN_IsVersionNumber(const char *version) {
  long a, b;
  return version != NULL && cmnVersionNumbers(version, &a, &b);
}

/*
** Line readers.  "\r\n" is a newline and a Ctrl-Z right before the end of
** the file is dropped.  Any other control character, a lone carriage
** return, NUL and codes from 128 up are reported and stored as blanks
** (unchanged and unreported with the no-character-check switch).
*/
static const char *cmnIllegalKind(int c) {
  if( c == 0 ) return "NUL";
  if( c >= 128 ) return "non-7-bit ASCII";
  return "control";
}

/* Next character of the line after the character rules, '\n' at a line
** end, EOF at the end of the file; *illegal is set for a reported one. */
static int cmnNextChar(CmnSource *src, int *illegal) {
  int c = cmnGetc(src);
  *illegal = 0;
  if( c == EOF || c == '\n' || c == '\t' || (c >= 32 && c < 127) ) return c;
  if( c == '\r' ) {
    int d = cmnGetc(src);
    if( d == '\n' ) return '\n';
    if( d != EOF ) cmnUngetc(d, src);
  } else if( c == 26 ) {
    int d = cmnGetc(src);
    if( d == EOF ) return EOF;
    cmnUngetc(d, src);
  } else if( c == 127 ) {
    return c;
  }
  *illegal = 1;
  return c;
}

static int cmnIllegal(int c, int stored) {
  if( cmnNoCharCheck ) return c;
  MSG_ErrorCodeLine(MSGC_CMN_ILLEGAL_CHARACTER, cmnIllegalKind(c), (unsigned)c,
                    stored ? "  Converting to space." : "");
  return ' ';
}

/* Length of the run of printable characters at the start of the n bytes
** at p.  Kept out of the fuzzer's coverage instrumentation: the loop is
** trivial, and its traced comparisons per character would otherwise take
** most of a run. */
#if defined(__clang__) && __clang_major__ >= 13
#define CMN_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define CMN_NO_COVERAGE
#endif
CMN_NO_COVERAGE static size_t cmnPrintableSpan(const unsigned char *p,
                                               size_t n) {
  size_t k = 0;
  while( k < n && p[k] >= 32 && p[k] < 127 ) k++;
  return k;
}

/* Copies the run of printable characters at a text's position into buf
** from i on, leaving room for the terminator; returns the new i. */
static int cmnTextRun(char *buf, int i, int n, CmnSource *src) {
  size_t left = src->size - src->pos, room = (size_t)(n - 1 - i), k;
  k = cmnPrintableSpan(src->text + src->pos, left < room ? left : room);
  memcpy(buf + i, src->text + src->pos, k);
  src->pos += k;
  return i + (int)k;
}

char *CMN_ReadSourceLine(char *buf, int n, CmnSource *src) {
  int i = 0, c, illegal, any = 0;
  CMN_ASSERT(buf != NULL && src != NULL && n > 1, CMN_PATH);
  for( ;; ) {
    /* Printable characters, the bulk of any file, take the short path. */
    if( src->fp == NULL ) {
      i = cmnTextRun(buf, i, n, src);
      if( i < n - 1 ) c = cmnGetc(src);
    } else {
      while( i < n - 1 && (c = getc_unlocked(src->fp)) >= 32 && c < 127 ) {
        buf[i++] = (char)c;
      }
    }
    if( i > 0 ) any = 1;
    if( i >= n - 1 ) {
      c = cmnNextChar(src, &illegal);
    } else if( c == EOF || c == '\n' || c == '\t' ) {
      illegal = 0;
    } else {
      cmnUngetc(c, src);
      c = cmnNextChar(src, &illegal);
    }
    if( c == EOF ) break;
    any = 1;
    if( c == '\n' ) {
      if( i < n - 1 ) buf[i++] = '\n';
      break;
    }
    if( illegal ) c = cmnIllegal(c, i < n - 1);
    if( i < n - 1 ) buf[i++] = (char)c;
  }
  if( !any ) return NULL;
  buf[i] = 0;
  return buf;
}

/* Makes room for `need` bytes in a long line's buffer; 0, with the buffer
** released, when memory runs out. */
static int cmnLongRoom(char **buf, size_t *cap, size_t need) {
  size_t ncap;
  if( need <= *cap ) return 1;
  ncap = *cap ? *cap : 256;
  while( ncap < need ) ncap *= 2;
  if( *buf == NULL ? !CMN_Calloc(buf, ncap) : !CMN_Realloc(buf, ncap) ) {
    if( *buf ) CMN_Free(buf);
    return 0;
  }
  *cap = ncap;
  return 1;
}

char *CMN_ReadSourceLongLine(size_t *size, CmnSource *src) {
  char *buf = NULL;
  size_t len = 0, cap = 0;
  int c, illegal, any = 0;
  CMN_ASSERT(src != NULL, CMN_PATH);
  if( size ) *size = 0;
  for( ;; ) {
    if( src->fp == NULL ) {
      /* A text's printable runs are copied whole. */
      size_t k = cmnPrintableSpan(src->text + src->pos, src->size - src->pos);
      if( k > 0 ) {
        if( !cmnLongRoom(&buf, &cap, len + k + 2) ) return NULL;
        memcpy(buf + len, src->text + src->pos, k);
        src->pos += k;
        len += k;
        any = 1;
      }
    }
    if( (c = cmnNextChar(src, &illegal)) == EOF ) break;
    any = 1;
    if( illegal ) c = cmnIllegal(c, 1);
    if( !cmnLongRoom(&buf, &cap, len + 2) ) return NULL;
    buf[len++] = (char)c;
    if( c == '\n' ) break;
  }
  if( !any ) return NULL;
  if( buf == NULL && !CMN_Calloc((void **)&buf, 1) ) return NULL;
  buf[len] = 0;
  if( size ) *size = len + 1;
  return buf;
}

char *CMN_ReadLine(char *buf, int n, FILE *fp) {
  CmnSource src;
  CMN_SourceFromFile(&src, fp);
  return CMN_ReadSourceLine(buf, n, &src);
}

char *CMN_ReadLongLine(size_t *size, FILE *fp) {
  CmnSource src;
  CMN_SourceFromFile(&src, fp);
  return CMN_ReadSourceLongLine(size, &src);
}
