/*
** amiparam.cpp: the parameter tree reader.
**
** Parsing runs in two passes over a private copy of the text. The first
** (AMIPARAM_Flatten) scans the text once and makes a flat, pre-order list
** of entries with their nesting levels; the second (amiLink) walks that
** list with a stack of open branches and appends each entry to its
** parent's child array. Both passes are linear in the text length: every
** scan only moves forward, and item arrays double their capacity when
** full rather than growing by one element per append.
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

/* Makes room for element number count in an array that holds count
** elements and was allocated with one element, then grown only here: its
** capacity is 1 up to one element and the next power of two above, so a
** full array is one whose count is a power of two. */
static int amiGrow(void *pp, int count, size_t elemSize) {
    if (count < 1 || (count & (count - 1)) != 0) return 1;
    size_t capacity = (size_t)count * 2;
    if (capacity > SIZE_MAX / elemSize) return 0;
    return CMN_Realloc(pp, capacity * elemSize);
}

/* End of [start, end) without trailing white space. */
static const char *amiTrim(const char *start, const char *end) {
    while (end > start && CMN_IsSpace(end[-1])) end--;
    return end;
}

/* A new node named by [start, end), trimmed. Null when the node itself
** cannot be allocated; a name that cannot be copied stays null. */
static AmiNode *amiNewNode(const char *start, const char *end, int kind) {
    AmiNode *node;
    if (!CMN_Calloc(&node, sizeof *node)) return 0;
    end = amiTrim(start, end);
    node->name = CMN_StrNDup(start, (size_t)(end - start));
    node->keyword = kind == AMIPARAM_LEAF ? AMIPARAM_LeafKeyword(node->name) : AMIPARAM_KW_NONE;
    return node;
}

static void amiFreeNode(AmiNode *node, int kind) {
    if (node == 0) return;
    if (kind == AMIPARAM_LEAF) {
        if (node->items.values)
            for (int i = 0; i < node->count; i++) CMN_FreeBlock(node->items.values[i].text);
        CMN_FreeBlock(node->items.values);
    } else {
        CMN_FreeBlock(node->items.children);
    }
    CMN_FreeBlock(node->name);
    CMN_FreeBlock(node);
}

/* Appends the value [start, end), trimmed, typed and classified. */
static int amiAppendValue(AmiNode *node, const char *start, const char *end) {
    if (node->items.values == 0) {
        if (!CMN_Calloc(&node->items.values, sizeof(AmiValue))) return 0;
    } else if (!amiGrow(&node->items.values, node->count, sizeof(AmiValue))) {
        return 0;
    }
    end = amiTrim(start, end);
    AmiValue *v = &node->items.values[node->count];
    v->text = CMN_StrNDup(start, (size_t)(end - start));
    v->type = AMIPARAM_ValueType(v->text);
    v->reserved = v->type == AMIPARAM_WORD ? AMIPARAM_ReservedWord(v->text) : AMIPARAM_RW_NONE;
    node->count++;
    return 1;
}

static int amiAppendChild(AmiNode *parent, const AmiEntry *child) {
    if (parent->items.children == 0) {
        if (!CMN_Calloc(&parent->items.children, sizeof(AmiEntry))) return 0;
    } else if (!amiGrow(&parent->items.children, parent->count, sizeof(AmiEntry))) {
        return 0;
    }
    parent->items.children[parent->count++] = *child;
    return 1;
}

/* Counts '(' and ')' outside double quotes; 1 when they are equal. */
static int amiCountLists(const char *text, size_t *opens) {
    size_t open = 0, close = 0;
    int quoted = 0;
    for (const char *p = text; *p; p++) {
        if (*p == '"')
            quoted = !quoted;
        else if (!quoted && *p == '(')
            open++;
        else if (!quoted && *p == ')')
            close++;
    }
    *opens = open;
    return open == close;
}

int AMIPARAM_CountLists(const char *text, int *count) {
    size_t opens = 0;
    if (count) *count = 0;
    if (text == 0) return 1;
    if (!amiCountLists(text, &opens) || opens > INT_MAX) return 0;
    if (count) *count = (int)opens;
    return 1;
}

/* ==== first pass ========================================================= */

typedef struct AmiScan {
    char *p;        /* cursor */
    char *resume;   /* where the next outer step starts */
    AmiEntry *entries;
    int n;          /* capacity */
    int k;          /* entries made */
    int i;          /* pass counter */
    int depth;      /* D */
} AmiScan;

