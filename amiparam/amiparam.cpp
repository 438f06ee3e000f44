/*
** amiparam.cpp: the parameter tree reader.
**
** Parsing runs in two passes over a private copy of the text. The first
** (AMIPARAM_Flatten) scans the text once and makes a flat, pre-order list
** of entries with their nesting levels; the second (amiLink) walks that
** list with a stack of open branches to find each entry's parent, then
** lays out every branch's children in text order.
**
** Both passes are linear in the text length: every scan only moves
** forward, and the tree's storage is a handful of blocks sized from the
** text up front (nodes, strings, values, child entries) rather than one
** allocation per name, value and item array. A leaf's values are appended
** while its list is read and no other list interleaves, so they are
** contiguous in the value block; children are counted first and then
** placed, so they are contiguous in the child block.
**
** The first pass keeps a depth counter D that rises by two per nesting
** level, once at a list's '(' and once when its entry is made; the level
** of an entry is (D0 + 1) / 2, where D0 is D after the list's '('. A ')'
** met while a name is read closes the enclosing branch and takes D0 down
** by two (by one when a sibling '(' follows at once).
*/
#include "amiparam/amiparam.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

#include "IbisParser/cmn.h"

/* ==== small helpers ====================================================== */

/* White space as the C locale's isspace() classifies it. The reader runs
** inside a host process whose locale it does not control, so it does not
** consult the locale, and the test is inline because it runs once per
** character. */
static inline int amiIsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

/* Skips white space of any run length: a long run is harmless in a
** parameter string. */
static inline void amiSkipSpace(char **p) {
  while( amiIsSpace(**p) ) (*p)++;
}

/* End of [start, end) without trailing white space. */
static const char *amiTrim(const char *start, const char *end) {
  while( end > start && amiIsSpace(end[-1]) ) end--;
  return end;
}

/* Counts '(' and ')' outside double quotes; 1 when they are equal. */
static int amiCountLists(const char *text, size_t *opens) {
  size_t open = 0, close = 0;
  int quoted = 0;
  for( const char *p = text; *p; p++ ) {
    if( *p == '"' )
      quoted = !quoted;
    else if( !quoted && *p == '(' )
      open++;
    else if( !quoted && *p == ')' )
      close++;
  }
  *opens = open;
  return open == close;
}

int AMIPARAM_CountLists(const char *text, int *count) {
  size_t opens = 0;
  if( count ) *count = 0;
  if( text == 0 ) return 1;
  if( !amiCountLists(text, &opens) || opens > INT_MAX ) return 0;
  if( count ) *count = (int)opens;
  return 1;
}

/* ==== first pass ========================================================= */

typedef struct AmiScan {
  char *p;      /* cursor */
  char *resume; /* where the next outer step starts */
  AmiParamTree *tree;
  int n;     /* capacity */
  int k;     /* entries made */
  int i;     /* pass counter */
  int depth; /* D */
  size_t stringsUsed, stringsSize;
  size_t valuesUsed, valuesSize;
  const char *base;    /* start of the text, for node offsets */
  const char *list;    /* where the list read last starts, for failures */
  const char *suspect; /* the first list holding only a name */
} AmiScan;

/* Storage sized from the text. Every name or value is a trimmed stretch
** [start, end) followed by a character (white space, a parenthesis, a
** blanked quote) that belongs to no other name or value, so the names and
** values with their terminators fit in strlen(text) + 1 bytes; and every
** value takes at least two characters (itself and what ends it, or an
** empty pair of quotes), so there are at most strlen(text) / 2 + 1. The
** bounds are still checked on every use. */
static int amiAllocStorage(AmiScan *sc, const char *text) {
  AmiParamTree *t = sc->tree;
  size_t len = strlen(text);
  sc->stringsSize = len + 2;
  sc->valuesSize = len / 2 + 2;
  if( sc->stringsSize < len || sc->valuesSize > SIZE_MAX / sizeof(AmiValue) )
    return AMIPARAM_NO_MEMORY;
  if( t->nodes == 0
      && !CMN_Calloc(&t->nodes,
                     (size_t)(sc->n > 0 ? sc->n : 1) * sizeof(AmiNode)) )
    return AMIPARAM_NO_MEMORY;
  if( t->strings == 0 && !CMN_Calloc(&t->strings, sc->stringsSize) )
    return AMIPARAM_NO_MEMORY;
  if( t->values == 0
      && !CMN_Calloc(&t->values, sc->valuesSize * sizeof(AmiValue)) )
    return AMIPARAM_NO_MEMORY;
  return AMIPARAM_OK;
}

