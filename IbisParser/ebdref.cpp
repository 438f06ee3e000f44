/*
** ebdref.cpp: the after-file check of a board file: repeated board names,
** and the references of the boards' nodes to the components of this and
** of other .ibs and .ebd files.
**
** Every node whose designator the map names, with a valid file name and a
** component, is a reference.  References into the file itself are checked
** against its boards at once; the others are gathered per referenced file
** (EbdFileRef) and checked after that file was read.  A referenced .ebd
** file has references of its own: they join the same queue, so the files
** are read one after another, never inside one another, and each file is
** read once however many boards name it.  The records of every file read
** stay until the whole check is over, so a reference back into a file
** already read is checked against its records.  At the end, every chain
** of references that returns to the board it started from is reported,
** whatever its length: a recursion is a matter of boards, not of files, so
** two files that name each other are fine as long as no board reaches
** itself.
*/
#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ebdmdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <ctype.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define EBDREF_SRC "IbisParser/ebdref"

/* The target of a reference whose file could not be added. */
#define EBDREF_NO_FILE ((size_t)-1)

/* Longest pin name an .ibs component can have. */
#define EBDREF_MAX_IBS_PIN 5

typedef struct EbdPinRef {
  struct EbdPinRef *next;
  char component[EBDMDL_MAX_COMPONENT + 1];
  char pin[EBDMDL_MAX_PIN + 1];
  char refdes[EBDMDL_MAX_REFDES + 1];
  char board[EBDMDL_MAX_NAME + 1];
} EbdPinRef;

typedef struct EbdFileRef {
  struct EbdFileRef *next;
  char name[EBDMDL_MAX_FILE + 1];
  size_t from;   /* the referring file, in the table of files */
  size_t target; /* the referenced file, once resolved */
  EbdPinRef *first, *last;
} EbdFileRef;

/* One file of the check: the checked file first, then every file read. */
typedef struct EbdFile {
  char *name;       /* as named (the checked file: as opened) */
  char *path;       /* the name messages about it carry, once known */
  char *key;        /* the name in lower case: file names ignore case */
  int type;         /* CMN_FILE_IBS or CMN_FILE_EBD */
  IbisFile *file;   /* the records read, null for the checked file */
  int readable;     /* its records can be checked against */
  IbisItem *boards; /* an .ebd file's boards */
  NameIndex byName; /* component or board name -> record */
  NameIndex nodeOf; /* board name -> its node in the recursion check + 1 */
} EbdFile;

/* A reference from a board to a board of the same file; those to other
** files are in the queue. */
typedef struct EbdSameRef {
  size_t file;
  const char *from, *to; /* the boards' own names */
} EbdSameRef;

static int refCheckOn = 1;

/* The check in progress: the table of files, its index by key, the
** queue of references, and the file whose boards are being gathered. */
static int refActive;
static EbdFile *refFiles;
static size_t refFileCount, refFileCap;
static NameIndex refFileIndex; /* key -> file position + 1 */
static EbdFileRef *refQueue, *refQueueLast;
static size_t refGathering;
static EbdSameRef *refSame;
static size_t refSameCount, refSameCap;

int EBDMDL_SetReferenceCheck(int on) {
  refCheckOn = on != 0;
  return refCheckOn;
}

/* ---- the table of files ------------------------------------------------- */

/* Adds a file; 1 and its position in *at, or 0 when memory ran out. */
static int refAddFile(const char *name, int type, size_t *at) {
  EbdFile *f;
  char *p;
  if( refFileCount == refFileCap ) {
    size_t cap = refFileCap ? refFileCap * 2 : 8;
    if( refFiles == NULL
            ? !CMN_Calloc((void **)&refFiles, cap * sizeof(*refFiles))
            : !CMN_Realloc((void **)&refFiles, cap * sizeof(*refFiles)) ) {
      return 0;
    }
    refFileCap = cap;
  }
  f = &refFiles[refFileCount];
  memset(f, 0, sizeof(*f));
  if( (f->name = CMN_StrDup(name)) == NULL ) return 0;
  if( (f->key = CMN_StrDup(name)) == NULL ) {
    CMN_Free((void **)&f->name);
    return 0;
  }
  for( p = f->key; *p; p++ ) *p = (char)tolower((unsigned char)*p);
  f->type = type;
  NAMEIDX_Add(&refFileIndex, f->key, (void *)(uintptr_t)(refFileCount + 1));
  *at = refFileCount++;
  return 1;
}

