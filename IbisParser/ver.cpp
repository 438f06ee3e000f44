/*
** ver.cpp: the known IBIS versions and the version decision.
**
** The 1.1 to 5.0 rules read a file by the dispatch version of its first
** digit and refuse any value but the nine versions they list; those rules
** stay as they are.  From 5.1 on a file is read by dispatch version 5 (the
** 5.0 keyword table, routing and 120-character lines) and its rules level
** admits the keywords and sub-parameters its version added (keyword.cpp).
*/
#include "IbisParser/ver.h"

#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/*
** The versions an [IBIS Ver] line may declare.  The sources: the keyword
** trees' keys (tree_ver7_2 lists 5.1, 6.0, 6.1, 7.0, 7.1 and 7.2, and says
** 7.2 changed nothing but the version), the version readmes listing each
** version's BIRDs, and the BIRD texts.
*/
static const VerInfo verKnown[] = {
  { "2.0", VER_LEVEL_21, 2, "the 1.1 to 5.0 rules", "" },
  { "2.1", VER_LEVEL_21, 2, "the 1.1 to 5.0 rules", "" },
  { "3.0", VER_LEVEL_32, 3, "the 1.1 to 5.0 rules", "" },
  { "3.1", VER_LEVEL_32, 3, "the 1.1 to 5.0 rules", "" },
  { "3.2", VER_LEVEL_32, 3, "the 1.1 to 5.0 rules", "" },
  { "4.0", VER_LEVEL_42, 4, "the 1.1 to 5.0 rules", "" },
  { "4.1", VER_LEVEL_42, 4, "the 1.1 to 5.0 rules", "" },
  { "4.2", VER_LEVEL_42, 4, "the 1.1 to 5.0 rules", "" },
  { "5.0", VER_LEVEL_50, 5, "the 1.1 to 5.0 rules", "" },
  { "5.1", VER_LEVEL_51, 5,
    "AMI reserved parameter tables; no keyword of the header and component "
    "sections",
    "tree_ver7_2 key (5.1); BIRD 138 (AMI tables)" },
  { "6.0", VER_LEVEL_60, 5, "[Repeater Pin]",
    "tree_ver6_1 (the 6.0 tree): [Repeater Pin] (6.0)" },
  { "6.1", VER_LEVEL_61, 5,
    "[Initial Delay]; Executable_Rx and Executable_Tx of [Algorithmic "
    "Model]; PAM4 AMI parameters; empty AMI root names refused",
    "IBIS 6.1 readme: BIRDs 155.2, 167.1 to 178.3 (177 [Initial Delay], "
    "178.3 buffer directionality, 175.3 PAM4, 171.3 empty root name)" },
  { "7.0", VER_LEVEL_70, 5,
    "interconnect models ([Interconnect Model Set], [Interconnect Model], "
    "[Interconnect Model Group], [Bus Label], [Die Supply Pads]); file "
    "names of up to 256 characters, upper case allowed",
    "tree_ver7_0; BIRD 189.7 (interconnect), BIRD 186.4 (file naming, "
    "accepted 2017-07-14, first ratified in 7.0)" },
  { "7.1", VER_LEVEL_71, 5, "[Clock Pins]; AMI DC_Offset, Rx_Use_Clock_Input",
    "tree_ver7_2: [Clock Pins] (7.1); BIRD 197 (DC_Offset), BIRD 209 "
    "(Rx_Use_Clock_Input)" },
  { "7.2", VER_LEVEL_72, 5, "no keyword; AMI changes (PAMn)",
    "tree_ver7_2 key: no change from 7.1 but the version; BIRD 213 (PAMn)" },
};
#define VER_KNOWN_COUNT ((int)(sizeof(verKnown) / sizeof(verKnown[0])))

/* Before any file: the 5.0 rules. */
static VerDecision verCurrent = { VER_KIND_KNOWN, 5, VER_LEVEL_50, "5.0", "" };

const VerInfo *VER_Known(int *count) {
  if( count ) *count = VER_KNOWN_COUNT;
  return verKnown;
}

void VER_ListFrom(int from, char *out, size_t size) {
  size_t n = 0;
  int i, first = -1, last = -1;
  if( size == 0 ) return;
  out[0] = 0;
  for( i = 0; i < VER_KNOWN_COUNT; i++ ) {
    if( verKnown[i].level < from ) continue;
    if( first < 0 ) first = i;
    last = i;
  }
  for( i = first; i >= 0 && i <= last; i++ ) {
    const char *sep = i == first ? "" : i == last ? " and " : ", ";
    int w = snprintf(out + n, size - n, "%s%s", sep, verKnown[i].text);
    if( w < 0 || (size_t)w >= size - n ) {
      out[n] = 0; /* whole versions only */
      break;
    }
    n += (size_t)w;
  }
}

const char *VER_KnownList(void) {
  static char list[160];
  if( list[0] == 0 ) VER_ListFrom(0, list, sizeof(list));
  return list;
}

const char *VER_LevelText(int level) {
  int i;
  switch( level ) {
    case VER_LEVEL_21:
      return "2.1";
    case VER_LEVEL_32:
      return "3.2";
    case VER_LEVEL_42:
      return "4.2";
    default:
      break;
  }
  for( i = VER_KNOWN_COUNT - 1; i >= 0; i-- ) {
    if( verKnown[i].level == level ) return verKnown[i].text;
  }
  return "5.0";
}