/* A terminated copy of [start, end), trimmed, in the string block. */
static char *amiString(AmiScan *sc, const char *start, const char *end) {
  size_t len = (size_t)(amiTrim(start, end) - start);
  if( len >= sc->stringsSize - sc->stringsUsed ) return 0;
  char *s = sc->tree->strings + sc->stringsUsed;
  memcpy(s, start, len);
  s[len] = 0;
  sc->stringsUsed += len + 1;
  return s;
}

/* Makes entry k with a node named by [start, end). */
static int amiMakeEntry(AmiScan *sc, int kind, int d0, const char *start,
                        const char *end) {
  if( sc->k >= sc->n ) return AMIPARAM_OVERFLOW;
  if( end < start ) return AMIPARAM_SYNTAX;
  AmiNode *node = &sc->tree->nodes[sc->k];
  memset(node, 0, sizeof *node);
  node->offset = (long)(start - sc->base);
  node->name = amiString(sc, start, end);
  if( node->name == 0 ) return AMIPARAM_OVERFLOW;
  if( kind == AMIPARAM_LEAF ) {
    node->keyword = AMIPARAM_LeafKeyword(node->name);
    node->items.values = sc->tree->values + sc->valuesUsed;
  }
  AmiEntry *e = &sc->tree->entries[sc->k];
  e->kind = kind;
  e->level = (d0 + 1) / 2;
  e->node = node;
  sc->depth = d0 + 1;
  return AMIPARAM_OK;
}

/* Appends the value [start, end), trimmed, typed and classified, to the
** leaf being read, which is the newest one. */
static int amiAppendValue(AmiScan *sc, AmiNode *node, const char *start,
                          const char *end) {
  if( sc->valuesUsed >= sc->valuesSize ) return AMIPARAM_OVERFLOW;
  char *text = amiString(sc, start, end);
  if( text == 0 ) return AMIPARAM_OVERFLOW;
  AmiValue *v = &sc->tree->values[sc->valuesUsed++];
  v->text = text;
  v->type = AMIPARAM_ValueType(text);
  v->reserved =
      v->type == AMIPARAM_WORD ? AMIPARAM_ReservedWord(text) : AMIPARAM_RW_NONE;
  node->count++;
  return AMIPARAM_OK;
}

/* Reads the leaf whose name is [s, mark) and whose first value starts at
** the cursor. Returns a result code. */
static int amiReadLeaf(AmiScan *sc, char *s, char *mark, int d0) {
  int rc = amiMakeEntry(sc, AMIPARAM_LEAF, d0, s, mark);
  if( rc != AMIPARAM_OK ) return rc;
  AmiEntry *e = &sc->tree->entries[sc->k];
  AmiNode *node = e->node;

  char *p = sc->p, *v = p, *blank = 0;
  for( ;; ) {
    char c = *p;
    if( c == '(' ) {
      /* Values mixed with a sub-list: the whole list is dropped, its
            ** values given back and its slot reused. Skip to the ')' that
            ** closes it. */
      sc->valuesUsed -= (size_t)node->count;
      memset(node, 0, sizeof *node);
      e->node = 0;
      int nest = 1;
      while( *p ) {
        if( *p == '"' ) {
          p++;
          while( *p && *p != '"' ) p++;
          if( *p ) p++;
          continue;
        }
        if( *p == '(' ) nest++;
        if( *p == ')' && --nest == 0 ) {
          p++;
          break;
        }
        p++;
      }
      amiSkipSpace(&p);
      if( sc->depth < 2 ) return AMIPARAM_DEPTH;
      sc->depth = d0 - 1;
      sc->i++;
      sc->p = sc->resume = p;
      return AMIPARAM_OK;
    }
    if( c == ')' ) {
      rc = amiAppendValue(sc, node, v, p);
      if( rc != AMIPARAM_OK ) return rc;
      p++;
      amiSkipSpace(&p);
      if( sc->depth < 2 ) return AMIPARAM_DEPTH;
      sc->depth = d0 - 1;
      sc->p = sc->resume = p;
      sc->k++;
      sc->i++;
      return AMIPARAM_OK;
    }
    if( c == 0 ) {
      /* Only an unterminated quote gets here; its value is lost. */
      sc->p = sc->resume = p;
      sc->k++;
      sc->i++;
      return AMIPARAM_OK;
    }
    if( amiIsSpace(c) ) {
      if( blank == 0 ) blank = p;
      p++;
    } else if( blank ) {
      rc = amiAppendValue(sc, node, v, blank);
      if( rc != AMIPARAM_OK ) return rc;
      v = p;
      blank = 0;
    } else if( c == '"' ) {
      /* A quoted stretch is one value, its quotes blanked; any text
            ** before the opening quote is discarded. */
      *p++ = ' ';
      v = p;
      while( *p && *p != '"' ) p++;
      if( *p == '"' ) *p = ' ';
    } else {
      p++;
    }
  }
}

