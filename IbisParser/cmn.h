/*
** cmn.h: common routines of the parser library.
**
** Memory (zero-filled allocation, resizing, release that clears the
** caller's pointer), string duplication, white-space skipping, and the
** assertion used for faults that only a programming error can cause.
** Shared by the AMI parameter reader and the IBIS checker; the routines of
** the checker (token splitting, number parsing, bounded field copies, file
** names ...) have their own section below.
**
** Result convention: 1 for success and 0 for failure.
*/
#pragma once

#include <stddef.h>
#include <stdio.h>

/* ---- assertions --------------------------------------------------------
** Prints "<path>:<line>:assertion failed.\n" on standard output, flushes it
** and aborts. Only for conditions that no input can reach. */
#define CMN_ASSERT(cond, path)                                                 \
  ((cond) ? (void)0 : CMN_AssertFailed((path), __LINE__))
[[noreturn]] void CMN_AssertFailed(const char *path, int line);

/* ---- memory ------------------------------------------------------------
** The address arguments are the address of any object pointer (T **),
** passed as void * so that callers need no cast: CMN_Calloc(&rec, sizeof *rec).
*/

/* Allocates size zero bytes into *pp. On failure logs ERROR 1906 with the
** size, leaves *pp null and returns 0. Null pp or zero size asserts. */
int CMN_Calloc(void *pp, size_t size);

/* Resizes the block *pp to size bytes (a null *pp gets a new block, not
** zero-filled). On failure logs
** ERROR 1907 with the size, returns 0 and leaves *pp as it was, so the
** caller still owns, and can release, the old block. Null pp or zero size
** asserts. */
int CMN_Realloc(void *pp, size_t size);

/* Frees *pp and sets it to null. A null pp asserts; a null *pp (a record
** whose allocation failed) is left alone. */
void CMN_Free(void *pp);

/* Frees a block; a null block is left alone. */
void CMN_FreeBlock(void *block);

/* Blocks the routines above have handed out and not yet freed: a count for
** the tests that pin down that a check leaves nothing allocated behind. */
size_t CMN_LiveBlocks(void);

/* ---- strings ----------------------------------------------------------- */

/* A copy made with CMN_Calloc, or null for a null string. On allocation
** failure logs PROGRAM BUG 1908 and returns null. */
char *CMN_StrDup(const char *s);

/* A new zero-filled block of len + 1 bytes holding the first len
** characters of s (fewer if s is shorter). Null on allocation failure,
** with no message. */
char *CMN_StrNDup(const char *s, size_t len);

/* ---- white space --------------------------------------------------------
** White space is what isspace() classifies as such, taken as a char. */

/* Longest white-space run CMN_SkipWhiteSpace() accepts while long lines
** are not allowed. */
#define CMN_MAX_WHITE_RUN 120

/* Advances *cursor over white space to the next non-blank character or the
** terminating zero. Returns 1, or 0 when the run was longer than
** CMN_MAX_WHITE_RUN and long lines are not allowed; the cursor is advanced
** over the whole run in either case, so a caller that tolerates long runs
** may ignore the result. A null cursor asserts. */
int CMN_SkipWhiteSpace(char **cursor);

/* isspace() of c taken as a char; never undefined for negative chars. */
int CMN_IsSpace(int c);

/* Lifts (non-zero) or restores (0) the white-space run limit; returns what
** it stored. The IBIS reader turns it on for its long-line permission. */
int CMN_SetAllowLongLines(int on);

/* ==== IBIS reader routines ==============================================
** Tokens, number reading, bounded copies, name checks, case-insensitive
** comparisons, skipping, file naming and opening, and the line readers with
** their character rules.  Self-contained: they use only the message log and
** the memory routines above, so the model libraries can link this module
** without pulling the IBIS checker in.
*/
/* Longest path, directory or file name the reader handles. */
#define CMN_MAX_PATH 1024

/* File types of the IBIS family. */
enum { CMN_FILE_IBS = 1, CMN_FILE_PKG = 2, CMN_FILE_EBD = 3, CMN_FILE_AMI = 4 };

/* Reader switches: each setter stores 1 for any non-zero argument and
** returns what it stored. */
int CMN_SetNoCharCheck(int on);

/* The directory part of the last path opened with a directory (separator
** included), and the name of the last file opened. */
const char *CMN_GetDirectory(void);
const char *CMN_GetFileName(void);
void CMN_SetFileName(const char *name);

typedef struct CmnTokens {
  char **token; /* `expected` slots, unused ones null */
  int expected;
  int found; /* tokens on the line, possibly more than expected */
} CmnTokens;

int CMN_SplitTokens(const char *line, int expected, char stop, CmnTokens *out);
void CMN_FreeTokens(CmnTokens *t);
/* The next blank- or tab-separated token of *cursor, ended in place (the
** cursor moves past it), or null at the end of the text. */
char *CMN_NextToken(char **cursor);

