/*
** pkgpin.cpp: the pin list of a package model.
**
** Plain form: one pin name per line.  Section form ([Number Of Sections]):
** a pin name followed by R/L/C sections, continued on lines that begin
** with "Len=", with Fork/Endfork lines around the sections of a branch.
** Pin names are indexed by a hash, so that a matrix row or entry finds its
** pin in constant time however many pins the model has.
*/
#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/pkgmdl.h"

#include <string.h>

#define PKGPIN_SRC "IbisParser/pkgpin"

/* Section-form state of the model being read. */
static unsigned pinCurrent; /* 1-based position of the current pin, or 0 */
static SectNode *pinTail;   /* last node linked for the current pin */
static SectNode *pinForks;  /* open forks, innermost first */

void PKGPIN_Reset(void) {
  pinCurrent = 0;
  pinTail = NULL;
  pinForks = NULL;
}

static unsigned pinHashOf(const char *s) {
  unsigned h = 2166136261u;
  for( ; *s; s++ ) h = (h ^ (unsigned char)*s) * 16777619u;
  return h;
}

/* The slot of `name` in the hash: its pin or the empty slot to fill. */
static unsigned *pinSlot(const PKGMDL *m, const char *name) {
  unsigned mask = m->pinHashSize - 1, i = pinHashOf(name) & mask;
  while( m->pinHash[i] && strcmp(m->pinName[m->pinHash[i] - 1], name) != 0 ) {
    i = (i + 1) & mask;
  }
  return &m->pinHash[i];
}

int PKGPIN_Index(const PKGMDL *m, const char *name, unsigned *out) {
  unsigned *slot;
  CMN_ASSERT(m != NULL && name != NULL && out != NULL, PKGPIN_SRC);
  *out = 0;
  if( m->pinHashSize == 0 || strlen(name) > PKGMDL_MAX_PIN ) return 0;
  slot = pinSlot(m, name);
  *out = *slot;
  return *slot != 0;
}

/* Room in the hash for one more name. */
static int pinHashGrow(PKGMDL *m) {
  unsigned *old = m->pinHash, oldSize = m->pinHashSize, i;
  unsigned size = oldSize ? oldSize * 2 : 64;
  if( (m->pinCount + 1) * 2ull <= oldSize ) return 1;
  if( !CMN_Calloc((void **)&m->pinHash, (size_t)size * sizeof(unsigned)) ) {
    m->pinHash = old;
    return 0;
  }
  m->pinHashSize = size;
  for( i = 0; i < oldSize; i++ ) {
    if( old[i] ) *pinSlot(m, m->pinName[old[i] - 1]) = old[i];
  }
  if( old ) CMN_FreeBlock(old);
  return 1;
}

/* Room for one more pin name (and its section list in section form). */
static int pinRoom(PKGMDL *m, int sections) {
  unsigned cap = m->pinCap;
  if( sections && m->pinSections == NULL
      && !CMN_Calloc((void **)&m->pinSections,
                     (size_t)(cap ? cap : 1) * sizeof(PkgPinSections)) ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_SECTION_ARRAY_FAILED);
    return 0;
  }
  if( m->pinCount < cap ) return 1;
  cap = cap < m->numPins / 2 ? (cap ? cap * 2 : 64) : m->numPins;
  if( cap > m->numPins ) cap = m->numPins;
  if( !CMN_Realloc((void **)&m->pinName, (size_t)cap * sizeof(*m->pinName)) ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_PIN_ALLOC_FAILED);
    return 0;
  }
  if( m->pinSections ) {
    if( !CMN_Realloc((void **)&m->pinSections,
                     (size_t)cap * sizeof(PkgPinSections)) ) {
      MSG_ErrorCodeLine(MSGC_PKGMDL_SECTION_ARRAY_FAILED);
      return 0;
    }
    memset(m->pinSections + m->pinCap, 0,
           (size_t)(cap - m->pinCap) * sizeof(PkgPinSections));
  }
  m->pinCap = cap;
  return 1;
}

