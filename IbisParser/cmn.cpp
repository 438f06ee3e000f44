/*
** cmn.cpp: common routines of the parser library.
**
** Owns the allocation wrappers that log their failures through the message
** log, the string duplicators, the white-space skipper with its run limit,
** and the assertion routine. See cmn.h for the contracts.
*/
#include "IbisParser/cmn.h"

#include <ctype.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#define CMN_PATH "IbisParser/cmn"

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

int CMN_Calloc(void *pp, size_t size) {
    CMN_ASSERT(pp != 0, CMN_PATH);
    CMN_ASSERT(size != 0, CMN_PATH);
    void *p = calloc(1, size);
    cmnSet(pp, p);
    if (p == 0) {
        MSG_ErrorCode(MSGC_CMN_ALLOC_FAILED, cmnRequestSize(size));
        return 0;
    }
    return 1;
}

int CMN_Realloc(void *pp, size_t size) {
    CMN_ASSERT(pp != 0, CMN_PATH);
    CMN_ASSERT(size != 0, CMN_PATH);
    void *p = realloc(cmnGet(pp), size);
    if (p == 0) {
        /* The old block stays with the caller, who releases it. */
        MSG_ErrorCode(MSGC_CMN_REALLOC_FAILED, cmnRequestSize(size));
        return 0;
    }
    cmnSet(pp, p);
    return 1;
}

void CMN_Free(void *pp) {
    CMN_ASSERT(pp != 0, CMN_PATH);
    free(cmnGet(pp));
    cmnSet(pp, 0);
}

void CMN_FreeBlock(void *block) { free(block); }

/* ==== strings ============================================================ */

char *CMN_StrDup(const char *s) {
    char *copy;
    if (s == 0) return 0;
    size_t n = strlen(s);
    if (!CMN_Calloc(&copy, n + 1)) {
        MSG_BugCode(MSGC_CMN_NO_MEMORY, CMN_PATH, __LINE__);
        return 0;
    }
    memcpy(copy, s, n);
    return copy;
}

char *CMN_StrNDup(const char *s, size_t len) {
    if (len == (size_t)-1) return 0;
    char *copy = (char *)calloc(1, len + 1);
    if (copy == 0) return 0;
    if (s != 0) {
        size_t n = 0;
        while (n < len && s[n]) n++;
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
    if (p == 0) return 1;
    while (*p && CMN_IsSpace(*p)) {
        p++;
        run++;
    }
    *cursor = p;
    return run <= CMN_MAX_WHITE_RUN || cmnAllowLongLines;
}

/* ==== IBIS checker routines ============================================== */