int CMN_ParseUnsigned(const char *text, unsigned long *out);
int CMN_ParseDouble(const char *text, double *out);
int CMN_ParseNumber(const char *text, double *out);
int CMN_GetValueOrNA(const char *text, double *out, int *na);

/* Value states of the typ/min/max reader. */
enum { CMN_VALUE_ABSENT = 0, CMN_VALUE_GIVEN = 1, CMN_VALUE_NA = 2 };
int CMN_ReadTypMinMax(const char *text, const char *column, const char *keyword,
                      double *out, int *state);

/* `field` must hold maximum + 1 bytes; CMN_CopyOnceMax needs
** CMN_MAX_PATH + 1 whatever the maximum. */
int CMN_CopyTruncate(char *field, const char *value, unsigned maximum,
                     const char *keyword);
int CMN_CopyOnce(char *field, const char *value, unsigned maximum,
                 const char *keyword);
int CMN_CopyOnceMax(char *field, const char *value, unsigned maximum,
                    const char *keyword);
int CMN_RequireKeyword(const char *keyword, int seen);
int CMN_CheckReservedWord(const char *name);
/* 1 when `name` is a reserved word, with no message. */
int CMN_IsReservedWord(const char *name);

int CMN_StrEqualNoCase(const char *a, const char *b);
int CMN_StrNEqualNoCase(const char *a, const char *b, size_t n);
int CMN_KeywordEqual(const char *tableName, char *keywordText);

char *CMN_TrimRight(char *text);
int CMN_SkipPastBracket(char **cursor);
void CMN_SkipToSpace(char **cursor);
char *CMN_BaseName(char *path);
FILE *CMN_OpenFile(const char *path, const char *mode);
const char *CMN_ULongToStr(unsigned long n);
char *CMN_ToLower(char *s);
char *CMN_ToUpper(char *s);
int CMN_IsPathSeparator(int c);

/* Opens `path` as a file of `type` (name rules, directory bookkeeping, case
** retries); `name` receives the file name (CMN_MAX_PATH + 1 bytes). */
int CMN_OpenIbisFile(const char *path, int type, FILE **out, char *name);
/* The name rules and directory bookkeeping of CMN_OpenIbisFile without
** opening anything: for a text in memory that stands for the file at
** `path`.  Reports what CMN_OpenIbisFile would, but for a missing file. */
int CMN_NameIbisFile(const char *path, int type, char *name);
/* 0 when undeterminable, else the leading digit 1..5 of [IBIS Ver]. */
int CMN_GetIbisVersion(const char *path, int type);
/* The same for `size` bytes of `text` standing for the file at `path`. */
int CMN_GetIbisTextVersion(const char *path, int type, const char *text,
                           size_t size);

/* What the version pre-scan saw at the file's first keyword line: `line`
** its number (0: no keyword line), `found` whether it is [IBIS Ver],
** `value` the version text after it, or else the keyword itself. */
typedef struct CmnVersionScan {
  int version; /* as CMN_GetIbisVersion */
  int opened;  /* the file could be opened (else reported, nothing seen) */
  int found;
  int line;
  char value[41];
} CmnVersionScan;

/* CMN_GetIbisVersion with what the scan saw; `scan` is always filled. */
int CMN_ScanIbisVersion(const char *path, int type, CmnVersionScan *scan);
/* The same for `size` bytes of `text` standing for the file at `path`. */
int CMN_ScanIbisTextVersion(const char *path, int type, const char *text,
                            size_t size, CmnVersionScan *scan);

/* Whether `version` ("7.1") is a higher version number than `than` ("5.0");
** 0 when either is not a version number. */
int CMN_IsNewerVersion(const char *version, const char *than);
/* Whether a text is a version number: digits, optionally "." and digits. */
int CMN_IsVersionNumber(const char *version);

/* Where the line readers take their characters from: an open file, or a
** text in memory of `size` bytes (any byte, NUL included, is a character
** of the text).  The readers treat both alike. */
typedef struct CmnSource {
  FILE *fp; /* null for a text in memory */
  const unsigned char *text;
  size_t size;
  size_t pos;
} CmnSource;
void CMN_SourceFromFile(CmnSource *src, FILE *fp);
void CMN_SourceFromText(CmnSource *src, const char *text, size_t size);

/* One line into `buf` (at most n - 1 characters, the newline kept when it
** fits), or null at the end of the source. */
char *CMN_ReadSourceLine(char *buf, int n, CmnSource *src);
/* One line of any length in a new block (released with CMN_Free); *size,
** when given, receives its length plus one.  Null at the end. */
char *CMN_ReadSourceLongLine(size_t *size, CmnSource *src);
char *CMN_ReadLine(char *buf, int n, FILE *fp);
char *CMN_ReadLongLine(size_t *size, FILE *fp);