/* Stores a pin name (at most PKGMDL_MAX_PIN characters of it): its
** 1-based position, or 0 when the pin was dropped (reported). */
static unsigned pinStore(PKGMDL *m, const char *name, int sections) {
  unsigned *slot;
  if( m->pinName == NULL ) {
    if( m->numPins == 0 ) {
      MSG_ErrorCodeLine(MSGC_PKGMDL_PIN_COUNT_ZERO);
      return 0;
    }
    m->pinCap = m->numPins < 64 ? m->numPins : 64;
    if( !CMN_Calloc((void **)&m->pinName,
                    (size_t)m->pinCap * sizeof(*m->pinName)) ) {
      m->pinCap = 0;
      MSG_ErrorCodeLine(MSGC_PKGMDL_PIN_ARRAY_FAILED);
      return 0;
    }
  }
  if( m->pinCount >= m->numPins ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_TOO_MANY_PIN_NAMES);
    return 0;
  }
  if( !pinRoom(m, sections) ) return 0;
  memcpy(m->pinName[m->pinCount], name, PKGMDL_MAX_PIN);
  m->pinName[m->pinCount][PKGMDL_MAX_PIN] = 0;
  m->pinCount++;
  if( !pinHashGrow(m) ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_PIN_ALLOC_FAILED);
    return m->pinCount;
  }
  slot = pinSlot(m, m->pinName[m->pinCount - 1]);
  if( *slot ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_DUPLICATE_PIN, m->pinName[m->pinCount - 1]);
  } else {
    *slot = m->pinCount;
  }
  return m->pinCount;
}

/* A pin name cut to PKGMDL_MAX_PIN characters, reported when longer. */
static void pinName(const char *text, size_t len,
                    char name[PKGMDL_MAX_PIN + 1]) {
  memset(name, 0, PKGMDL_MAX_PIN + 1);
  if( len > PKGMDL_MAX_PIN ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_PIN_NAME_TOO_LONG);
    len = PKGMDL_MAX_PIN;
  }
  memcpy(name, text, len);
}

void PKGPIN_PlainLine(PKGMDL *m, const char *text) {
  char name[PKGMDL_MAX_PIN + 1];
  CMN_ASSERT(m != NULL && text != NULL, PKGPIN_SRC);
  pinName(text, strlen(text), name);
  pinStore(m, name, 0);
}

/* Links a node after the current pin's tail: into the branch of the fork
** just opened, after the tail, or as the first node of the pin. */
static void pinLink(PKGMDL *m, SectNode *node) {
  PkgPinSections *ps = &m->pinSections[pinCurrent - 1];
  if( pinTail && pinTail == pinForks && pinTail->branch == NULL ) {
    pinTail->branch = node;
  } else if( pinTail ) {
    pinTail->next = node;
  } else {
    node->next = ps->first;
    ps->first = node;
  }
  pinTail = node;
  if( node->kind == SECT_NODE_SECTION ) ps->count++;
}

/* Reads sections until the text holds no more; 3449 when the pin still
** has none. */
static void pinReadSections(PKGMDL *m, const char *text) {
  const char *p = text, *rest;
  SECT *sect;
  SectNode *node;
  for( ;; ) {
    if( !SECT_Read(p, &sect, &rest) || sect == NULL ) break;
    if( !SECT_NewNode(SECT_NODE_SECTION, &node) ) {
      SECT_Free(&sect);
      break;
    }
    node->sect = sect;
    pinLink(m, node);
    p = rest;
  }
  if( m->pinSections[pinCurrent - 1].first == NULL ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_PIN_WITHOUT_SECTIONS);
  }
}

static void pinFork(PKGMDL *m) {
  SectNode *node;
  if( pinForks ) MSG_ErrorCodeLine(MSGC_PKGMDL_NESTED_FORK);
  if( pinCurrent == 0 ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_ORPHAN_FORK);
    return;
  }
  if( !SECT_NewNode(SECT_NODE_FORK, &node) ) return;
  pinLink(m, node);
  node->below = pinForks;
  pinForks = node;
}