/* 1 and the position of the file named `name` (case ignored), else 0. */
static int refFindFile(const char *name, size_t *at) {
  char key[EBDMDL_MAX_FILE + 1];
  size_t i;
  uintptr_t found;
  for( i = 0; name[i] && i < EBDMDL_MAX_FILE; i++ ) {
    key[i] = (char)tolower((unsigned char)name[i]);
  }
  key[i] = 0;
  found = (uintptr_t)NAMEIDX_Find(&refFileIndex, key);
  if( found == 0 ) return 0;
  *at = (size_t)(found - 1);
  return 1;
}

/* Indexes a file's boards (.ebd) or components (.ibs) by name. */
static void refIndexRecords(EbdFile *f, IbisItem *item) {
  if( f->type == CMN_FILE_EBD ) f->boards = item;
  for( ; item; item = item->next ) {
    if( item->record == NULL ) continue;
    if( f->type == CMN_FILE_IBS ) {
      CMPNT_Component *c = (CMPNT_Component *)item->record;
      NAMEIDX_Add(&f->byName, c->name, c);
    } else {
      EBDMDL *b = (EBDMDL *)item->record;
      NAMEIDX_Add(&f->byName, b->name, b);
    }
  }
}

static void refFreeQueue(void) {
  while( refQueue ) {
    EbdFileRef *next = refQueue->next;
    while( refQueue->first ) {
      EbdPinRef *pin = refQueue->first->next;
      CMN_Free((void **)&refQueue->first);
      refQueue->first = pin;
    }
    CMN_Free((void **)&refQueue);
    refQueue = next;
  }
  refQueueLast = NULL;
}

/* Releases the records of every file read, newest first, and the table. */
static void refFreeFiles(void) {
  while( refFileCount > 0 ) {
    EbdFile *f = &refFiles[--refFileCount];
    if( f->file ) IBIS_Free(&f->file);
    NAMEIDX_Free(&f->byName);
    NAMEIDX_Free(&f->nodeOf);
    if( f->path ) CMN_Free((void **)&f->path);
    CMN_Free((void **)&f->name);
    CMN_Free((void **)&f->key);
  }
  if( refFiles ) CMN_Free((void **)&refFiles);
  refFileCap = 0;
  NAMEIDX_Free(&refFileIndex);
  if( refSame ) CMN_Free((void **)&refSame);
  refSameCount = refSameCap = 0;
}

/* Notes a reference between two boards of the file being gathered; one
** that cannot be noted (no memory) only goes unchecked for recursion. */
static void refNoteSame(const char *from, const char *to) {
  if( refSameCount == refSameCap ) {
    size_t cap = refSameCap ? refSameCap * 2 : 16;
    if( refSame == NULL
            ? !CMN_Calloc((void **)&refSame, cap * sizeof(*refSame))
            : !CMN_Realloc((void **)&refSame, cap * sizeof(*refSame)) ) {
      return;
    }
    refSameCap = cap;
  }
  refSame[refSameCount].file = refGathering;
  refSame[refSameCount].from = from;
  refSame[refSameCount].to = to;
  refSameCount++;
}

/* Names file `f` as the one the following messages are about: a
** reference is the fault of the file that holds it. */
static void refAbout(size_t f) {
  if( refFiles[f].path ) MSG_SetFileName(refFiles[f].path);
}

/* ---- gathering the references of one file ------------------------------ */

typedef struct RefWalk {
  const EBDMDL *board;
  const EbdFile *self;     /* the file whose boards these are */
  NameIndex *fileRefs;     /* file name -> its EbdFileRef of this file */
  const NameIndex *boards; /* this file's boards by name */
} RefWalk;

