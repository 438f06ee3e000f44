/*
** amiver.h: the AMI reserved parameters by AMI_Version.
**
** Owns the one table of reserved parameters (the release that introduced
** each, its allowed Usage, Type, Format and values, whether a file needs
** it) and the decision which rules a declared AMI_Version is checked by.
** The checks themselves are amichk's.
*/
#ifndef IBISPARSER_AMIVER_H
#define IBISPARSER_AMIVER_H

#include "IbisParser/ver.h"

/* Rule sets are the rules levels of the IBIS versions (ver.h): an
** AMI_Version is one of the known IBIS versions from 5.1 on, and names the
** level of its rules (7.1 gives VER_LEVEL_71), so a version added to the
** table of known versions is a known AMI_Version too.  AMIVER_NONE stands
** for a file that declares no AMI_Version: the rules of the first AMI
** release. */
#define AMIVER_NONE VER_LEVEL_50
#define AMIVER_FIRST VER_LEVEL_51 /* the first release with AMI_Version */

/* What a declared AMI_Version text is. */
enum {
  AMIVER_KNOWN,         /* one of the releases in the table */
  AMIVER_NEWER,         /* a well-formed release after the newest known */
  AMIVER_NOT_A_VERSION, /* anything else: 5.2, 7.3, "abc" */
};

/* Usage words as bits.  The reader codes In, Out, Info and InOut; Dep
** (usage of a parameter that AMI_Resolve sets) has no reader code. */
#define AMIVER_BIT(rw) (1u << (rw))
#define AMIVER_DEP (1u << 30)

/* Format column. */
enum {
  AMIVER_FMT_NONE,   /* no Format leaf allowed */
  AMIVER_FMT_JITTER, /* Gaussian, Dual-Dirac, DjRj (or Table) */
  AMIVER_FMT_DCD,    /* Value, Range, Corner */
  AMIVER_FMT_ANY,    /* any format word the leaf check accepts */
};

/* Default column of the first release's rules. */
enum {
  AMIVER_DEF_ANY,
  AMIVER_DEF_BOOLEAN,
  AMIVER_DEF_INTEGER,
  AMIVER_DEF_OPTIONAL_NUMBER
};

/* An allowed value and the release (rules level) that introduced it. */
typedef struct AmiverValue {
  const char *text;
  int since;
} AmiverValue;

typedef struct AmiverRule {
  const char *name;
  int since;      /* rules level of the release that introduced it */
  int removed;    /* rules level of the release that retired it; 0 never */
  unsigned usage; /* allowed Usage words; 0 when the sources leave it open */
  unsigned type;  /* allowed Type words (AMIVER_BIT of reader codes); 0 open */
  int format;     /* AMIVER_FMT_* */
  int dflt;       /* AMIVER_DEF_*: the first release's Default rule */
  const AmiverValue *values; /* allowed values, null-terminated; null open */
  int least;                 /* least integer value, 0 when none */
  int required;              /* every file must declare it */
} AmiverRule;

/* The rule of a reserved parameter (exact name), or null. */
const AmiverRule *AMIVER_Find(const char *name);
/* The rows in table order, for the checks that walk all of them. */
const AmiverRule *AMIVER_Rule(int i);
int AMIVER_RuleCount(void);

/* "5.0" .. "7.2" for a rules level. */
const char *AMIVER_Name(int level);
/* The known AMI_Version values as one phrase, for messages. */
const char *AMIVER_KnownList(void);

/* What `text` is (AMIVER_KNOWN ...); *level receives the rules level it is
** checked by: its own when known, the newest otherwise. */
int AMIVER_Decide(const char *text, int *level);

#endif