/* AMIPARAM_Flatten, storing where the scan stopped in *where. */
static int amiFlatten(char *text, AmiParamTree *tree, int *count, long *where) {
  CMN_ASSERT(text != 0 && tree != 0 && tree->entries != 0 && count != 0,
             "amiparam/amiparam");
  AmiScan sc;
  memset(&sc, 0, sizeof sc);
  sc.base = text;
  sc.p = sc.resume = text;
  sc.tree = tree;
  sc.n = *count;
  *count = 0;
  int rc = amiAllocStorage(&sc, text);

  while( rc == AMIPARAM_OK && sc.i < sc.n ) {
    /* List start. */
    sc.p = sc.resume;
    if( *sc.p == '(' ) {
      sc.p++;
      sc.depth++;
      amiSkipSpace(&sc.p);
    }
    int d0 = sc.depth;
    char *s = sc.p, *mark = 0;
    sc.list = s;

    /* Name scan. */
    for( ;; ) {
      char c = *sc.p;
      if( c == 0 ) {
        sc.i++;
        sc.resume = sc.p;
        break;
      }
      if( c == '(' ) {
        rc = amiMakeEntry(&sc, AMIPARAM_BRANCH, d0, s, mark ? mark : sc.p);
        if( rc == AMIPARAM_OK ) {
          sc.k++;
          sc.i++;
          sc.resume = sc.p;
        }
        break;
      }
      if( c == ')' ) {
        /* The enclosing branch closes after its last child, or a
                ** list holds only a name (remembered as the likely place of
                ** a failure to come). */
        if( sc.p > s && sc.suspect == 0 ) sc.suspect = s;
        sc.p++;
        amiSkipSpace(&sc.p);
        if( d0 < 2 || sc.i < 1 ) {
          rc = AMIPARAM_DEPTH;
          break;
        }
        sc.i--;
        if( *sc.p == '(' ) {
          sc.p++;
          d0 -= 1;
        } else {
          d0 -= 2;
        }
        amiSkipSpace(&sc.p);
        s = sc.p;
        continue;
      }
      if( amiIsSpace(c) ) {
        if( mark == 0 ) mark = sc.p;
        sc.p++;
        continue;
      }
      if( mark ) {
        rc = amiReadLeaf(&sc, s, mark, d0);
        break;
      }
      sc.p++;
    }
  }
  *count = sc.k < sc.n ? sc.k : sc.n;
  if( sc.suspect )
    *where = (long)(sc.suspect - text);
  else
    *where = (long)((sc.list ? sc.list : sc.p) - text);
  return rc;
}

int AMIPARAM_Flatten(char *text, AmiParamTree *tree, int *count) {
  long where = 0;
  return amiFlatten(text, tree, count, &where);
}

/* ==== second pass ======================================================== */

/* Links entries[1..m) to their parents and lays out the child arrays. */
static int amiLink(AmiParamTree *tree, int m, long *where) {
  AmiEntry *entries = tree->entries;
  *where = 0;
  if( m < 1 || entries[0].kind != AMIPARAM_BRANCH || entries[0].node == 0 )
    return AMIPARAM_NO_PARENT; /* the outermost list is a leaf or was dropped */

  int maxLevel = 1;
  for( int e = 0; e < m; e++ )
    if( entries[e].level > maxLevel ) maxLevel = entries[e].level;
  int *stack = 0, *parent = 0;
  if( !CMN_Calloc(&stack, (size_t)maxLevel * sizeof *stack)
      || !CMN_Calloc(&parent, (size_t)m * sizeof *parent) ) {
    if( stack ) CMN_Free(&stack);
    return AMIPARAM_NO_MEMORY;
  }

  /* Find each entry's parent (-1: not in the tree) and count children. */
  int rc = AMIPARAM_OK, top = 0;
  size_t linked = 0;
  stack[0] = 0;
  for( int e = 0; e < m; e++ ) parent[e] = -1;
  for( int e = 1; e < m && rc == AMIPARAM_OK; e++ ) {
    const AmiEntry *E = &entries[e];
    if( E->kind != AMIPARAM_BRANCH && E->kind != AMIPARAM_LEAF ) break;
    while( top > 0 && entries[stack[top]].level >= E->level ) top--;
    const AmiEntry *P = &entries[stack[top]];
    if( E->node ) *where = E->node->offset;
    if( P->level >= E->level ) {
      rc = AMIPARAM_SECOND_ROOT;
    } else if( P->node == 0 ) {
      rc = AMIPARAM_NO_PARENT;
    } else if( P->level + 1 == E->level ) {
      /* An entry whose level jumps by more than one stays out of the
            ** tree. */
      parent[e] = stack[top];
      P->node->count++;
      linked++;
      if( E->kind == AMIPARAM_BRANCH ) {
        if( top + 1 >= maxLevel )
          rc = AMIPARAM_OVERFLOW;
        else
          stack[++top] = e;
      }
    }
  }

  /* Give each branch its stretch of the child block, then fill the
    ** stretches in text order. */
  if( rc == AMIPARAM_OK
      && !CMN_Calloc(&tree->children,
                     (linked ? linked : 1) * sizeof(AmiEntry)) )
    rc = AMIPARAM_NO_MEMORY;
  if( rc == AMIPARAM_OK ) {
    size_t offset = 0;
    for( int e = 0; e < m; e++ ) {
      AmiNode *node = entries[e].node;
      if( entries[e].kind != AMIPARAM_BRANCH || node == 0 ) continue;
      node->items.children = tree->children + offset;
      offset += (size_t)node->count;
      node->count = 0;
    }
    for( int e = 1; e < m; e++ ) {
      if( parent[e] < 0 ) continue;
      AmiNode *p = entries[parent[e]].node;
      p->items.children[p->count++] = entries[e];
    }
  }
  CMN_Free(&parent);
  CMN_Free(&stack);
  return rc;
}

