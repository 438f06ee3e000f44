/*
** amichk.cpp: the AMI parameter file checks.
**
** The tree checks start at the outermost list: a Reserved_Parameters branch
** is checked parameter by parameter against the table of reserved
** parameters below, a Model_Specific branch is walked and each of its
** leaves checked for a legal Usage, Type and Format.
*/
#include "IbisParser/amichk.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "amiparam/amiparam.h"

#include <stdarg.h>
#include <stdio.h>
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

/* AMI_Version values of the releases whose parameter forms the checker
** knows, oldest first. */
static const char *const amichkAmiVersions[] = { "5.1", "6.0", "6.1",
                                                 "7.0", "7.1", "7.2" };
#define AMICHK_N_AMI_VERSIONS                                                  \
  ((int)(sizeof(amichkAmiVersions) / sizeof(amichkAmiVersions[0])))
#define AMICHK_NEWEST_AMI "7.2"

/* Set per tree: the file declares AMI_Version, so a parameter may give its
** format as a leaf named by the format word ("(Value True)", "(Range 0 0
** 9)"), and the reserved parameters of the later releases are known. */
static int amichkForms51;
static int amichkFormsNoted; /* the hint about those forms was given */

/* Reserved parameters added after the first release of the rules above;
** their leaves get the checks of any parameter. */
static const char *const amichkLaterReserved[] = {
  "BCI_ID",
  "BCI_Message_Interval_UI",
  "BCI_Protocol",
  "BCI_State",
  "BCI_Training_Mode",
  "BCI_Training_UI",
  "Component_Name",
  "DLL_ID",
  "DLL_Path",
  "Model_Name",
  "Modulation",
  "Modulation_Levels",
  "PAM4_CenterEyeOffset",
  "PAM4_CenterThreshold",
  "PAM4_LowerEyeOffset",
  "PAM4_LowerThreshold",
  "PAM4_Mapping",
  "PAM4_UpperEyeOffset",
  "PAM4_UpperThreshold",
  "PAM_Thresholds",
  "Repeater_Type",
  "Resolve_Exists",
  "Rx_Clock_Recovery_DCD",
  "Rx_Clock_Recovery_Dj",
  "Rx_Clock_Recovery_Mean",
  "Rx_Clock_Recovery_Rj",
  "Rx_Clock_Recovery_Sj",
  "Rx_DCD",
  "Rx_Decision_Time",
  "Rx_Dj",
  "Rx_GaussianNoise",
  "Rx_Noise",
  "Rx_R",
  "Rx_Rj",
  "Rx_Sj",
  "Rx_UniformNoise",
  "Rx_Use_Clock_Input",
  "Special_Param_Names",
  "Supporting_Files",
  "Ts4file",
  "Tx_Dj",
  "Tx_R",
  "Tx_Rj",
  "Tx_Sj",
  "Tx_Sj_Frequency",
  "Tx_V",
};

static int amichkIsLaterReserved(const char *name) {
  int i;
  for( i = 0; i < (int)(sizeof(amichkLaterReserved) / sizeof(char *)); i++ ) {
    if( strcmp(name, amichkLaterReserved[i]) == 0 ) return 1;
  }
  return 0;
}

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

