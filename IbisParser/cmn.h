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

/* ---- assertions --------------------------------------------------------
** Prints "<path>:<line>:assertion failed.\n" on standard output, flushes it
** and aborts. Only for conditions that no input can reach. */
#define CMN_ASSERT(cond, path) ((cond) ? (void)0 : CMN_AssertFailed((path), __LINE__))
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

/* ---- IBIS checker routines ----------------------------------------------
** Token splitting, number parsing, bounded field copies, file names and
** case conversion used by the IBIS file sections go here. */
