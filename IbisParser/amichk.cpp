/*
** amichk.cpp: the AMI parameter file checks.
**
** The tree checks start at the outermost list: a Reserved_Parameters branch
** is checked parameter by parameter against the table of reserved
** parameters (amiver), by the rules of the AMI_Version it declares; a
** Model_Specific branch is walked and each of its leaves checked for a
** legal Usage, Type and Format.  A file without AMI_Version is checked by
** the rules of the first AMI release, which knows only its nine reserved
** parameters.
*/
#include "IbisParser/amichk.h"

#include "IbisParser/amiver.h"
#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "amiparam/amiparam.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define AMICHK_SRC "IbisParser/amichk"

/* ---- source lines ------------------------------------------------------ */

/* The line the tree checks report at: where the list being checked starts
** in the file. The checks name it through the message log's line source
** while they run. */
static int amichkLine;

static int amichkLineSource(void) { return amichkLine; }

static void amichkAt(const AmiNode *node) {
  if( node ) amichkLine = PARSE_AmiLineAt(node->offset);
}

/* An error of the tree checks, at the current line when the tree came
** from a file (a tree made from a string has none). */
static void amichkError(int code, ...) {
  va_list ap;
  va_start(ap, code);
  if( amichkLine > 0 ) {
    MSG_SetLineSource(amichkLineSource);
    MSG_CodeV(MSG_TYPE_ERROR_LINE, code, &ap);
    MSG_SetLineSource(PARSE_GetLineNumber);
  } else {
    MSG_CodeV(MSG_TYPE_ERROR, code, &ap);
  }
  va_end(ap);
}

/* ---- tree access ------------------------------------------------------- */

static const AmiEntry *amichkChild(const AmiNode *node, int i) {
  return &node->items.children[i];
}

static const AmiValue *amichkValue(const AmiNode *node, int i) {
  return &node->items.values[i];
}

static const char *amichkText(const char *s) { return s ? s : ""; }

static const char *amichkFirstText(const AmiNode *leaf) {
  return leaf->count > 0 ? amichkText(amichkValue(leaf, 0)->text) : "";
}

static int amichkFirstReserved(const AmiNode *leaf) {
  return leaf->count > 0 ? amichkValue(leaf, 0)->reserved : AMIPARAM_RW_NONE;
}

static int amichkIsNumber(const AmiValue *v) {
  return v->type == AMIPARAM_INTEGER || v->type == AMIPARAM_REAL;
}

/* ---- formats ------------------------------------------------------------ */

/* Numbers a format word takes after it; -1 for List (at least one value
** of any type), 0 for Table (not tested). */
static int amichkFormatCount(int reserved) {
  switch( reserved ) {
    case AMIPARAM_RW_VALUE:
      return 1;
    case AMIPARAM_RW_RANGE:
    case AMIPARAM_RW_CORNER:
    case AMIPARAM_RW_DUAL_DIRAC:
    case AMIPARAM_RW_DJRJ:
      return 3;
    case AMIPARAM_RW_GAUSSIAN:
      return 2;
    case AMIPARAM_RW_INCREMENT:
    case AMIPARAM_RW_STEPS:
      return 4;
    case AMIPARAM_RW_LIST:
      return -1;
    default:
      return 0;
  }
}

/* Checks the values of a format from value `first` on; 1 when they pass.
** Reports ERROR 4632 otherwise, naming the format `word`.  `numbers` says
** whether the values must be numbers. */
static int amichkFormatValuesAt(const AmiNode *leaf, int reserved, int first,
                                const char *word, const char *param,
                                int numbers) {
  int want = amichkFormatCount(reserved);
  int n = leaf->count - first;
  int i, ok;
  if( reserved == AMIPARAM_RW_TABLE ) return 1;
  if( want < 0 ) {
    ok = n >= 1;
    want = 1;
  } else {
    ok = n == want;
    for( i = first; ok && numbers && i < leaf->count; i++ ) {
      ok = amichkIsNumber(amichkValue(leaf, i));
    }
  }
  if( !ok ) amichkError(MSGC_AMI_FORMAT_COUNT, word, param, want);
  return ok;
}

/* A Format leaf: the format word, then its values (numbers). */
static int amichkFormatValues(const AmiNode *leaf, const char *param) {
  return amichkFormatValuesAt(leaf, amichkFirstReserved(leaf), 1,
                              amichkFirstText(leaf), param, 1);
}

/* ---- forms of AMI_Version 5.1 and later -------------------------------- */