/* Reads the values of the leaf whose name is [s, mark) and whose first
** value starts at the cursor. Returns a result code. */
static int amiReadLeaf(AmiScan *sc, char *s, char *mark, int d0) {
    if (sc->k >= sc->n) return AMIPARAM_OVERFLOW;
    if (mark < s) return AMIPARAM_SYNTAX;
    AmiNode *node = amiNewNode(s, mark, AMIPARAM_LEAF);
    if (node == 0) return AMIPARAM_NO_MEMORY;
    AmiEntry *e = &sc->entries[sc->k];
    e->kind = AMIPARAM_LEAF;
    e->level = (d0 + 1) / 2;
    e->node = node;
    sc->depth = d0 + 1;

    char *p = sc->p, *v = p, *blank = 0;
    for (;;) {
        char c = *p;
        if (c == '(') {
            /* Values mixed with a sub-list: the whole list is dropped and
            ** its slot reused. Skip to the ')' that closes it. */
            amiFreeNode(node, AMIPARAM_LEAF);
            e->node = 0;
            int nest = 1;
            while (*p) {
                if (*p == '"') {
                    p++;
                    while (*p && *p != '"') p++;
                    if (*p) p++;
                    continue;
                }
                if (*p == '(') nest++;
                if (*p == ')' && --nest == 0) {
                    p++;
                    break;
                }
                p++;
            }
            CMN_SkipWhiteSpace(&p);
            if (sc->depth < 2) return AMIPARAM_DEPTH;
            sc->depth = d0 - 1;
            sc->i++;
            sc->p = sc->resume = p;
            return AMIPARAM_OK;
        }
        if (c == ')') {
            if (!amiAppendValue(node, v, p)) return AMIPARAM_NO_MEMORY;
            p++;
            CMN_SkipWhiteSpace(&p);
            if (sc->depth < 2) return AMIPARAM_DEPTH;
            sc->depth = d0 - 1;
            sc->p = sc->resume = p;
            sc->k++;
            sc->i++;
            return AMIPARAM_OK;
        }
        if (c == 0) {
            /* Only an unterminated quote gets here; its value is lost. */
            sc->p = sc->resume = p;
            sc->k++;
            sc->i++;
            return AMIPARAM_OK;
        }
        if (CMN_IsSpace(c)) {
            if (blank == 0) blank = p;
            p++;
        } else if (blank) {
            if (!amiAppendValue(node, v, blank)) return AMIPARAM_NO_MEMORY;
            v = p;
            blank = 0;
        } else if (c == '"') {
            /* A quoted stretch is one value, its quotes blanked; any text
            ** before the opening quote is discarded. */
            *p++ = ' ';
            v = p;
            while (*p && *p != '"') p++;
            if (*p == '"') *p = ' ';
        } else {
            p++;
        }
    }
}

int AMIPARAM_Flatten(char *text, AmiEntry *entries, int *count) {
    CMN_ASSERT(text != 0 && entries != 0 && count != 0, "amiparam/amiparam");
    AmiScan sc;
    sc.p = sc.resume = text;
    sc.entries = entries;
    sc.n = *count;
    sc.k = sc.i = sc.depth = 0;
    int rc = AMIPARAM_OK;

    while (rc == AMIPARAM_OK && sc.i < sc.n) {
        /* List start. */
        sc.p = sc.resume;
        if (*sc.p == '(') {
            sc.p++;
            sc.depth++;
            CMN_SkipWhiteSpace(&sc.p);
        }
        int d0 = sc.depth;
        char *s = sc.p, *mark = 0;

        /* Name scan. */
        for (;;) {
            char c = *sc.p;
            if (c == 0) {
                sc.i++;
                sc.resume = sc.p;
                break;
            }
            if (c == '(') {
                char *end = mark ? mark : sc.p;
                if (sc.k >= sc.n) {
                    rc = AMIPARAM_OVERFLOW;
                } else if (end < s) {
                    rc = AMIPARAM_SYNTAX;
                } else {
                    AmiNode *node = amiNewNode(s, end, AMIPARAM_BRANCH);
                    if (node == 0) {
                        rc = AMIPARAM_NO_MEMORY;
                    } else {
                        AmiEntry *e = &sc.entries[sc.k++];
                        e->kind = AMIPARAM_BRANCH;
                        e->level = (d0 + 1) / 2;
                        e->node = node;
                        sc.depth = d0 + 1;
                        sc.resume = sc.p;
                        sc.i++;
                    }
                }
                break;
            }
            if (c == ')') {
                /* The enclosing branch closes after its last child, or a
                ** list holds only a name. */
                sc.p++;
                CMN_SkipWhiteSpace(&sc.p);
                if (d0 < 2 || sc.i < 1) {
                    rc = AMIPARAM_DEPTH;
                    break;
                }
                sc.i--;
                CMN_SkipWhiteSpace(&sc.p);
                if (*sc.p == '(') {
                    sc.p++;
                    d0 -= 1;
                } else {
                    d0 -= 2;
                }
                CMN_SkipWhiteSpace(&sc.p);
                s = sc.p;
                continue;
            }
            if (CMN_IsSpace(c)) {
                if (mark == 0) mark = sc.p;
                sc.p++;
                continue;
            }
            if (mark) {
                rc = amiReadLeaf(&sc, s, mark, d0);
                break;
            }
            sc.p++;
        }
    }
    *count = sc.k < sc.n ? sc.k : sc.n;
    return rc;
}