/* The reference of a node into the file itself. */
static void refSameFile(const RefWalk *w, EBDREFDES *r, const EBDELEM *e) {
  const EBDMDL *target;
  if( strcmp(r->component, w->board->name) == 0 ) {
    MSG_ErrorCode(MSGC_EBD_REFDES_SELF, r->refdes, r->component);
    r->componentGiven = 0;
    return;
  }
  target = (const EBDMDL *)NAMEIDX_Find(w->boards, r->component);
  if( target == NULL ) {
    MSG_ErrorCode(MSGC_EBD_COMPONENT_NOT_IN_FILE, r->component, w->self->name);
    return;
  }
  if( EBDMDL_FindPin(target, e->pin) == NULL ) {
    MSG_ErrorCode(MSGC_EBD_PIN_NOT_ON_COMPONENT, e->pin, r->component,
                  w->self->name);
  }
  refNoteSame(w->board->name, target->name);
}

/* The EbdFileRef of `name` from the file being gathered, created at the
** end of the queue when new; null when memory ran out (reported). */
static EbdFileRef *refFileRef(const RefWalk *w, const char *name) {
  EbdFileRef *ref = (EbdFileRef *)NAMEIDX_Find(w->fileRefs, name);
  if( ref ) return ref;
  if( !CMN_Calloc((void **)&ref, sizeof(*ref)) ) {
    MSG_ErrorCode(MSGC_EBD_FILEREF_ALLOC_FAILED);
    return NULL;
  }
  snprintf(ref->name, sizeof(ref->name), "%s", name);
  ref->from = refGathering;
  ref->target = EBDREF_NO_FILE;
  if( refQueueLast )
    refQueueLast->next = ref;
  else
    refQueue = ref;
  refQueueLast = ref;
  NAMEIDX_Add(w->fileRefs, ref->name, ref);
  return ref;
}

static void refVisit(EBDELEM *e, void *context) {
  const RefWalk *w = (const RefWalk *)context;
  EBDREFDES *r;
  EbdFileRef *ref;
  EbdPinRef *pin = NULL;
  if( e->kind != EBD_ELEM_NODE ) return;
  r = EBDMDL_FindRefdes(w->board, e->refdes);
  if( r == NULL || !r->fileValid || !r->componentGiven ) return;
  if( CMN_StrEqualNoCase(r->file, w->self->name) ) {
    refSameFile(w, r, e);
    return;
  }
  if( (ref = refFileRef(w, r->file)) == NULL ) return;
  if( !CMN_Calloc((void **)&pin, sizeof(*pin)) ) {
    MSG_ErrorCode(MSGC_EBD_PINREF_ALLOC_FAILED);
    return;
  }
  memcpy(pin->component, r->component, sizeof(pin->component));
  memcpy(pin->pin, e->pin, sizeof(pin->pin));
  memcpy(pin->refdes, r->refdes, sizeof(pin->refdes));
  memcpy(pin->board, w->board->name, sizeof(pin->board));
  if( ref->last )
    ref->last->next = pin;
  else
    ref->first = pin;
  ref->last = pin;
}

/* Repeated board names, and the references of the boards gathered into
** the queue (those into the file itself checked at once). */
static void refGather(IbisItem *boards, const EbdFile *self) {
  NameIndex byName = { NULL, 0, 0 }, fileRefs = { NULL, 0, 0 };
  RefWalk w;
  IbisItem *item;
  /* One message per board that repeats an earlier name: a message per
  ** pair would grow with the square of the copies, and say no more. */
  for( item = boards; item; item = item->next ) {
    EBDMDL *b = (EBDMDL *)item->record;
    if( b == NULL ) continue;
    if( NAMEIDX_Contains(&byName, b->name) ) {
      MSG_ErrorCode(MSGC_EBD_DUPLICATE_BOARD, b->name);
    } else {
      NAMEIDX_Add(&byName, b->name, b);
    }
  }
  if( refCheckOn && self ) {
    w.self = self;
    w.fileRefs = &fileRefs;
    w.boards = &byName;
    for( item = boards; item; item = item->next ) {
      EBDPATH *path;
      if( (w.board = (const EBDMDL *)item->record) == NULL ) continue;
      for( path = w.board->paths; path; path = path->next ) {
        EBDPATH_Walk(path->first, refVisit, &w);
      }
    }
  }
  NAMEIDX_Free(&byName);
  NAMEIDX_Free(&fileRefs);
}

/* ---- reading the referenced files -------------------------------------- */