/* Set per tree: the file declares AMI_Version, so a parameter may give its
** format as a leaf named by the format word ("(Value True)", "(Range 0 0
** 9)"), and the reserved parameters of the later releases are known. */
static int amichkForms51;
static int amichkFormsNoted; /* the hint about those forms was given */
/* The rule set the file is checked by (AMIVER_50 without AMI_Version),
** and the version text the file declares (in the tree; null if none). */
static int amichkSet;
static const char *amichkVersion;

/* What the models' record says of the file being checked: a receiver, a
** transmitter, or either (a standalone file, an I/O model). */
static int amichkDirection = AMICHK_EITHER;

/* What the reserved checks learn for the rules that span parameters. */
static struct {
  int pam4;  /* Modulation names PAM4 */
  int line;  /* where Modulation starts */
  int upper; /* PAM4_UpperThreshold given */
  int lower; /* PAM4_LowerThreshold given */
} amichkSeen;

/* Format code of a leaf named by a format word, else -1. */
static int amichkShorthand(const AmiNode *leaf) {
  int rw;
  if( leaf->keyword != AMIPARAM_KW_NONE ) return -1;
  rw = AMIPARAM_ReservedWord(leaf->name);
  return rw >= AMIPARAM_RW_VALUE && rw <= AMIPARAM_RW_DJRJ ? rw : -1;
}

/* Whether a parameter's Type leaf names a numeric type. */
static int amichkNumericType(const AmiNode *param) {
  int i;
  for( i = 0; i < param->count; i++ ) {
    const AmiEntry *e = &param->items.children[i];
    if( e->kind == AMIPARAM_LEAF && e->node
        && e->node->keyword == AMIPARAM_KW_TYPE ) {
      int t = amichkFirstReserved(e->node);
      return t == AMIPARAM_RW_FLOAT || t == AMIPARAM_RW_INTEGER
          || t == AMIPARAM_RW_TAP || t == AMIPARAM_RW_UI;
    }
  }
  return 0;
}

/* A NOTE at the current line when the tree came from a file. */
static void amichkNote(int code, ...) {
  va_list ap;
  va_start(ap, code);
  if( amichkLine > 0 ) {
    MSG_SetLineSource(amichkLineSource);
    MSG_CodeV(MSG_TYPE_NOTE_LINE, code, &ap);
    MSG_SetLineSource(PARSE_GetLineNumber);
  } else {
    MSG_CodeV(MSG_TYPE_NOTE, code, &ap);
  }
  va_end(ap);
}

/* Without AMI_Version a format leaf is an unknown parameter (reported by
** the caller); say once per file what makes it legal. */
static void amichkFormsHint(const AmiNode *leaf) {
  if( amichkForms51 || amichkFormsNoted ) return;
  amichkFormsNoted = 1;
  amichkNote(MSGC_AMI_FORMS_NEED_VERSION, amichkText(leaf->name));
}

/* The version text of an AMI_Version parameter: its Value leaf, its
** Default, or the value of a Format Value leaf; null when none. */
static const char *amichkVersionText(const AmiNode *param) {
  int i;
  for( i = 0; i < param->count; i++ ) {
    const AmiNode *leaf = param->items.children[i].node;
    if( leaf == NULL || param->items.children[i].kind != AMIPARAM_LEAF
        || leaf->count < 1 )
      continue;
    if( leaf->keyword == AMIPARAM_KW_DEFAULT
        || amichkShorthand(leaf) == AMIPARAM_RW_VALUE )
      return amichkFirstText(leaf);
    if( leaf->keyword == AMIPARAM_KW_FORMAT
        && amichkFirstReserved(leaf) == AMIPARAM_RW_VALUE && leaf->count > 1 )
      return amichkText(amichkValue(leaf, 1)->text);
  }
  return NULL;
}

/* The AMI_Version branch of a Reserved_Parameters branch, or null. */
static const AmiNode *amichkVersionParam(const AmiNode *branch) {
  int i;
  for( i = 0; i < branch->count; i++ ) {
    const AmiEntry *e = amichkChild(branch, i);
    if( e->node && e->kind == AMIPARAM_BRANCH
        && strcmp(amichkText(e->node->name), "AMI_Version") == 0 )
      return e->node;
  }
  return NULL;
}

/* Decides, before any parameter is checked, which rules the tree is
** checked by: those of the AMI_Version its Reserved_Parameters declare. A
** version that is missing, newer than the newest known or no version at
** all is checked by the newest rules, so that nothing is called too new
** on top of the version's own report. */
static void amichkDecideRules(const AmiNode *root) {
  int i;
  amichkForms51 = 0;
  amichkSet = AMIVER_50;
  amichkVersion = NULL;
  for( i = 0; i < root->count; i++ ) {
    const AmiEntry *e = amichkChild(root, i);
    const AmiNode *version;
    if( e->node == NULL || e->kind != AMIPARAM_BRANCH
        || strcmp(amichkText(e->node->name), "Reserved_Parameters") != 0 )
      continue;
    if( (version = amichkVersionParam(e->node)) == NULL ) return;
    amichkForms51 = 1;
    amichkVersion = amichkVersionText(version);
    AMIVER_Decide(amichkVersion, &amichkSet);
    return;
  }
}