/* ==== parse and release ================================================== */

/* Offset in text of the first ')' that closes nothing, else of the
** innermost '(' left open at the end; the text's end when no stack could
** be had. Runs only for a text already found unbalanced. */
static long amiUnbalancedAt(const char *text, size_t opens) {
  size_t *stack = 0, top = 0;
  long at = (long)strlen(text);
  int quoted = 0;
  if( !CMN_Calloc(&stack, (opens + 1) * sizeof *stack) ) return at;
  for( const char *p = text; *p; p++ ) {
    if( *p == '"' ) {
      quoted = !quoted;
    } else if( !quoted && *p == '(' ) {
      if( top < opens ) stack[top++] = (size_t)(p - text);
    } else if( !quoted && *p == ')' ) {
      if( top == 0 ) {
        at = (long)(p - text);
        break;
      }
      top--;
    }
  }
  if( at == (long)strlen(text) && top > 0 ) at = (long)stack[top - 1];
  CMN_Free(&stack);
  return at;
}

int AMIPARAM_Parse(const char *text, AmiParamTree **out) {
  return AMIPARAM_ParseWhere(text, out, 0);
}

int AMIPARAM_ParseWhere(const char *text, AmiParamTree **out, long *where) {
  long at = 0;
  if( where ) *where = 0;
  if( text == 0 || out == 0 ) return AMIPARAM_NO_PARENT;
  char *cursor = (char *)text; /* only read */
  amiSkipSpace(&cursor);
  long lead = (long)(cursor - text);
  if( where ) *where = lead;
  if( *cursor != '(' ) return AMIPARAM_NO_LIST;

  size_t opens;
  if( !amiCountLists(cursor, &opens) ) {
    if( where ) *where = lead + amiUnbalancedAt(cursor, opens);
    return AMIPARAM_UNBALANCED;
  }
  if( opens > INT_MAX || opens > SIZE_MAX / sizeof(AmiNode) )
    return AMIPARAM_NO_MEMORY;

  AmiParamTree *tree;
  if( !CMN_Calloc(&tree, sizeof *tree) ) return AMIPARAM_NO_MEMORY;
  int rc = AMIPARAM_NO_MEMORY;
  if( CMN_Calloc(&tree->entries, opens * sizeof(AmiEntry)) ) {
    tree->count = (int)opens;
    char *copy = CMN_StrDup(cursor);
    if( copy != 0 ) {
      int made = tree->count;
      rc = amiFlatten(copy, tree, &made, &at);
      if( rc == AMIPARAM_OK ) rc = amiLink(tree, made, &at);
      CMN_Free(&copy);
      for( int i = 0; tree->nodes && i < made; i++ )
        tree->nodes[i].offset += lead;
    }
  }
  if( rc != AMIPARAM_OK ) {
    if( where ) *where = lead + at;
    AMIPARAM_FreeTree(&tree);
    return rc;
  }
  *out = tree;
  return AMIPARAM_OK;
}

void AMIPARAM_FreeTree(AmiParamTree **tree) {
  if( tree == 0 || *tree == 0 ) return;
  AmiParamTree *t = *tree;
  CMN_FreeBlock(t->children);
  CMN_FreeBlock(t->values);
  CMN_FreeBlock(t->strings);
  CMN_FreeBlock(t->nodes);
  CMN_FreeBlock(t->entries);
  CMN_Free(tree);
}
