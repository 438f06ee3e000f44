/*
** ver.h: the IBIS versions the checker knows, and the one decision of the
** rules a file is checked by.
**
** VER_Decide turns a declared [IBIS Ver] value into a decision: the
** dispatch version of the reader (keyword table, routing and line-length
** limit of the 1.1 to 5.0 rules) and the rules level, which says which of
** the keywords and sub-parameters added since 5.0 a file may use.  The
** reader's version pre-scan and the header's [IBIS Ver] line both decide
** through it; the decision in force for the file being read is kept here.
*/
#ifndef IBISPARSER_VER_H
#define IBISPARSER_VER_H

#include <stddef.h>

/* Rules levels: ten times the IBIS version whose rules apply.  The 1.1 to
** 5.0 rules have one level per dispatch version (21 for 1.x to 2.1, 32, 42,
** 50); each later version has its own. */
enum {
  VER_LEVEL_21 = 21,
  VER_LEVEL_32 = 32,
  VER_LEVEL_42 = 42,
  VER_LEVEL_50 = 50,
  VER_LEVEL_51 = 51,
  VER_LEVEL_60 = 60,
  VER_LEVEL_61 = 61,
  VER_LEVEL_70 = 70,
  VER_LEVEL_71 = 71,
  VER_LEVEL_72 = 72,
  VER_LEVEL_NEWEST = VER_LEVEL_72
};

/* The newest version whose rules the checker knows ("7.2"), as the table
** of known versions in ver.cpp has it. */
#define VER_NEWEST VER_LevelText(VER_LEVEL_NEWEST)

/* What a declared value is to the checker. */
enum {
  VER_KIND_NONE = 0, /* nothing to check by: the reader refuses the file */
  VER_KIND_KNOWN,    /* one of the known versions */
  VER_KIND_FORCED,   /* --force-v5: the 5.0 rules, whatever was declared */
  VER_KIND_NEWER,    /* a well-formed version past the newest known major
                     ** version: the newest rules, and a note */
  VER_KIND_UNKNOWN,  /* a version number among the known major versions
                     ** that is no IBIS version (5.2, 7.3): an error, and the
                     ** rules of the newest known version below it */
  VER_KIND_ILLEGAL   /* a value the 1.1 to 5.0 rules refuse ("3.3", "5.1a")
                     ** yet read by the dispatch version of its first digit */
};

typedef struct VerDecision {
  int kind;
  int dispatch;      /* 1..5, 0 with VER_KIND_NONE */
  int level;         /* rules level, 0 with VER_KIND_NONE */
  const char *rules; /* the rules as the banner names them: "5.0", "7.1" */
  char declared[41]; /* the declared value, cut */
} VerDecision;

/* One known version: what the standard added in it and where that comes
** from (the keywords themselves are listed in keyword.cpp). */
typedef struct VerInfo {
  const char *text; /* "6.1" */
  int level;
  int dispatch;
  const char *adds;
  const char *source;
} VerInfo;

/* Decides the rules of a declared value.  `out` is always filled. */
void VER_Decide(const char *value, int forceV5, int acceptV1, VerDecision *out);

/* The known versions, oldest first. */
const VerInfo *VER_Known(int *count);
/* "2.0, 2.1, ... and 7.2": the versions an [IBIS Ver] line may declare. */
const char *VER_KnownList(void);
/* The known versions from rules level `from` on, as one phrase ("5.1,
** 6.0, ... and 7.2"), cut to fit `size` bytes. */
void VER_ListFrom(int from, char *out, size_t size);
/* The text of a rules level ("6.0"), "5.0" for the 5.0 rules; never null. */
const char *VER_LevelText(int level);
/* The rules level of a known version ("6.1" gives 61), 0 for any other
** text. */
int VER_LevelOf(const char *text);
/* Whether `text` is a well-formed version ("digits.digits") of a major
** release after the newest known one (8.0 while 7.2 is the newest): such a
** file is checked by the newest rules, with a note.  A version of a known
** major release that the table lacks (7.3) is none: the minor releases
** that exist are all known. */
int VER_IsNewerMajor(const char *text);

/* The decision for the file being read.  The reader sets it at the start
** of each file, the header when it reads [IBIS Ver]. */
void VER_SetCurrent(const VerDecision *decision);
const VerDecision *VER_Current(void);
/* The rules level of the file being read. */
int VER_Rules(void);

/* Holds a sub-parameter newer than 5.0 to the rules of the file being
** read: -1 when `name` is no such sub-parameter of keyword `code` (the
** caller goes on as before), 1 when the file may use it, 0 when it may not
** (then reported at the current line; the caller skips the line). */
int VER_CheckSubparam(int code, const char *name);

#endif