/* The path of file `name` in directory `dir` into `path` (CMN_MAX_PATH +
** 1 bytes): a separator is added only when the directory ends in neither
** '/' nor '\', so that both spellings of a directory join alike.  0 when
** too long. */
static int refJoin(char *path, const char *dir, const char *name) {
  size_t d = strlen(dir);
  int sep = d > 0 && dir[d - 1] != '/' && dir[d - 1] != '\\';
  int n = snprintf(path, CMN_MAX_PATH + 1, "%s%s%s", dir, sep ? "/" : "", name);
  return n >= 0 && n <= CMN_MAX_PATH;
}

/* Reads file `at` of the table, with its after-file checks, which gather
** its own references.  The reader's state is the checked file's again
** afterwards. */
static void refRead(size_t at, const char *dir) {
  char path[CMN_MAX_PATH + 1], fileName[CMN_MAX_PATH + 1];
  char about[CMN_MAX_PATH + 1];
  IbisFile *file = NULL;
  IbisItem *records = NULL;
  FILE *probe;
  int version = PARSE_GetDispatchVersion(), type = refFiles[at].type;
  size_t gathering = refGathering;
  if( !refJoin(path, dir, refFiles[at].name) ) {
    MSG_ErrorCode(MSGC_CMN_OPEN_FAILED, dir, refFiles[at].name);
    return;
  }
  snprintf(fileName, sizeof(fileName), "%s", CMN_GetFileName());
  snprintf(about, sizeof(about), "%s", MSG_GetFileName());
  if( !IBIS_New(&file) ) return;
  /* A file that cannot be opened is the fault of the file naming it; the
  ** findings in one that can are its own. */
  if( (probe = fopen(path, "rb")) != NULL ) {
    fclose(probe);
    refFiles[at].path = CMN_StrDup(path);
    refAbout(at);
  }
  refGathering = at;
  if( PARSE_File(path, type) ) {
    SECTION_RunAfterFileChecks(file);
    refFiles[at].file = file;
    refFiles[at].readable = 1;
    IBIS_GetList(file, type == CMN_FILE_IBS ? SECTION_COMPONENT : SECTION_BOARD,
                 &records);
    refIndexRecords(&refFiles[at], records);
  } else {
    IBIS_Free(&file);
  }
  refGathering = gathering;
  PARSE_SetDispatchVersion(version);
  CMN_SetFileName(fileName);
  MSG_SetFileName(about);
}

static void refCheckPins(const EbdFileRef *ref) {
  const EbdFile *f = &refFiles[ref->target];
  const EbdPinRef *p;
  for( p = ref->first; p; p = p->next ) {
    void *record;
    int hasPin;
    if( f->type == CMN_FILE_IBS && strlen(p->pin) > EBDREF_MAX_IBS_PIN ) {
      MSG_ErrorCode(MSGC_EBD_PIN_REF_TOO_LONG, p->pin, p->component);
      continue;
    }
    if( (record = NAMEIDX_Find(&f->byName, p->component)) == NULL ) {
      MSG_ErrorCode(MSGC_EBD_COMPONENT_NOT_IN_FILE, p->component, ref->name);
      continue;
    }
    if( f->type == CMN_FILE_IBS )
      hasPin = CMPNT_FindPin((const CMPNT_Component *)record, p->pin) != NULL;
    else
      hasPin = EBDMDL_FindPin((const EBDMDL *)record, p->pin) != NULL;
    if( !hasPin ) {
      MSG_ErrorCode(MSGC_EBD_PIN_NOT_ON_COMPONENT, p->pin, p->component,
                    ref->name);
    }
  }
}

/* Takes the queue in turn: each referenced file is read the first time it
** is named, and every reference checked against its records. */
static void refFollow(const char *dir) {
  EbdFileRef *ref;
  for( ref = refQueue; ref; ref = ref->next ) {
    size_t at;
    refAbout(ref->from);
    if( !refFindFile(ref->name, &at) ) {
      const char *dot = strrchr(ref->name, '.');
      int type = dot && strcmp(dot, ".ibs") == 0 ? CMN_FILE_IBS : CMN_FILE_EBD;
      if( !refAddFile(ref->name, type, &at) ) continue;
      refRead(at, dir);
    }
    ref->target = at;
    if( refFiles[at].readable ) refCheckPins(ref);
  }
}

/* ---- recursion ---------------------------------------------------------- */