/* The declared version, as messages name it. */
static const char *amichkDeclared(void) {
  return amichkVersion ? amichkVersion : AMIVER_Name(amichkSet);
}

/* AMI_Version: Usage Info, Type String and a release the checker knows;
** a newer release is checked by the newest rules it knows, and told so. */
static void amichkCheckVersion(const AmiNode *param) {
  const char *v = amichkVersionText(param);
  int i, set;
  for( i = 0; i < param->count; i++ ) {
    const AmiNode *leaf = param->items.children[i].node;
    if( leaf == NULL || param->items.children[i].kind != AMIPARAM_LEAF )
      continue;
    amichkAt(leaf);
    if( leaf->keyword == AMIPARAM_KW_USAGE
        && amichkFirstReserved(leaf) != AMIPARAM_RW_INFO )
      amichkError(MSGC_AMI_ILLEGAL_VALUE, "Usage", amichkFirstText(leaf),
                  "AMI_Version");
    if( leaf->keyword == AMIPARAM_KW_TYPE
        && amichkFirstReserved(leaf) != AMIPARAM_RW_STRING )
      amichkError(MSGC_AMI_ILLEGAL_VALUE, "Type", amichkFirstText(leaf),
                  "AMI_Version");
  }
  amichkAt(param);
  if( v == NULL ) {
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Value", "AMI_Version");
    return;
  }
  switch( AMIVER_Decide(v, &set) ) {
    case AMIVER_KNOWN:
      break;
    case AMIVER_NEWER:
      amichkNote(MSGC_AMI_VERSION_TOO_NEW, v, AMIVER_Name(AMIVER_NEWEST),
                 AMIVER_Name(AMIVER_NEWEST));
      break;
    default:
      amichkError(MSGC_AMIVER_UNKNOWN, v, AMIVER_KnownList());
      break;
  }
}

/* ---- leaf check --------------------------------------------------------- */

/* Usage Dep marks a parameter that AMI_Resolve sets; it came with
** AMI_Resolve in 6.1 (BIRD155.2). Returns 1 when the usage is Dep. */
static int amichkUsageDep(const AmiNode *leaf) {
  if( !amichkForms51 || strcmp(amichkFirstText(leaf), "Dep") != 0 ) return 0;
  if( amichkSet < AMIVER_61 )
    amichkError(MSGC_AMIVER_INTRODUCED, "Usage Dep", AMIVER_Name(AMIVER_61),
                amichkDeclared());
  return 1;
}

/* The checks any leaf gets; returns 0 when it reported the leaf. */
static int amichkCheckLeaf(const AmiNode *leaf, const char *param,
                           int numeric) {
  int reserved, shorthand;
  amichkAt(leaf);
  if( leaf->count < 1 ) {
    amichkError(MSGC_AMI_LEAF_WITHOUT_VALUES, amichkText(leaf->name), param);
    return 0;
  }
  reserved = amichkFirstReserved(leaf);
  switch( leaf->keyword ) {
    case AMIPARAM_KW_USAGE:
      if( (reserved < AMIPARAM_RW_IN || reserved > AMIPARAM_RW_INOUT)
          && !amichkUsageDep(leaf) ) {
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Usage", amichkFirstText(leaf),
                    param);
        return 0;
      }
      break;
    case AMIPARAM_KW_TYPE:
      if( reserved < AMIPARAM_RW_FLOAT || reserved > AMIPARAM_RW_UI ) {
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Type", amichkFirstText(leaf),
                    param);
        return 0;
      }
      break;
    case AMIPARAM_KW_FORMAT:
      if( reserved < AMIPARAM_RW_VALUE || reserved > AMIPARAM_RW_DJRJ ) {
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Format", amichkFirstText(leaf),
                    param);
        return 0;
      }
      return amichkFormatValues(leaf, param);
    default:
      shorthand = amichkShorthand(leaf);
      if( amichkForms51 && shorthand >= 0 ) {
        return amichkFormatValuesAt(leaf, shorthand, 0, leaf->name, param,
                                    numeric);
      }
      break;
  }
  return 1;
}

static void amichkWalk(const AmiNode *branch) {
  int i;
  for( i = 0; i < branch->count; i++ ) {
    const AmiEntry *e = amichkChild(branch, i);
    if( e->node == NULL ) continue;
    if( e->kind == AMIPARAM_LEAF ) {
      amichkCheckLeaf(e->node, amichkText(branch->name),
                      amichkNumericType(branch));
    } else {
      amichkWalk(e->node);
    }
  }
}