/* Without AMI_Version a format leaf is an unknown parameter (reported by
** the caller); say once per file what makes it legal. */
static void amichkFormsHint(const AmiNode *leaf) {
  if( amichkForms51 || amichkFormsNoted ) return;
  amichkFormsNoted = 1;
  if( amichkLine > 0 ) {
    MSG_SetLineSource(amichkLineSource);
    MSG_NoteCodeLine(MSGC_AMI_FORMS_NEED_VERSION, amichkText(leaf->name));
    MSG_SetLineSource(PARSE_GetLineNumber);
  } else {
    MSG_NoteCode(MSGC_AMI_FORMS_NEED_VERSION, amichkText(leaf->name));
  }
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

/* AMI_Version: Usage Info, Type String and a release the checker knows;
** a newer release is checked by the newest rules it knows, and told so. */
static void amichkCheckVersion(const AmiNode *param) {
  const char *v = amichkVersionText(param);
  int i;
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
  for( i = 0; i < AMICHK_N_AMI_VERSIONS; i++ ) {
    if( strcmp(v, amichkAmiVersions[i]) == 0 ) return;
  }
  if( CMN_IsNewerVersion(v, AMICHK_NEWEST_AMI) ) {
    if( amichkLine > 0 ) {
      MSG_SetLineSource(amichkLineSource);
      MSG_NoteCodeLine(MSGC_AMI_VERSION_TOO_NEW, v, AMICHK_NEWEST_AMI,
                       AMICHK_NEWEST_AMI);
      MSG_SetLineSource(PARSE_GetLineNumber);
    } else {
      MSG_NoteCode(MSGC_AMI_VERSION_TOO_NEW, v, AMICHK_NEWEST_AMI,
                   AMICHK_NEWEST_AMI);
    }
    return;
  }
  amichkError(MSGC_AMI_ILLEGAL_VALUE, "AMI_Version", v, "Reserved_Parameters");
}

/* ---- leaf check --------------------------------------------------------- */

static void amichkCheckLeaf(const AmiNode *leaf, const char *param,
                            int numeric) {
  int reserved, shorthand;
  amichkAt(leaf);
  if( leaf->count < 1 ) {
    amichkError(MSGC_AMI_LEAF_WITHOUT_VALUES, amichkText(leaf->name), param);
    return;
  }
  reserved = amichkFirstReserved(leaf);
  switch( leaf->keyword ) {
    case AMIPARAM_KW_USAGE:
      if( reserved < AMIPARAM_RW_IN || reserved > AMIPARAM_RW_INOUT ) {
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Usage", amichkFirstText(leaf),
                    param);
      }
      break;
    case AMIPARAM_KW_TYPE:
      if( reserved < AMIPARAM_RW_FLOAT || reserved > AMIPARAM_RW_UI ) {
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Type", amichkFirstText(leaf),
                    param);
      }
      break;
    case AMIPARAM_KW_FORMAT:
      if( reserved < AMIPARAM_RW_VALUE || reserved > AMIPARAM_RW_DJRJ ) {
        amichkError(MSGC_AMI_ILLEGAL_VALUE, "Format", amichkFirstText(leaf),
                    param);
      } else {
        amichkFormatValues(leaf, param);
      }
      break;
    default:
      shorthand = amichkShorthand(leaf);
      if( amichkForms51 && shorthand >= 0 ) {
        amichkFormatValuesAt(leaf, shorthand, 0, leaf->name, param, numeric);
      }
      break;
  }
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

/* ---- reserved parameters ------------------------------------------------ */

#define BIT(r) (1u << (r))

enum { FMT_NONE, FMT_JITTER, FMT_DCD };
enum { DEF_ANY, DEF_BOOLEAN, DEF_INTEGER, DEF_OPTIONAL_NUMBER };

typedef struct ReservedRule {
  const char *name;
  unsigned usage; /* allowed reserved-word codes, as bits */
  unsigned type;
  int format; /* FMT_NONE: a Format leaf is not allowed */
  int dflt;
} ReservedRule;

static const ReservedRule amichkReserved[] = {
  { "Init_Returns_Impulse", BIT(AMIPARAM_RW_INFO), BIT(AMIPARAM_RW_BOOLEAN),
    FMT_NONE, DEF_ANY },
  { "GetWave_Exists", BIT(AMIPARAM_RW_INFO), BIT(AMIPARAM_RW_BOOLEAN), FMT_NONE,
    DEF_ANY },
  { "Use_Init_Output", BIT(AMIPARAM_RW_INFO), BIT(AMIPARAM_RW_BOOLEAN),
    FMT_NONE, DEF_BOOLEAN },
  { "Max_Init_Aggressors", BIT(AMIPARAM_RW_INFO), BIT(AMIPARAM_RW_INTEGER),
    FMT_NONE, DEF_INTEGER },
  { "Ignore_Bits", BIT(AMIPARAM_RW_INFO) | BIT(AMIPARAM_RW_OUT),
    BIT(AMIPARAM_RW_INTEGER), FMT_NONE, DEF_INTEGER },
  { "Tx_Jitter", BIT(AMIPARAM_RW_INFO) | BIT(AMIPARAM_RW_OUT),
    BIT(AMIPARAM_RW_FLOAT) | BIT(AMIPARAM_RW_UI), FMT_JITTER,
    DEF_OPTIONAL_NUMBER },
  { "Rx_Clock_PDF", BIT(AMIPARAM_RW_INFO) | BIT(AMIPARAM_RW_OUT),
    BIT(AMIPARAM_RW_FLOAT) | BIT(AMIPARAM_RW_UI), FMT_JITTER,
    DEF_OPTIONAL_NUMBER },
  { "Tx_DCD", BIT(AMIPARAM_RW_INFO) | BIT(AMIPARAM_RW_OUT),
    BIT(AMIPARAM_RW_FLOAT) | BIT(AMIPARAM_RW_UI), FMT_DCD,
    DEF_OPTIONAL_NUMBER },
  { "Rx_Receiver_Sensitivity", BIT(AMIPARAM_RW_INFO) | BIT(AMIPARAM_RW_OUT),
    BIT(AMIPARAM_RW_FLOAT), FMT_DCD, DEF_OPTIONAL_NUMBER },
};