/* Major and minor number of a "digits.digits" text; 0 when it is not one.
** Eight digits a side keep the numbers far from overflow. */
static int verNumber(const char *v, long *major, long *minor) {
  size_t a = 0, b = 0;
  while( isdigit((unsigned char)v[a]) ) a++;
  if( a == 0 || a > 8 || v[a] != '.' ) return 0;
  while( isdigit((unsigned char)v[a + 1 + b]) ) b++;
  if( b == 0 || b > 8 || v[a + 1 + b] != 0 ) return 0;
  *major = strtol(v, NULL, 10);
  *minor = strtol(v + a + 1, NULL, 10);
  return 1;
}

static void verSet(VerDecision *out, int kind, int dispatch, int level) {
  out->kind = kind;
  out->dispatch = dispatch;
  out->level = level;
  out->rules = VER_LevelText(level);
}

/* The rules level of the 1.1 to 5.0 rules of a dispatch version. */
static int verLegacyLevel(int dispatch) {
  static const int level[6] = {
    0, VER_LEVEL_21, VER_LEVEL_21, VER_LEVEL_32, VER_LEVEL_42, VER_LEVEL_50
  };
  return dispatch >= 1 && dispatch <= 5 ? level[dispatch] : 0;
}

int VER_LevelOf(const char *text) {
  int i;
  if( text == NULL ) return 0;
  for( i = 0; i < VER_KNOWN_COUNT; i++ ) {
    if( strcmp(text, verKnown[i].text) == 0 ) return verKnown[i].level;
  }
  return 0;
}

/* The major number of the newest known version. */
static long verNewestMajor(void) { return VER_LEVEL_NEWEST / 10; }

int VER_IsNewerMajor(const char *text) {
  const char *p = text;
  size_t digits = 0;
  if( text == NULL ) return 0;
  while( *p == '0' ) p++; /* "08.0" is 8.0 */
  while( isdigit((unsigned char)p[digits]) ) digits++;
  if( (p == text && digits == 0) || p[digits] != '.' ) return 0;
  if( !isdigit((unsigned char)p[digits + 1]) ) return 0;
  for( text = p + digits + 1; isdigit((unsigned char)*text); text++ ) {}
  if( *text != 0 ) return 0;
  /* A major number of more digits than fit a long is past any release. */
  return digits > 8 || (digits > 0 && strtol(p, NULL, 10) > verNewestMajor());
}

/* A version number past 5.0 that is no known version. */
static void verNumbered(long major, long minor, VerDecision *out) {
  int i, level = VER_LEVEL_50;
  if( major > verNewestMajor() ) {
    verSet(out, VER_KIND_NEWER, 5, VER_LEVEL_NEWEST);
    return;
  }
  /* The newest known version not above the declared one. */
  for( i = 0; i < VER_KNOWN_COUNT; i++ ) {
    long a = verKnown[i].level / 10, b = verKnown[i].level % 10;
    if( a < major || (a == major && b <= minor) ) level = verKnown[i].level;
  }
  verSet(out, VER_KIND_UNKNOWN, 5, level);
}

void VER_Decide(const char *value, int forceV5, int acceptV1,
                VerDecision *out) {
  long major, minor;
  int i;
  memset(out, 0, sizeof(*out));
  out->rules = "";
  if( value == NULL ) value = "";
  snprintf(out->declared, sizeof(out->declared), "%s", value);
  if( forceV5 ) {
    verSet(out, VER_KIND_FORCED, 5, VER_LEVEL_50);
    return;
  }
  for( i = 0; i < VER_KNOWN_COUNT; i++ ) {
    if( strcmp(value, verKnown[i].text) == 0 ) {
      verSet(out, VER_KIND_KNOWN, verKnown[i].dispatch, verKnown[i].level);
      return;
    }
  }
  /* "5.00" reads as 5.0 but was never a value the 5.0 rules took. */
  if( verNumber(value, &major, &minor) && major >= 5
      && !(major == 5 && minor == 0) ) {
    verNumbered(major, minor, out);
    return;
  }
  if( value[0] == '1' ) {
    if( acceptV1 ) {
      verSet(out, value[1] == '.' ? VER_KIND_KNOWN : VER_KIND_ILLEGAL, 1,
             VER_LEVEL_21);
    }
    return;
  }
  if( value[0] >= '2' && value[0] <= '5' ) {
    verSet(out, VER_KIND_ILLEGAL, value[0] - '0',
           verLegacyLevel(value[0] - '0'));
  }
}

void VER_SetCurrent(const VerDecision *decision) {
  if( decision && decision->kind != VER_KIND_NONE ) verCurrent = *decision;
}

const VerDecision *VER_Current(void) { return &verCurrent; }

int VER_Rules(void) { return verCurrent.level; }

int VER_CheckSubparam(int code, const char *name) {
  const KeywordSubparam *row = KEYWORD_FindSubparam(code, name);
  if( row == NULL ) return -1;
  if( verCurrent.level >= row->level ) return 1;
  if( verCurrent.kind == VER_KIND_FORCED ) {
    MSG_ErrorCodeLine(MSGC_VER_SUBPARAM_FORCED, row->name, row->display,
                      VER_LevelText(row->level));
  } else {
    MSG_ErrorCodeLine(MSGC_VER_SUBPARAM_TOO_NEW, row->name, row->display,
                      VER_LevelText(row->level), verCurrent.declared);
  }
  return 0;
}