/* ---- reserved parameters of the first release --------------------------- */

/* Whether a format word belongs to a rule's column.  A Table is accepted
** as the jitter distribution of Tx_Jitter and Rx_Clock_PDF. */
static int amichkFormatAllowed(int format, int reserved) {
  if( format == AMIVER_FMT_JITTER ) {
    return reserved == AMIPARAM_RW_GAUSSIAN
        || reserved == AMIPARAM_RW_DUAL_DIRAC || reserved == AMIPARAM_RW_DJRJ
        || reserved == AMIPARAM_RW_TABLE;
  }
  if( format == AMIVER_FMT_DCD ) {
    return reserved == AMIPARAM_RW_VALUE || reserved == AMIPARAM_RW_RANGE
        || reserved == AMIPARAM_RW_CORNER;
  }
  return 0;
}

/* Whether a value fits a rule's Default column. */
static int amichkDefaultFits(const AmiValue *v, int dflt) {
  switch( dflt ) {
    case AMIVER_DEF_BOOLEAN:
      return v->type == AMIPARAM_BOOLEAN;
    case AMIVER_DEF_INTEGER:
      return v->type == AMIPARAM_INTEGER;
    case AMIVER_DEF_OPTIONAL_NUMBER:
      return amichkIsNumber(v);
    default:
      return 1;
  }
}

/* Whether a reserved word is one of a rule's allowed words. */
static int amichkAllows(unsigned set, int reserved) {
  return reserved >= 0 && reserved < 30 && (set & AMIVER_BIT(reserved));
}

/* A format leaf of a reserved parameter ("(Value True)"): a Value gives the
** parameter's value, as a Default does; any other format stands for the
** Format leaf. */
static void amichkKnownShorthand(const AmiNode *leaf, const AmiverRule *rule,
                                 int *have) {
  int format = amichkShorthand(leaf);
  const char *name = rule->name;
  if( format == AMIPARAM_RW_VALUE && rule->format != AMIVER_FMT_DCD ) {
    if( leaf->count != 1 ) {
      amichkError(MSGC_AMI_FORMAT_COUNT, leaf->name, name, 1);
    } else if( !amichkDefaultFits(amichkValue(leaf, 0), rule->dflt) ) {
      amichkError(MSGC_AMI_ILLEGAL_VALUE, "Value", amichkFirstText(leaf), name);
    } else {
      have[AMIPARAM_KW_DEFAULT] = 1;
      if( rule->format != AMIVER_FMT_NONE ) have[AMIPARAM_KW_FORMAT] = 1;
    }
    return;
  }
  if( rule->format == AMIVER_FMT_NONE ) {
    amichkError(MSGC_AMI_UNEXPECTED_PARAMETER, leaf->name, name);
  } else if( !amichkFormatAllowed(rule->format, format) ) {
    amichkError(MSGC_AMI_ILLEGAL_VALUE, "Format", leaf->name, name);
  } else if( amichkFormatValuesAt(leaf, format, 0, leaf->name, name, 1) ) {
    have[AMIPARAM_KW_FORMAT] = 1;
    if( format == AMIPARAM_RW_VALUE ) have[AMIPARAM_KW_DEFAULT] = 1;
  }
}

/* One leaf of a parameter of the first release; marks what it gives. */
static void amichkKnownLeaf(const AmiNode *leaf, const AmiverRule *rule,
                            int *have) {
  const char *name = rule->name;
  int reserved = amichkFirstReserved(leaf);
  const char *first = amichkFirstText(leaf);
  switch( leaf->keyword ) {
    case AMIPARAM_KW_USAGE:
      have[AMIPARAM_KW_USAGE] = 1;
      if( !amichkAllows(rule->usage, reserved) )
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Usage", first, name);
      break;
    case AMIPARAM_KW_TYPE:
      have[AMIPARAM_KW_TYPE] = 1;
      if( !amichkAllows(rule->type, reserved) )
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Type", first, name);
      break;
    case AMIPARAM_KW_FORMAT:
      if( rule->format == AMIVER_FMT_NONE ) {
        amichkError(MSGC_AMI_UNEXPECTED_PARAMETER, "Format", name);
      } else if( !amichkFormatAllowed(rule->format, reserved) ) {
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Format", first, name);
      } else if( amichkFormatValues(leaf, name) ) {
        have[AMIPARAM_KW_FORMAT] = 1;
      }
      break;
    case AMIPARAM_KW_DEFAULT:
      if( amichkDefaultFits(amichkValue(leaf, 0), rule->dflt) )
        have[AMIPARAM_KW_DEFAULT] = 1;
      else
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Default", first, name);
      break;
    case AMIPARAM_KW_DESCRIPTION:
      have[AMIPARAM_KW_DESCRIPTION] = 1;
      break;
    default:
      if( amichkForms51 && amichkShorthand(leaf) >= 0 ) {
        amichkKnownShorthand(leaf, rule, have);
        break;
      }
      amichkError(MSGC_AMI_UNKNOWN_PARAMETER, amichkText(leaf->name), name);
      if( amichkShorthand(leaf) >= 0 ) amichkFormsHint(leaf);
      break;
  }
}

