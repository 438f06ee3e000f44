/*
** sect.cpp: R/L/C sections and section lists.
**
** A section is a run of "name=value" items (Len, L, R, C) ended by '/'.
** Each item is read on its own, so that one bad item is reported and
** skipped while the rest of the section is still read.
*/
#include "IbisParser/sect.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

#define SECT_SRC "IbisParser/sect"

/* Longest value text read as a number; a longer one is no number. */
#define SECT_MAX_VALUE 255

enum { ITEM_END, ITEM_SLASH, ITEM_FAILED, ITEM_VALUE };
enum { SUB_LEN, SUB_L, SUB_R, SUB_C, SUB_COUNT };

typedef struct SectItem {
  int sub;      /* SUB_* of an ITEM_VALUE */
  int isNumber; /* the value read as a number */
  double value;
} SectItem;

static int sectIsBlank(int c) { return c == ' ' || c == '\t'; }

static const char *sectSkipBlanks(const char *p) {
  while( sectIsBlank(*p) ) p++;
  return p;
}

static int sectSubOf(const char *name, size_t n) {
  static const char *const names[SUB_COUNT] = { "Len", "L", "R", "C" };
  int i;
  for( i = 0; i < SUB_COUNT; i++ ) {
    if( strlen(names[i]) == n && strncmp(names[i], name, n) == 0 ) return i;
  }
  return -1;
}

/* Reads the value of an item from `p`; returns the end of the value. */
static const char *sectValue(const char *p, SectItem *item) {
  char buf[SECT_MAX_VALUE + 1];
  const char *start = p;
  size_t n;
  while( *p && !sectIsBlank(*p) && *p != '/' ) p++;
  n = (size_t)(p - start);
  item->isNumber = 1;
  item->value = 0.0;
  if( n == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMN_NUMBER_EXPECTED);
    return p;
  }
  if( n > SECT_MAX_VALUE ) n = SECT_MAX_VALUE;
  memcpy(buf, start, n);
  buf[n] = 0;
  if( n == SECT_MAX_VALUE || CMN_ParseNumber(buf, &item->value) != 1 ) {
    MSG_ErrorCodeLine(MSGC_CMN_ILLEGAL_NUMBER, buf);
    item->isNumber = 0;
  }
  return p;
}

/* The R/L/C item reader: one item from *cursor, which moves past it. */
static int sectItem(const char **cursor, SectItem *item) {
  const char *p = sectSkipBlanks(*cursor), *name;
  char token[SECT_MAX_VALUE + 1];
  size_t n;
  if( *p == 0 ) {
    *cursor = p;
    return ITEM_END;
  }
  if( *p == '/' ) {
    *cursor = sectSkipBlanks(p + 1);
    return ITEM_SLASH;
  }
  if( *p == '=' ) {
    MSG_ErrorCodeLine(MSGC_CMN_UNEXPECTED_EQUALS);
    *cursor = p + 1;
    return ITEM_FAILED;
  }
  for( name = p; *p && !sectIsBlank(*p) && *p != '=' && *p != '/'; p++ ) {}
  n = (size_t)(p - name);
  if( (item->sub = sectSubOf(name, n)) < 0 ) {
    if( n > SECT_MAX_VALUE ) n = SECT_MAX_VALUE;
    memcpy(token, name, n);
    token[n] = 0;
    MSG_ErrorCodeLine(MSGC_CMN_RLC_UNEXPECTED_TOKEN, token);
    *cursor = p;
    return ITEM_FAILED;
  }
  p = sectSkipBlanks(p);
  if( *p == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMN_RLC_PREMATURE_END);
    *cursor = p;
    return ITEM_END;
  }
  if( *p != '=' ) {
    MSG_ErrorCodeLine(MSGC_CMN_RLC_MISSING_EQUALS);
    p = strchr(p, '/');
    *cursor = p ? p + 1 : *cursor + strlen(*cursor);
    return ITEM_FAILED;
  }
  p = sectValue(p + 1, item);
  *cursor = sectSkipBlanks(p);
  return ITEM_VALUE;
}

/* What one section has read so far. */
typedef struct SectState {
  int items;
  int given[SUB_COUNT];
  int isNumber[SUB_COUNT];
  double value[SUB_COUNT];
} SectState;

