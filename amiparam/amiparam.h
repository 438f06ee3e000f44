/*
** amiparam.h: the IBIS-AMI parameter tree reader.
**
** A parameter text is a nest of parenthesised lists, such as
**   (corvin_rx1 (eq 3) (mode "fast" 2.5 True))
** AMIPARAM_Parse() turns it into an AmiParamTree: a flat, pre-order array of
** entries, one per list that carries a name plus values (a leaf) or child
** lists (a branch), each linked to its parent's item array. The values are
** typed (AMIPARAM_ValueType) and word values classified against the
** IBIS-AMI vocabulary (AMIPARAM_ReservedWord) while the tree is built.
**
** The reader accepts any text: every malformed input ends in a non-zero
** result code, never in an assertion, an endless loop or a read past the
** text. It keeps no state between calls.
*/
#pragma once

/* Result codes of AMIPARAM_Parse(). */
#define AMIPARAM_OK 0
#define AMIPARAM_UNBALANCED 1 /* '(' and ')' outside quotes differ */
#define AMIPARAM_NO_LIST 2    /* text does not start with '(' */
#define AMIPARAM_NO_PARENT                                                     \
  3                            /* null argument; outermost list is a leaf or
                               ** was dropped; an entry finds no parent */
#define AMIPARAM_NO_MEMORY 4   /* an allocation failed */
#define AMIPARAM_SECOND_ROOT 5 /* a second list at the outermost level */
#define AMIPARAM_DEPTH 6       /* a list without values or children */
#define AMIPARAM_OVERFLOW 7    /* more entries than '(' (internal guard) */
#define AMIPARAM_SYNTAX 8      /* a name or value ends before it starts */

/* Entry kinds. */
#define AMIPARAM_BRANCH 0
#define AMIPARAM_LEAF 1

/* Value types (AmiValue.type). */
#define AMIPARAM_EMPTY (-1)
#define AMIPARAM_WORD 0
#define AMIPARAM_INTEGER 1
#define AMIPARAM_BOOLEAN 2
#define AMIPARAM_REAL 3

/* Leaf-name keyword codes (AmiNode.keyword). */
#define AMIPARAM_KW_NONE 0
#define AMIPARAM_KW_USAGE 1
#define AMIPARAM_KW_TYPE 2
#define AMIPARAM_KW_FORMAT 3
#define AMIPARAM_KW_DEFAULT 4
#define AMIPARAM_KW_DESCRIPTION 5
#define AMIPARAM_KW_LABELS 6

/* Reserved-word codes (AmiValue.reserved): usages 0-3, types 4-9,
** formats 10-19; -1 for any other value. */
enum AmiReservedWord {
  AMIPARAM_RW_NONE = -1,
  AMIPARAM_RW_IN = 0,
  AMIPARAM_RW_OUT,
  AMIPARAM_RW_INFO,
  AMIPARAM_RW_INOUT,
  AMIPARAM_RW_FLOAT,
  AMIPARAM_RW_INTEGER,
  AMIPARAM_RW_STRING,
  AMIPARAM_RW_BOOLEAN,
  AMIPARAM_RW_TAP,
  AMIPARAM_RW_UI,
  AMIPARAM_RW_VALUE,
  AMIPARAM_RW_RANGE,
  AMIPARAM_RW_LIST,
  AMIPARAM_RW_CORNER,
  AMIPARAM_RW_INCREMENT,
  AMIPARAM_RW_STEPS,
  AMIPARAM_RW_TABLE,
  AMIPARAM_RW_GAUSSIAN,
  AMIPARAM_RW_DUAL_DIRAC,
  AMIPARAM_RW_DJRJ
};

struct AmiNode;
struct AmiValue;

/* One list. The entry in AmiParamTree.entries owns its node; the copies in
** a parent's item array do not. */
typedef struct AmiEntry {
  int kind;  /* AMIPARAM_BRANCH or AMIPARAM_LEAF */
  int level; /* 1 for the outermost list, 2 for its children, ... */
  struct AmiNode *node;
} AmiEntry;

/* One value of a leaf. */
typedef struct AmiValue {
  char *text;   /* without enclosing quotes and trailing white space */
  int type;     /* AMIPARAM_EMPTY .. AMIPARAM_REAL */
  int reserved; /* AmiReservedWord code, or -1 */
} AmiValue;

/* The items of a node: child entries of a branch, values of a leaf. */
typedef union AmiItems {
  AmiEntry *children;      /* branch: AmiEntry[count], in text order */
  struct AmiValue *values; /* leaf: AmiValue[count], in text order */
} AmiItems;

/* A branch or a leaf. A null name or value text means its copy could not
** be allocated. */
typedef struct AmiNode {
  char *name;
  AmiItems items;
  int count;
  int keyword; /* leaf-name keyword code; 0 for a branch */
  long offset; /* where the list's name starts in the parsed text */
} AmiNode;

/* A parsed text. entries has one slot per '(' of the text (count); the
** slots behind the last entry made stay zero. entries[0] is the outermost
** list, a branch. The tree owns everything it points to, in a few blocks
** released together by AMIPARAM_FreeTree(): the nodes (one per slot), all
** names and value texts, all values and all child entries. Nodes, names,
** values and item arrays are never released one by one. */
typedef struct AmiParamTree {
  AmiEntry *entries;
  int count;
  AmiNode *nodes;     /* count nodes; entries[i].node points into it */
  char *strings;      /* every name and value text, each terminated */
  AmiValue *values;   /* every leaf's values, each leaf's contiguous */
  AmiEntry *children; /* every branch's child entries, each contiguous */
} AmiParamTree;

/* Parses text; on success stores a new tree through out and returns 0.
** Otherwise returns a result code above and leaves *out unchanged. The
** text is not modified. */
int AMIPARAM_Parse(const char *text, AmiParamTree **out);

/* AMIPARAM_Parse that also says where a malformed text went wrong: on a
** non-zero result *where (when given) is the offset in text of the place
** the reader stopped at: the ')' that closes nothing or the innermost '('
** never closed (unbalanced), the list it could not read, or the list that
** found no place in the tree. */
int AMIPARAM_ParseWhere(const char *text, AmiParamTree **out, long *where);

/* Releases *tree and sets it to null; nothing for a null address or tree. */
void AMIPARAM_FreeTree(AmiParamTree **tree);

/* Counts '(' and ')' outside double quotes (a quote toggles the quoted
** state). Returns 1 with the number of '(' in *count (when given) if the two
** numbers are equal, else 0 with a count of 0. A null text returns 1 with
** a count of 0. */
int AMIPARAM_CountLists(const char *text, int *count);

/* First pass of AMIPARAM_Parse(): fills tree->entries (capacity *count on
** entry) in pre-order, allocating the tree's nodes, strings and values as
** needed, and stores the number of entries made in *count. Writes into
** text, blanking the double quotes it consumes. Returns 0, 4 (out of
** memory), 6, 7 or 8. */
int AMIPARAM_Flatten(char *text, AmiParamTree *tree, int *count);

/* Value type of a text: -1 empty (or null), 1 integer (strtol in base 10
** consumes it all), 3 real (strtod consumes it all), 2 boolean (exactly
** "True" or "False"), 0 word. */
int AMIPARAM_ValueType(const char *text);

/* Reserved-word code of a text (exact, case-sensitive), or -1. */
int AMIPARAM_ReservedWord(const char *text);

/* Leaf-name keyword code of a name (exact, case-sensitive), or 0. */
int AMIPARAM_LeafKeyword(const char *name);