static void amichkCheckKnown(const AmiNode *param, const AmiverRule *rule) {
  int have[AMIPARAM_KW_DESCRIPTION + 1] = { 0 };
  const char *name = rule->name;
  int i;
  for( i = 0; i < param->count; i++ ) {
    const AmiEntry *e = amichkChild(param, i);
    const AmiNode *leaf = e->node;
    if( leaf == NULL ) continue;
    amichkAt(leaf);
    if( e->kind != AMIPARAM_LEAF ) {
      amichkError(MSGC_AMI_BRANCH_NOT_LEAF, amichkText(leaf->name), name);
    } else if( leaf->count < 1 ) {
      amichkError(MSGC_AMI_LEAF_WITHOUT_VALUES, amichkText(leaf->name), name);
    } else {
      amichkKnownLeaf(leaf, rule, have);
    }
  }
  amichkAt(param);
  if( !have[AMIPARAM_KW_USAGE] )
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Usage", name);
  if( !have[AMIPARAM_KW_TYPE] )
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Type", name);
  if( rule->format != AMIVER_FMT_NONE && !have[AMIPARAM_KW_FORMAT] ) {
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Format", name);
  }
  if( rule->dflt != AMIVER_DEF_OPTIONAL_NUMBER && !have[AMIPARAM_KW_DEFAULT] ) {
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Default", name);
  }
  if( !have[AMIPARAM_KW_DESCRIPTION] )
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Description", name);
}

/* ---- reserved parameters of the later releases -------------------------- */

/* Whether a leaf carries values of the parameter (rather than its
** descriptors or a range's bounds that a list of choices cannot have). */
static int amichkValueLeaf(const AmiNode *leaf, int *first) {
  int f = amichkShorthand(leaf);
  *first = 0;
  if( leaf->keyword == AMIPARAM_KW_DEFAULT ) return 1;
  if( leaf->keyword == AMIPARAM_KW_FORMAT ) {
    f = amichkFirstReserved(leaf);
    *first = 1;
  }
  return f == AMIPARAM_RW_VALUE || f == AMIPARAM_RW_LIST
      || f == AMIPARAM_RW_CORNER || f == AMIPARAM_RW_RANGE;
}

/* The allowed values of a rule, as one phrase for messages. */
static void amichkValuePhrase(const AmiverValue *values, char *out,
                              size_t size) {
  size_t n = 0;
  int i;
  out[0] = 0;
  for( i = 0; values[i].text && n < size; i++ ) {
    const char *sep = i == 0 ? "" : values[i + 1].text ? ", " : " or ";
    int w = snprintf(out + n, size - n, "%s%s", sep, values[i].text);
    if( w < 0 ) break;
    n += (size_t)w;
  }
}

/* One value against a rule's allowed values and least integer. */
static void amichkLaterValue(const AmiNode *leaf, const AmiValue *v,
                             const AmiverRule *rule) {
  const char *text = amichkText(v->text);
  char phrase[128];
  int i;
  if( rule->values ) {
    for( i = 0; rule->values[i].text; i++ ) {
      if( strcmp(text, rule->values[i].text) == 0 ) break;
    }
    if( rule->values[i].text == NULL ) {
      amichkValuePhrase(rule->values, phrase, sizeof phrase);
      amichkError(MSGC_AMIVER_VALUE_NOT_ALLOWED, amichkText(leaf->name), text,
                  rule->name, phrase);
    } else if( rule->values[i].since > amichkSet
               && rule->values[i].since > rule->since ) {
      snprintf(phrase, sizeof phrase, "%s %s", rule->name, text);
      amichkError(MSGC_AMIVER_INTRODUCED, phrase,
                  AMIVER_Name(rule->values[i].since), amichkDeclared());
    }
    if( strcmp(rule->name, "Modulation") == 0 && strcmp(text, "PAM4") == 0 ) {
      amichkSeen.pam4 = 1;
      amichkSeen.line = amichkLine;
    }
  }
  if( rule->least > 0
      && (v->type != AMIPARAM_INTEGER || atol(text) < rule->least) ) {
    amichkError(MSGC_AMIVER_VALUE_TOO_SMALL, amichkText(leaf->name), text,
                rule->name, rule->least);
  }
}

