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

/* Checks the values after the format word; 1 when they pass.  Reports
** ERROR 4632 otherwise. */
static int amichkFormatValues(const AmiNode *leaf, const char *param) {
  int reserved = amichkFirstReserved(leaf);
  int want = amichkFormatCount(reserved);
  int i, ok;
  if( reserved == AMIPARAM_RW_TABLE ) return 1;
  if( want < 0 ) {
    ok = leaf->count - 1 >= 1;
    want = 1;
  } else {
    ok = leaf->count - 1 == want;
    for( i = 1; ok && i < leaf->count; i++ ) {
      ok = amichkIsNumber(amichkValue(leaf, i));
    }
  }
  if( !ok ) {
    amichkError(MSGC_AMI_FORMAT_COUNT, amichkFirstText(leaf), param, want);
  }
  return ok;
}

/* ---- leaf check --------------------------------------------------------- */

static void amichkCheckLeaf(const AmiNode *leaf, const char *param) {
  int reserved;
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
      break;
  }
}

static void amichkWalk(const AmiNode *branch) {
  int i;
  for( i = 0; i < branch->count; i++ ) {
    const AmiEntry *e = amichkChild(branch, i);
    if( e->node == NULL ) continue;
    if( e->kind == AMIPARAM_LEAF ) {
      amichkCheckLeaf(e->node, amichkText(branch->name));
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
      case AMIPARAM_KW_DEFAULT: {
        const AmiValue *v = amichkValue(leaf, 0);
        int ok = 1;
        switch( rule->dflt ) {
          case DEF_BOOLEAN:
            ok = v->type == AMIPARAM_BOOLEAN;
            break;
          case DEF_INTEGER:
            ok = v->type == AMIPARAM_INTEGER;
            break;
          case DEF_OPTIONAL_NUMBER:
            ok = amichkIsNumber(v);
            break;
          default:
            break;
        }
        if( !ok ) amichkError(MSGC_AMI_ILLEGAL_VALUE, "Default", first, name);
        if( ok ) have[AMIPARAM_KW_DEFAULT] = 1;
        break;
      }
      case AMIPARAM_KW_DESCRIPTION:
        have[AMIPARAM_KW_DESCRIPTION] = 1;
        break;
      default:
        amichkError(MSGC_AMI_UNKNOWN_PARAMETER, amichkText(leaf->name), name);
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

static void amichkCheckReserved(const AmiNode *branch) {
  int sawInit = 0, sawGetWave = 0;
  int i, r;
  for( i = 0; i < branch->count; i++ ) {
    const AmiEntry *e = amichkChild(branch, i);
    const AmiNode *node = e->node;
    const char *name;
    if( node == NULL ) continue;
    name = amichkText(node->name);
    amichkAt(node);
    if( e->kind == AMIPARAM_LEAF ) {
      amichkError(MSGC_AMI_LEAF_NOT_BRANCH, name, "Reserved_Parameters");
      amichkCheckLeaf(node, "Reserved_Parameters");
      continue;
    }
    for( r = 0; r < AMICHK_N_RESERVED; r++ ) {
      if( strcmp(name, amichkReserved[r].name) == 0 ) break;
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
      amichkCheckLeaf(node, amichkText(root->name));
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

static void amichkCheckRecord(const char *model, AlgExecutable *rec) {
  char ibsName[CMN_MAX_PATH + 1];
  char *path;
  if( rec->codeFile[0] && !amichkExists(amichkDir, rec->codeFile) ) {
    MSG_ErrorCode(MSGC_AMI_CODE_FILE_MISSING, rec->codeFile, model);
  }
  if( rec->paramFile[0] == 0 ) return;
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
    amichkCheckRecord(model, rec);
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