/* ==== second pass ======================================================== */

/* Links entries[1..m) to their parents. */
static int amiLink(AmiEntry *entries, int m) {
    if (m < 1 || entries[0].kind != AMIPARAM_BRANCH || entries[0].node == 0)
        return AMIPARAM_NO_PARENT; /* the outermost list is a leaf or was dropped */

    int maxLevel = 1;
    for (int e = 0; e < m; e++)
        if (entries[e].level > maxLevel) maxLevel = entries[e].level;
    int *stack;
    if (!CMN_Calloc(&stack, (size_t)maxLevel * sizeof *stack)) return AMIPARAM_NO_MEMORY;

    int rc = AMIPARAM_OK, top = 0;
    stack[0] = 0;
    for (int e = 1; e < m && rc == AMIPARAM_OK; e++) {
        const AmiEntry *E = &entries[e];
        if (E->kind != AMIPARAM_BRANCH && E->kind != AMIPARAM_LEAF) break;
        while (top > 0 && entries[stack[top]].level >= E->level) top--;
        const AmiEntry *P = &entries[stack[top]];
        if (P->level >= E->level) {
            rc = AMIPARAM_SECOND_ROOT;
        } else if (P->node == 0) {
            rc = AMIPARAM_NO_PARENT;
        } else if (P->level + 1 == E->level) {
            /* An entry whose level jumps by more than one stays out of the
            ** tree; its slot still owns and releases its node. */
            if (!amiAppendChild(P->node, E)) {
                rc = AMIPARAM_NO_MEMORY;
            } else if (E->kind == AMIPARAM_BRANCH) {
                if (top + 1 >= maxLevel)
                    rc = AMIPARAM_OVERFLOW;
                else
                    stack[++top] = e;
            }
        }
    }
    CMN_Free(&stack);
    return rc;
}

/* ==== parse and release ================================================== */

int AMIPARAM_Parse(const char *text, AmiParamTree **out) {
    if (text == 0 || out == 0) return AMIPARAM_NO_PARENT;
    char *cursor = (char *)text; /* only read */
    CMN_SkipWhiteSpace(&cursor); /* any run length is fine in a parameter string */
    if (*cursor != '(') return AMIPARAM_NO_LIST;

    size_t opens;
    if (!amiCountLists(cursor, &opens)) return AMIPARAM_UNBALANCED;
    if (opens > INT_MAX || opens > SIZE_MAX / sizeof(AmiEntry)) return AMIPARAM_NO_MEMORY;

    AmiParamTree *tree;
    if (!CMN_Calloc(&tree, sizeof *tree)) return AMIPARAM_NO_MEMORY;
    if (!CMN_Calloc(&tree->entries, opens * sizeof(AmiEntry))) {
        CMN_Free(&tree);
        return AMIPARAM_NO_MEMORY;
    }
    tree->count = (int)opens;

    char *copy = CMN_StrDup(cursor);
    int rc = AMIPARAM_NO_MEMORY;
    if (copy != 0) {
        int made = tree->count;
        rc = AMIPARAM_Flatten(copy, tree->entries, &made);
        if (rc == AMIPARAM_OK) rc = amiLink(tree->entries, made);
        CMN_Free(&copy);
    }
    if (rc != AMIPARAM_OK) {
        AMIPARAM_FreeTree(&tree);
        return rc;
    }
    *out = tree;
    return AMIPARAM_OK;
}

void AMIPARAM_FreeTree(AmiParamTree **tree) {
    if (tree == 0 || *tree == 0) return;
    AmiParamTree *t = *tree;
    if (t->entries) {
        for (int i = 0; i < t->count; i++) amiFreeNode(t->entries[i].node, t->entries[i].kind);
        CMN_Free(&t->entries);
    }
    CMN_Free(tree);
}