/* A leaf of a parameter of the later releases: the leaf check, then the
** Usage, Type and values the rule allows. */
static void amichkLaterLeaf(const AmiNode *leaf, const AmiverRule *rule,
                            int numeric) {
  int first, i;
  if( !amichkCheckLeaf(leaf, rule->name, numeric) ) return;
  switch( leaf->keyword ) {
    case AMIPARAM_KW_USAGE:
      if( rule->usage == 0 ) break;
      if( strcmp(amichkFirstText(leaf), "Dep") == 0
              ? !(rule->usage & AMIVER_DEP)
              : !amichkAllows(rule->usage, amichkFirstReserved(leaf)) )
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Usage", amichkFirstText(leaf),
                    rule->name);
      return;
    case AMIPARAM_KW_TYPE:
      if( rule->type && !amichkAllows(rule->type, amichkFirstReserved(leaf)) )
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Type", amichkFirstText(leaf),
                    rule->name);
      return;
    default:
      break;
  }
  if( !amichkValueLeaf(leaf, &first) ) return;
  for( i = first; i < leaf->count; i++ ) {
    amichkLaterValue(leaf, amichkValue(leaf, i), rule);
  }
}

static void amichkCheckLater(const AmiNode *param, const AmiverRule *rule) {
  int numeric = amichkNumericType(param);
  int i;
  amichkAt(param);
  if( rule->since > amichkSet ) {
    amichkError(MSGC_AMIVER_INTRODUCED, rule->name, AMIVER_Name(rule->since),
                amichkDeclared());
  }
  if( strcmp(rule->name, "PAM4_UpperThreshold") == 0 ) amichkSeen.upper = 1;
  if( strcmp(rule->name, "PAM4_LowerThreshold") == 0 ) amichkSeen.lower = 1;
  for( i = 0; i < param->count; i++ ) {
    const AmiEntry *e = amichkChild(param, i);
    if( e->node == NULL ) continue;
    if( e->kind == AMIPARAM_LEAF ) {
      amichkLaterLeaf(e->node, rule, numeric);
    } else {
      amichkWalk(e->node);
    }
  }
}

/* A PAM4 receiver needs its upper and lower thresholds (BIRD175.3); only
** a file reached from a receiver model is known to be one. */
static void amichkCrossRules(void) {
  if( amichkDirection != AMICHK_RX || !amichkSeen.pam4
      || amichkSet < AMIVER_61 )
    return;
  amichkLine = amichkSeen.line;
  if( !amichkSeen.upper )
    amichkError(MSGC_AMIVER_NEEDS_PARAMETER, "PAM4_UpperThreshold", "PAM4");
  if( !amichkSeen.lower )
    amichkError(MSGC_AMIVER_NEEDS_PARAMETER, "PAM4_LowerThreshold", "PAM4");
}

/* One child branch of Reserved_Parameters, by its rule. */
static void amichkReservedParam(const AmiNode *node) {
  const char *name = amichkText(node->name);
  const AmiverRule *rule = AMIVER_Find(name);
  if( rule && amichkForms51 && strcmp(name, "AMI_Version") == 0 ) {
    amichkCheckVersion(node);
  } else if( rule && rule->since == AMIVER_50
             && !(amichkForms51 && rule->removed) ) {
    amichkCheckKnown(node, rule);
  } else if( rule && rule->since == AMIVER_50 ) {
    amichkError(MSGC_AMIVER_REMOVED, name, AMIVER_Name(rule->removed),
                amichkDeclared());
  } else if( rule && amichkForms51 ) {
    amichkCheckLater(node, rule);
  } else {
    amichkError(MSGC_AMI_UNKNOWN_PARAMETER, name, "Reserved_Parameters");
    amichkWalk(node);
  }
}

/* Whether `branch` has a child branch named `name`. */
static int amichkHasBranch(const AmiNode *branch, const char *name) {
  int i;
  for( i = 0; i < branch->count; i++ ) {
    const AmiEntry *e = amichkChild(branch, i);
    if( e->node && e->kind == AMIPARAM_BRANCH
        && strcmp(amichkText(e->node->name), name) == 0 )
      return 1;
  }
  return 0;
}