#define AMICHK_N_RESERVED                                                      \
  ((int)(sizeof(amichkReserved) / sizeof(amichkReserved[0])))

/* Whether a format word belongs to a rule's column.  A Table is accepted
** as the jitter distribution of Tx_Jitter and Rx_Clock_PDF. */
static int amichkFormatAllowed(int format, int reserved) {
  if( format == FMT_JITTER ) {
    return reserved == AMIPARAM_RW_GAUSSIAN
        || reserved == AMIPARAM_RW_DUAL_DIRAC || reserved == AMIPARAM_RW_DJRJ
        || reserved == AMIPARAM_RW_TABLE;
  }
  if( format == FMT_DCD ) {
    return reserved == AMIPARAM_RW_VALUE || reserved == AMIPARAM_RW_RANGE
        || reserved == AMIPARAM_RW_CORNER;
  }
  return 0;
}

/* Whether a value fits a rule's Default column. */
static int amichkDefaultFits(const AmiValue *v, int dflt) {
  switch( dflt ) {
    case DEF_BOOLEAN:
      return v->type == AMIPARAM_BOOLEAN;
    case DEF_INTEGER:
      return v->type == AMIPARAM_INTEGER;
    case DEF_OPTIONAL_NUMBER:
      return amichkIsNumber(v);
    default:
      return 1;
  }
}

/* A format leaf of a reserved parameter ("(Value True)"): a Value gives the
** parameter's value, as a Default does; any other format stands for the
** Format leaf. */
static void amichkKnownShorthand(const AmiNode *leaf, const ReservedRule *rule,
                                 int *have) {
  int format = amichkShorthand(leaf);
  const char *name = rule->name;
  if( format == AMIPARAM_RW_VALUE && rule->format != FMT_DCD ) {
    if( leaf->count != 1 ) {
      amichkError(MSGC_AMI_FORMAT_COUNT, leaf->name, name, 1);
    } else if( !amichkDefaultFits(amichkValue(leaf, 0), rule->dflt) ) {
      amichkError(MSGC_AMI_ILLEGAL_VALUE, "Value", amichkFirstText(leaf), name);
    } else {
      have[AMIPARAM_KW_DEFAULT] = 1;
      if( rule->format != FMT_NONE ) have[AMIPARAM_KW_FORMAT] = 1;
    }
    return;
  }
  if( rule->format == FMT_NONE ) {
    amichkError(MSGC_AMI_UNEXPECTED_PARAMETER, leaf->name, name);
  } else if( !amichkFormatAllowed(rule->format, format) ) {
    amichkError(MSGC_AMI_ILLEGAL_VALUE, "Format", leaf->name, name);
  } else if( amichkFormatValuesAt(leaf, format, 0, leaf->name, name, 1) ) {
    have[AMIPARAM_KW_FORMAT] = 1;
    if( format == AMIPARAM_RW_VALUE ) have[AMIPARAM_KW_DEFAULT] = 1;
  }
}