static void sectTake(SectState *s, const SectItem *item) {
  static const int duplicate[SUB_COUNT] = { MSGC_SECT_DUPLICATE_LEN,
                                            MSGC_SECT_DUPLICATE_L,
                                            MSGC_SECT_DUPLICATE_R,
                                            MSGC_SECT_DUPLICATE_C };
  static const int negative[SUB_COUNT] = { MSGC_SECT_NEGATIVE_LEN,
                                           MSGC_SECT_NEGATIVE_L,
                                           MSGC_SECT_NEGATIVE_R,
                                           MSGC_SECT_NEGATIVE_C };
  static const int beforeLen[SUB_COUNT] = { 0, MSGC_SECT_L_BEFORE_LEN,
                                            MSGC_SECT_R_BEFORE_LEN,
                                            MSGC_SECT_C_BEFORE_LEN };
  int k = item->sub;
  if( k != SUB_LEN && !s->given[SUB_LEN] ) MSG_ErrorCodeLine(beforeLen[k]);
  if( s->given[k] ) MSG_ErrorCodeLine(duplicate[k]);
  if( item->isNumber && item->value < 0.0 ) MSG_ErrorCodeLine(negative[k]);
  s->items++;
  s->given[k] = 1;
  s->isNumber[k] = item->isNumber;
  s->value[k] = item->value;
}

static int sectNewValue(double **slot, double value) {
  if( !CMN_Calloc((void **)slot, sizeof(double)) ) return 0;
  **slot = value;
  return 1;
}

/* The section read so far, at its '/'. */
static int sectFinish(const SectState *s, SECT **out) {
  SECT *sect = NULL;
  double **slot[SUB_COUNT];
  int k;
  if( s->given[SUB_LEN] && (!s->isNumber[SUB_LEN] || s->value[SUB_LEN] != 0.0)
      && (!s->given[SUB_L] || !s->given[SUB_C]) ) {
    MSG_ErrorCodeLine(MSGC_SECT_NEEDS_L_AND_C);
  }
  if( s->items == 0 ) MSG_ErrorCodeLine(MSGC_SECT_EMPTY);
  if( !CMN_Calloc((void **)&sect, sizeof(*sect)) ) {
    MSG_BugCodeLine(MSGC_SECT_NO_MEMORY, SECT_SRC, __LINE__);
    return 0;
  }
  slot[SUB_LEN] = &sect->len;
  slot[SUB_L] = &sect->l;
  slot[SUB_R] = &sect->r;
  slot[SUB_C] = &sect->c;
  for( k = 0; k < SUB_COUNT; k++ ) {
    if( s->given[k] && s->isNumber[k] && !sectNewValue(slot[k], s->value[k]) ) {
      MSG_BugCodeLine(MSGC_SECT_NO_MEMORY, SECT_SRC, __LINE__);
      SECT_Free(&sect);
      return 0;
    }
  }
  *out = sect;
  return 1;
}

int SECT_Read(const char *text, SECT **out, const char **rest) {
  SectState s;
  SectItem item;
  const char *p = text;
  CMN_ASSERT(text != NULL && out != NULL && rest != NULL, SECT_SRC);
  memset(&s, 0, sizeof(s));
  *out = NULL;
  for( ;; ) {
    switch( sectItem(&p, &item) ) {
      case ITEM_END:
        *rest = p;
        if( s.items == 0 ) return 1;
        MSG_ErrorCodeLine(MSGC_SECT_NO_TRAILING_SLASH);
        return 0;
      case ITEM_SLASH:
        *rest = p;
        /* Out of memory the section is lost but the line reads on. */
        sectFinish(&s, out);
        return 1;
      case ITEM_VALUE:
        sectTake(&s, &item);
        break;
      default:
        break;
    }
  }
}

void SECT_Free(SECT **sect) {
  CMN_ASSERT(sect != NULL, SECT_SRC);
  if( *sect == NULL ) return;
  if( (*sect)->len ) CMN_Free((void **)&(*sect)->len);
  if( (*sect)->l ) CMN_Free((void **)&(*sect)->l);
  if( (*sect)->r ) CMN_Free((void **)&(*sect)->r);
  if( (*sect)->c ) CMN_Free((void **)&(*sect)->c);
  CMN_Free((void **)sect);
}

int SECT_NewNode(int kind, SectNode **out) {
  CMN_ASSERT(out != NULL, SECT_SRC);
  *out = NULL;
  if( !CMN_Calloc((void **)out, sizeof(SectNode)) ) {
    MSG_BugCodeLine(MSGC_SECT_NO_MEMORY, SECT_SRC, __LINE__);
    return 0;
  }
  (*out)->kind = kind;
  return 1;
}

void SECT_FreeList(SectNode **list) {
  SectNode *node;
  CMN_ASSERT(list != NULL, SECT_SRC);
  node = *list;
  /* A fork's branch is rotated up in its place until no node has one:
  ** each step moves one node, so the whole tree goes in linear time. */
  while( node ) {
    if( node->branch ) {
      SectNode *branch = node->branch;
      node->branch = branch->next;
      branch->next = node;
      node = branch;
    } else {
      SectNode *next = node->next;
      if( node->sect ) SECT_Free(&node->sect);
      CMN_FreeBlock(node);
      node = next;
    }
  }
  *list = NULL;
}