/* The references among boards as a graph: one node per board of every
** .ebd file read, one edge per pair of boards a reference joins. */
typedef struct RefGraph {
  size_t nodes, edges;
  size_t *nodeFile;      /* per node: its file */
  const char **nodeName; /* per node: its board's name */
  size_t (*edge)[2];     /* (from, to) pairs, sorted, each once */
  size_t *first;         /* per node + 1: its first edge */
} RefGraph;

static void refGraphFree(RefGraph *g) {
  if( g->nodeFile ) CMN_Free((void **)&g->nodeFile);
  if( g->nodeName ) CMN_Free((void **)&g->nodeName);
  if( g->edge ) CMN_Free((void **)&g->edge);
  if( g->first ) CMN_Free((void **)&g->first);
}

/* Numbers the boards of every .ebd file read; 0 when memory ran out. */
static int refGraphNodes(RefGraph *g) {
  size_t f, n = 0;
  IbisItem *item;
  for( f = 0; f < refFileCount; f++ ) {
    for( item = refFiles[f].boards; item; item = item->next ) n += 1;
  }
  if( n == 0 ) return 1;
  if( !CMN_Calloc((void **)&g->nodeFile, n * sizeof(*g->nodeFile))
      || !CMN_Calloc((void **)&g->nodeName, n * sizeof(*g->nodeName)) ) {
    return 0;
  }
  for( f = 0; f < refFileCount; f++ ) {
    EbdFile *file = &refFiles[f];
    if( !file->readable ) continue;
    for( item = file->boards; item; item = item->next ) {
      const EBDMDL *b = (const EBDMDL *)item->record;
      /* A repeated board name was reported; references reach the first. */
      if( b == NULL || NAMEIDX_Contains(&file->nodeOf, b->name) ) continue;
      g->nodeFile[g->nodes] = f;
      g->nodeName[g->nodes] = b->name;
      NAMEIDX_Add(&file->nodeOf, b->name, (void *)(uintptr_t)(g->nodes + 1));
      g->nodes++;
    }
  }
  return 1;
}

/* The node of board `name` of file `f`, or (size_t)-1. */
static size_t refGraphNode(size_t f, const char *name) {
  uintptr_t at;
  if( f == EBDREF_NO_FILE || refFiles[f].type != CMN_FILE_EBD )
    return (size_t)-1;
  at = (uintptr_t)NAMEIDX_Find(&refFiles[f].nodeOf, name);
  return at ? (size_t)(at - 1) : (size_t)-1;
}

static void refGraphAdd(RefGraph *g, size_t cap, size_t from, size_t to) {
  if( from == (size_t)-1 || to == (size_t)-1 || g->edges >= cap ) return;
  g->edge[g->edges][0] = from;
  g->edge[g->edges][1] = to;
  g->edges++;
}

static int refEdgeCompare(const void *a, const void *b) {
  const size_t *x = (const size_t *)a, *y = (const size_t *)b;
  if( x[0] != y[0] ) return x[0] < y[0] ? -1 : 1;
  return x[1] < y[1] ? -1 : x[1] > y[1];
}

/* The edges of every reference between boards, sorted by their first
** node and each pair kept once; 0 when memory ran out. */
static int refGraphEdges(RefGraph *g) {
  const EbdFileRef *ref;
  const EbdPinRef *p;
  size_t cap = refSameCount, i, kept = 0;
  for( ref = refQueue; ref; ref = ref->next ) {
    for( p = ref->first; p; p = p->next ) cap++;
  }
  if( !CMN_Calloc((void **)&g->first, (g->nodes + 1) * sizeof(*g->first)) )
    return 0;
  if( cap == 0 ) return 1;
  if( !CMN_Calloc((void **)&g->edge, cap * sizeof(*g->edge)) ) return 0;
  for( i = 0; i < refSameCount; i++ ) {
    refGraphAdd(g, cap, refGraphNode(refSame[i].file, refSame[i].from),
                refGraphNode(refSame[i].file, refSame[i].to));
  }
  for( ref = refQueue; ref; ref = ref->next ) {
    for( p = ref->first; p; p = p->next ) {
      refGraphAdd(g, cap, refGraphNode(ref->from, p->board),
                  refGraphNode(ref->target, p->component));
    }
  }
  if( g->edges > 1 ) qsort(g->edge, g->edges, sizeof(*g->edge), refEdgeCompare);
  for( i = 0; i < g->edges; i++ ) {
    if( kept > 0 && g->edge[kept - 1][0] == g->edge[i][0]
        && g->edge[kept - 1][1] == g->edge[i][1] ) {
      continue;
    }
    g->edge[kept][0] = g->edge[i][0];
    g->edge[kept][1] = g->edge[i][1];
    kept++;
  }
  g->edges = kept;
  /* first[n] .. first[n + 1] are the edges of node n. */
  for( i = 0; i < g->edges; i++ ) g->first[g->edge[i][0] + 1]++;
  for( i = 0; i < g->nodes; i++ ) g->first[i + 1] += g->first[i];
  return 1;
}