static void pinEndfork(void) {
  SectNode *fork;
  if( pinCurrent == 0 ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_ORPHAN_ENDFORK);
    return;
  }
  if( pinForks == NULL ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_ENDFORK_WITHOUT_FORK);
    return;
  }
  fork = pinForks;
  pinForks = fork->below;
  fork->below = NULL;
  pinTail = fork;
  if( fork->branch == NULL ) MSG_ErrorCodeLine(MSGC_PKGMDL_EMPTY_FORK);
}

/* The suspicious-name warnings of a section-form pin name. */
static void pinCheckName(const char *name) {
  static const char *const words[] = {
    "Len", "Fork", "Endfork", "C", "R", "L"
  };
  size_t i;
  if( strchr(name, '=') )
    MSG_WarningCodeLine(MSGC_PKGMDL_PIN_NAME_EQUALS, name);
  if( strchr(name, '/') ) MSG_WarningCodeLine(MSGC_PKGMDL_PIN_NAME_SLASH, name);
  for( i = 0; i < sizeof(words) / sizeof(words[0]); i++ ) {
    if( strcmp(name, words[i]) == 0 ) {
      MSG_WarningCodeLine(MSGC_PKGMDL_PIN_NAME_SUSPICIOUS, name);
    }
  }
}

/* A line that begins a new pin: its name, then its sections. */
static void pinNewPin(PKGMDL *m, char *text) {
  char name[PKGMDL_MAX_PIN + 1];
  char *p = text, *rest;
  unsigned position;
  while( *p && *p != ' ' && *p != '\t' ) p++;
  rest = p;
  while( *rest == ' ' || *rest == '\t' ) rest++;
  *p = 0;
  pinTail = NULL;
  pinCurrent = 0;
  if( pinForks ) {
    MSG_ErrorCodeLine(MSGC_PKGMDL_PIN_IN_OPEN_FORK, text);
    pinForks = NULL;
  }
  pinName(text, (size_t)(p - text), name);
  pinCheckName(text);
  if( (position = pinStore(m, name, 1)) == 0 ) return;
  pinCurrent = position;
  pinReadSections(m, rest);
}

/* "Len" then, after blanks, '=': a line that continues the current pin. */
static int pinIsContinuation(const char *text) {
  if( strncmp(text, "Len", 3) != 0 ) return 0;
  for( text += 3; *text == ' ' || *text == '\t'; text++ ) {}
  return *text == '=';
}

void PKGPIN_SectionLine(PKGMDL *m, char *text) {
  CMN_ASSERT(m != NULL && text != NULL, PKGPIN_SRC);
  if( pinIsContinuation(text) ) {
    if( pinCurrent == 0 || m->pinSections == NULL ) {
      MSG_ErrorCodeLine(MSGC_PKGMDL_ORPHAN_SECTION);
      return;
    }
    pinReadSections(m, text);
  } else if( strcmp(text, "Fork") == 0 ) {
    pinFork(m);
  } else if( strcmp(text, "Endfork") == 0 ) {
    pinEndfork();
  } else {
    pinNewPin(m, text);
  }
}

void PKGPIN_EndChecks(PKGMDL *m) {
  unsigned i;
  CMN_ASSERT(m != NULL, PKGPIN_SRC);
  if( pinForks ) {
    MSG_ErrorCode(MSGC_PKGMDL_UNTERMINATED_FORK);
    pinForks = NULL;
  }
  for( i = 0; m->pinSections && i < m->pinCount; i++ ) {
    if( m->pinSections[i].count > m->numSections ) {
      MSG_ErrorCode(MSGC_PKGMDL_TOO_MANY_SECTIONS, m->pinName[i],
                    (int)m->pinSections[i].count, (int)m->numSections);
    }
  }
  pinCurrent = 0;
  pinTail = NULL;
}

void PKGPIN_Free(PKGMDL *m) {
  unsigned i;
  CMN_ASSERT(m != NULL, PKGPIN_SRC);
  if( m->pinSections ) {
    for( i = 0; i < m->pinCap; i++ ) SECT_FreeList(&m->pinSections[i].first);
    CMN_Free((void **)&m->pinSections);
  }
  if( m->pinName ) CMN_Free((void **)&m->pinName);
  if( m->pinHash ) CMN_Free((void **)&m->pinHash);
  m->pinCount = m->pinCap = m->pinHashSize = 0;
}