static void amichkCheckReserved(const AmiNode *branch) {
  int i;
  memset(&amichkSeen, 0, sizeof amichkSeen);
  for( i = 0; i < branch->count; i++ ) {
    const AmiEntry *e = amichkChild(branch, i);
    const AmiNode *node = e->node;
    if( node == NULL ) continue;
    amichkAt(node);
    if( e->kind == AMIPARAM_LEAF ) {
      amichkError(MSGC_AMI_LEAF_NOT_BRANCH, amichkText(node->name),
                  "Reserved_Parameters");
      amichkCheckLeaf(node, "Reserved_Parameters", 0);
      continue;
    }
    amichkReservedParam(node);
  }
  amichkAt(branch);
  for( i = 0; i < AMIVER_RuleCount(); i++ ) {
    const AmiverRule *rule = AMIVER_Rule(i);
    if( rule->required && !amichkHasBranch(branch, rule->name) )
      amichkError(MSGC_AMI_MANDATORY_MISSING, rule->name);
  }
  if( amichkForms51 ) amichkCrossRules();
}

/* ---- the tree ----------------------------------------------------------- */

/* Files of 6.1 and later must name their root (BIRD171.3); a quoted empty
** name is as empty as none. */
static void amichkCheckRoot(const AmiNode *root) {
  const char *name = amichkText(root->name);
  if( !amichkForms51 || amichkSet < AMIVER_61 ) return;
  if( name[0] == 0 || strcmp(name, "\"\"") == 0 ) {
    amichkAt(root);
    amichkError(MSGC_AMIVER_EMPTY_ROOT, amichkDeclared());
  }
}

void AMICHK_CheckTree(const AmiParamTree *tree) {
  const AmiNode *root;
  int i, sawReserved = 0;
  amichkForms51 = 0;
  amichkFormsNoted = 0;
  amichkSet = AMIVER_50;
  if( tree == NULL || tree->entries == NULL || tree->count < 1
      || tree->entries[0].node == NULL
      || tree->entries[0].kind != AMIPARAM_BRANCH ) {
    amichkError(MSGC_AMI_NO_RESERVED);
    return;
  }
  root = tree->entries[0].node;
  amichkDecideRules(root);
  amichkCheckRoot(root);
  for( i = 0; i < root->count; i++ ) {
    const AmiEntry *e = amichkChild(root, i);
    const AmiNode *node = e->node;
    const char *name;
    if( node == NULL ) continue;
    name = amichkText(node->name);
    amichkAt(node);
    if( e->kind == AMIPARAM_LEAF ) {
      amichkCheckLeaf(node, amichkText(root->name), 0);
    } else if( strcmp(name, "Reserved_Parameters") == 0 ) {
      sawReserved = 1;
      amichkCheckReserved(node);
    } else if( strcmp(name, "Model_Specific") == 0 ) {
      /* From 5.1 on the reserved parameters come first (BIRD139.2), so a
      ** tool knows the version before it reads the rest. */
      if( amichkForms51 && !sawReserved )
        amichkError(MSGC_AMIVER_RESERVED_ORDER, amichkDeclared());
      amichkWalk(node);
    } else {
      amichkError(MSGC_AMI_UNKNOWN_BRANCH, name);
    }
  }
  amichkAt(root);
  if( !sawReserved ) amichkError(MSGC_AMI_NO_RESERVED);
  amichkVersion = NULL; /* it points into the tree */
}

/* ---- files -------------------------------------------------------------- */

/* Reports why the parameter reader refused the text, at the line where
** it stopped. */
static void amichkParseFailure(int rc) {
  switch( rc ) {
    case AMIPARAM_UNBALANCED:
      amichkError(MSGC_AMI_MISMATCHED_PARENS);
      break;
    case AMIPARAM_NO_LIST:
      amichkError(MSGC_AMI_NO_LEADING_PAREN);
      break;
    case AMIPARAM_NO_PARENT:
    case AMIPARAM_DEPTH:
      amichkError(MSGC_AMI_TOO_FEW_NODES);
      break;
    case AMIPARAM_SYNTAX:
      amichkError(MSGC_AMI_LIST_TOO_SHORT);
      break;
    case AMIPARAM_SECOND_ROOT:
      amichkError(MSGC_AMI_SECOND_ROOT);
      break;
    default:
      MSG_BugCode(MSGC_AMI_INTERNAL_ERROR);
      break;
  }
}

AmiParamTree *AMICHK_ParseGathered(void) {
  AmiParamTree *tree = NULL;
  char *text = PARSE_TakeAmiText();
  long where = 0;
  int rc;
  if( text == NULL ) return NULL;
  rc = AMIPARAM_ParseWhere(text, &tree, &where);
  CMN_Free(&text);
  amichkLine = 0;
  if( rc == AMIPARAM_OK ) {
    AMICHK_CheckTree(tree);
  } else {
    amichkLine = PARSE_AmiLineAt(where);
    amichkParseFailure(rc);
  }
  amichkLine = 0;
  PARSE_FreeAmiText();
  return rc == AMIPARAM_OK ? tree : NULL;
}