/* Reports every reference that closes a chain of boards back to a board
** on it: a depth-first walk of the graph, kept on a stack of its own, so
** each such reference is reported once. */
static void refGraphWalk(const RefGraph *g) {
  enum { NEW = 0, OPEN, DONE };
  unsigned char *state = NULL;
  size_t *next = NULL, *stack = NULL, depth = 0, root;
  if( g->nodes == 0 || g->edges == 0 ) return;
  if( !CMN_Calloc((void **)&state, g->nodes)
      || !CMN_Calloc((void **)&next, g->nodes * sizeof(*next))
      || !CMN_Calloc((void **)&stack, g->nodes * sizeof(*stack)) ) {
    goto done;
  }
  for( root = 0; root < g->nodes; root++ ) {
    if( state[root] != NEW ) continue;
    state[root] = OPEN;
    next[root] = g->first[root];
    stack[depth++] = root;
    while( depth > 0 ) {
      size_t at = stack[depth - 1], to;
      if( next[at] == g->first[at + 1] ) {
        state[at] = DONE;
        depth--;
        continue;
      }
      to = g->edge[next[at]++][1];
      if( state[to] == OPEN ) {
        refAbout(g->nodeFile[at]);
        MSG_ErrorCode(MSGC_EBD_RECURSIVE_REFERENCE,
                      refFiles[g->nodeFile[at]].name, g->nodeName[to],
                      refFiles[g->nodeFile[to]].name);
      } else if( state[to] == NEW ) {
        state[to] = OPEN;
        next[to] = g->first[to];
        stack[depth++] = to;
      }
    }
  }
done:
  if( state ) CMN_Free((void **)&state);
  if( next ) CMN_Free((void **)&next);
  if( stack ) CMN_Free((void **)&stack);
}

static void refReportRecursion(void) {
  RefGraph g;
  memset(&g, 0, sizeof(g));
  if( refGraphNodes(&g) && refGraphEdges(&g) ) refGraphWalk(&g);
  refGraphFree(&g);
}

/* ---- entry points ------------------------------------------------------ */

void EBDMDL_CheckFile(IbisItem *boards, int skip) {
  char dir[CMN_MAX_PATH + 1], about[CMN_MAX_PATH + 1];
  size_t self;
  if( refActive ) {
    /* A referenced file: its references join the queue of the check in
    ** progress, which reads the files they name. */
    refGather(boards, &refFiles[refGathering]);
    return;
  }
  if( !refCheckOn ) {
    refGather(boards, NULL);
    return;
  }
  snprintf(dir, sizeof(dir), "%s", CMN_GetDirectory());
  snprintf(about, sizeof(about), "%s", MSG_GetFileName());
  if( !refAddFile(CMN_GetFileName(), CMN_FILE_EBD, &self) ) {
    refFreeFiles();
    return;
  }
  refFiles[self].path = CMN_StrDup(about);
  refIndexRecords(&refFiles[self], boards);
  refFiles[self].readable = 1;
  refActive = 1;
  refGathering = self;
  refGather(boards, &refFiles[self]);
  if( !skip ) {
    refFollow(dir);
    refReportRecursion();
  }
  MSG_SetFileName(about);
  refActive = 0;
  refFreeQueue();
  refFreeFiles();
}

void EBDMDL_AfterFile(struct IbisFile *file) {
  IbisItem *boards = NULL;
  EBDMDL_EndOpenBoard();
  IBIS_GetBoards(file, &boards);
  if( boards == NULL && !refActive ) return;
  EBDMDL_CheckFile(boards, 0);
}