static void amichkCheckKnown(const AmiNode *param, const ReservedRule *rule) {
  int have[AMIPARAM_KW_DESCRIPTION + 1] = { 0 };
  const char *name = rule->name;
  int i;
  for( i = 0; i < param->count; i++ ) {
    const AmiEntry *e = amichkChild(param, i);
    const AmiNode *leaf = e->node;
    int reserved;
    const char *first;
    if( leaf == NULL ) continue;
    amichkAt(leaf);
    if( e->kind != AMIPARAM_LEAF ) {
      amichkError(MSGC_AMI_BRANCH_NOT_LEAF, amichkText(leaf->name), name);
      continue;
    }
    if( leaf->count < 1 ) {
      amichkError(MSGC_AMI_LEAF_WITHOUT_VALUES, amichkText(leaf->name), name);
      continue;
    }
    reserved = amichkFirstReserved(leaf);
    first = amichkFirstText(leaf);
    switch( leaf->keyword ) {
      case AMIPARAM_KW_USAGE:
        have[AMIPARAM_KW_USAGE] = 1;
        if( reserved < 0 || reserved > 31 || !(rule->usage & BIT(reserved)) ) {
          amichkError(MSGC_AMI_ILLEGAL_VALUE, "Usage", first, name);
        }
        break;
      case AMIPARAM_KW_TYPE:
        have[AMIPARAM_KW_TYPE] = 1;
        if( reserved < 0 || reserved > 31 || !(rule->type & BIT(reserved)) ) {
          amichkError(MSGC_AMI_ILLEGAL_VALUE, "Type", first, name);
        }
        break;
      case AMIPARAM_KW_FORMAT:
        if( rule->format == FMT_NONE ) {
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
  amichkAt(param);
  if( !have[AMIPARAM_KW_USAGE] )
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Usage", name);
  if( !have[AMIPARAM_KW_TYPE] )
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Type", name);
  if( rule->format != FMT_NONE && !have[AMIPARAM_KW_FORMAT] ) {
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Format", name);
  }
  if( rule->dflt != DEF_OPTIONAL_NUMBER && !have[AMIPARAM_KW_DEFAULT] ) {
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Default", name);
  }
  if( !have[AMIPARAM_KW_DESCRIPTION] )
    amichkError(MSGC_AMI_MANDATORY_LEAF, "Description", name);
}

/* Whether Reserved_Parameters declares AMI_Version (as a parameter). */
static int amichkDeclaresVersion(const AmiNode *branch) {
  int i;
  for( i = 0; i < branch->count; i++ ) {
    const AmiEntry *e = amichkChild(branch, i);
    if( e->node && e->kind == AMIPARAM_BRANCH
        && strcmp(amichkText(e->node->name), "AMI_Version") == 0 )
      return 1;
  }
  return 0;
}

static void amichkCheckReserved(const AmiNode *branch) {
  int sawInit = 0, sawGetWave = 0;
  int i, r;
  amichkForms51 = amichkDeclaresVersion(branch);
  for( i = 0; i < branch->count; i++ ) {
    const AmiEntry *e = amichkChild(branch, i);
    const AmiNode *node = e->node;
    const char *name;
    if( node == NULL ) continue;
    name = amichkText(node->name);
    amichkAt(node);
    if( e->kind == AMIPARAM_LEAF ) {
      amichkError(MSGC_AMI_LEAF_NOT_BRANCH, name, "Reserved_Parameters");
      amichkCheckLeaf(node, "Reserved_Parameters", 0);
      continue;
    }
    if( strcmp(name, "AMI_Version") == 0 ) {
      amichkCheckVersion(node);
      continue;
    }
    for( r = 0; r < AMICHK_N_RESERVED; r++ ) {
      if( strcmp(name, amichkReserved[r].name) == 0 ) break;
    }
    if( r == AMICHK_N_RESERVED && amichkForms51
        && amichkIsLaterReserved(name) ) {
      amichkWalk(node);
      continue;
    }
    if( r == AMICHK_N_RESERVED ) {
      amichkError(MSGC_AMI_UNKNOWN_PARAMETER, name, "Reserved_Parameters");
      amichkWalk(node);
      continue;
    }
    if( r == 0 ) sawInit = 1;
    if( r == 1 ) sawGetWave = 1;
    amichkCheckKnown(node, &amichkReserved[r]);
  }
  amichkAt(branch);
  if( !sawInit )
    amichkError(MSGC_AMI_MANDATORY_MISSING, "Init_Returns_Impulse");
  if( !sawGetWave ) amichkError(MSGC_AMI_MANDATORY_MISSING, "GetWave_Exists");
}

void AMICHK_CheckTree(const AmiParamTree *tree) {
  const AmiNode *root;
  int i, sawReserved = 0;
  amichkForms51 = 0;
  amichkFormsNoted = 0;
  if( tree == NULL || tree->entries == NULL || tree->count < 1
      || tree->entries[0].node == NULL
      || tree->entries[0].kind != AMIPARAM_BRANCH ) {
    amichkError(MSGC_AMI_NO_RESERVED);
    return;
  }
  root = tree->entries[0].node;
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
      amichkWalk(node);
    } else {
      amichkError(MSGC_AMI_UNKNOWN_BRANCH, name);
    }
  }
  amichkAt(root);
  if( !sawReserved ) amichkError(MSGC_AMI_NO_RESERVED);
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
                              AlgExecutable *rec) {
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
    rec->tree = AMICHK_ParseGathered();
  } else {
    PARSE_FreeAmiText();
  }
  MSG_SetFileName(ibsName);
  CMN_Free(&path);
}

static void amichkModel(const char *model, AlgExecList *list) {
  AlgExecutable *rec;
  if( list->first == NULL ) {
    MSG_ErrorCode(MSGC_AMI_EMPTY_ALGMOD, model);
    return;
  }
  for( rec = list->first; rec; rec = rec->next ) {
    amichkCheckRecord(model, list, rec);
  }
}

void AMICHK_CheckModelFiles(IbisItem *models, AmichkModelName name,
                            AmichkModelExecs execs) {
  IbisItem *item;
  CMN_ASSERT(name != NULL && execs != NULL, AMICHK_SRC);
  snprintf(amichkDir, sizeof(amichkDir), "%s", CMN_GetDirectory());
  for( item = models; item; item = item->next ) {
    AlgExecList *list = item->record ? execs(item->record) : NULL;
    if( list ) amichkModel(amichkText(name(item->record)), list);
  }
}