int AMICHK_CheckAmiFile(const char *path) {
  AmiParamTree *tree;
  CMN_ASSERT(path != NULL, AMICHK_SRC);
  if( !PARSE_File(path, CMN_FILE_AMI) ) {
    PARSE_FreeAmiText();
    return 0;
  }
  tree = AMICHK_ParseGathered();
  AMIPARAM_FreeTree(&tree);
  return 1;
}

/* `dir` + `name` in a new block: the directory of the .ibs file (the
** current directory when it has none) and a separator when it lacks one.
** Null when memory runs out. */
static char *amichkPath(const char *dir, const char *name) {
  size_t nd = strlen(dir), nn = strlen(name);
  int sep = nd > 0 && !CMN_IsPathSeparator(dir[nd - 1]);
  char *path = NULL;
  if( nd == 0 ) {
    dir = "./";
    nd = 2;
  }
  if( !CMN_Calloc(&path, nd + nn + 2) ) return NULL;
  memcpy(path, dir, nd);
  if( sep ) path[nd++] = '/';
  memcpy(path + nd, name, nn + 1);
  return path;
}

static int amichkExists(const char *dir, const char *name) {
  char *path = amichkPath(dir, name);
  FILE *fp;
  if( path == NULL ) return 0;
  fp = fopen(path, "rb");
  CMN_Free(&path);
  if( fp == NULL ) return 0;
  fclose(fp);
  return 1;
}

/* The directory part of the .ibs file, kept while the referenced files are
** read (reading one moves the reader's stored directory). */
static char amichkDir[CMN_MAX_PATH + 1];

static AmichkReached amichkReached;

void AMICHK_SetReached(AmichkReached reached) { amichkReached = reached; }

/* Whether an Executable line before `rec` names the same parameter file:
** the platforms of one model usually share it, and it is checked once. */
static int amichkParamSeen(const AlgExecList *list, const AlgExecutable *rec) {
  const AlgExecutable *p;
  for( p = list->first; p && p != rec; p = p->next ) {
    if( strcmp(p->paramFile, rec->paramFile) == 0 ) return 1;
  }
  return 0;
}

static void amichkCheckRecord(const char *model, const AlgExecList *list,
                              AlgExecutable *rec, int direction) {
  char ibsName[CMN_MAX_PATH + 1];
  char *path;
  if( rec->codeFile[0] && !amichkExists(amichkDir, rec->codeFile) ) {
    MSG_ErrorCode(MSGC_AMI_CODE_FILE_MISSING, rec->codeFile, model);
  }
  if( rec->paramFile[0] == 0 || amichkParamSeen(list, rec) ) return;
  if( strchr(rec->paramFile, '.') == NULL ) {
    MSG_ErrorCode(MSGC_AMI_NEEDS_EXTENSION, rec->paramFile, model);
    return;
  }
  if( !amichkExists(amichkDir, rec->paramFile) ) {
    MSG_ErrorCode(MSGC_AMI_FILE_MISSING, rec->paramFile, model);
    return;
  }
  if( (path = amichkPath(amichkDir, rec->paramFile)) == NULL ) return;
  /* Findings in the parameter file name that file, not the .ibs file. */
  snprintf(ibsName, sizeof(ibsName), "%s", MSG_GetFileName());
  MSG_SetFileName(path);
  if( amichkReached ) amichkReached(path);
  if( PARSE_File(path, CMN_FILE_AMI) ) {
    if( rec->tree ) AMIPARAM_FreeTree(&rec->tree);
    amichkDirection = direction;
    rec->tree = AMICHK_ParseGathered();
    amichkDirection = AMICHK_EITHER;
  } else {
    PARSE_FreeAmiText();
  }
  MSG_SetFileName(ibsName);
  CMN_Free(&path);
}

static void amichkModel(const char *model, AlgExecList *list, int direction) {
  AlgExecutable *rec;
  if( list->first == NULL ) {
    MSG_ErrorCode(MSGC_AMI_EMPTY_ALGMOD, model);
    return;
  }
  for( rec = list->first; rec; rec = rec->next ) {
    amichkCheckRecord(model, list, rec, direction);
  }
}

void AMICHK_CheckModelFiles(IbisItem *models, AmichkModelName name,
                            AmichkModelExecs execs,
                            AmichkModelDirection direction) {
  IbisItem *item;
  CMN_ASSERT(name != NULL && execs != NULL, AMICHK_SRC);
  snprintf(amichkDir, sizeof(amichkDir), "%s", CMN_GetDirectory());
  for( item = models; item; item = item->next ) {
    AlgExecList *list = item->record ? execs(item->record) : NULL;
    if( list ) {
      amichkModel(amichkText(name(item->record)), list,
                  direction ? direction(item->record) : AMICHK_EITHER);
    }
  }
}
