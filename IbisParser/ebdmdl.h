/*
** ebdmdl.h: board descriptions, [Begin Board Description] to [End Board
** Description] in .ebd files.
**
** One EBDMDL per board, appended to the current IbisFile's board list.  The
** section reads the identification keywords, the pin list, the electrical
** paths (ebdpath.cpp: chains of pins, nodes, R/L/C sections, forks and NC)
** and the reference designator map, and checks the board when the next
** section begins.  After the file, ebdref.cpp reports repeated board names
** and checks every reference to a component of another .ibs or .ebd file.
*/
#ifndef IBISPARSER_EBDMDL_H
#define IBISPARSER_EBDMDL_H

#include "IbisParser/ibis.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/sect.h"
#include "IbisParser/section.h"

#define EBDMDL_MAX_NAME 40
#define EBDMDL_MAX_MANUFACTURER 40
#define EBDMDL_MAX_PIN 8
#define EBDMDL_MAX_SIGNAL 20
#define EBDMDL_MAX_REFDES 10
#define EBDMDL_MAX_FILE_V3 24 /* dispatch versions 1 to 3 */
#define EBDMDL_MAX_FILE 44
#define EBDMDL_MAX_COMPONENT 40

typedef struct EBDPIN {
  char name[EBDMDL_MAX_PIN + 1];
  char signal[EBDMDL_MAX_SIGNAL + 1];
  unsigned refs; /* pin elements naming it, counted at the board's end */
} EBDPIN;

enum {
  EBD_ELEM_FORK = 0,
  EBD_ELEM_NODE = 1,
  EBD_ELEM_PIN = 2,
  EBD_ELEM_SECTION = 3,
  EBD_ELEM_NC = 4
};

typedef struct EBDELEM {
  struct EBDELEM *next;
  int kind;               /* EBD_ELEM_* */
  struct EBDELEM *branch; /* fork: the first element of its branch */
  struct EBDELEM *below;  /* fork: the next fork down while open */
  char refdes[EBDMDL_MAX_REFDES + 1]; /* node */
  char pin[EBDMDL_MAX_PIN + 1];       /* node and pin */
  SECT *sect;                         /* section */
} EBDELEM;

typedef struct EBDPATH {
  struct EBDPATH *next;
  char name[EBDMDL_MAX_NAME + 1];
  EBDELEM *first;
} EBDPATH;

typedef struct EBDREFDES {
  struct EBDREFDES *next;
  char refdes[EBDMDL_MAX_REFDES + 1];
  char file[EBDMDL_MAX_FILE + 1];
  char component[EBDMDL_MAX_COMPONENT + 1];
  int fileValid;
  int componentGiven;
} EBDREFDES;

typedef struct EBDMDL {
  struct EBDMDL *next;
  char name[EBDMDL_MAX_NAME + 1];
  char manufacturer[EBDMDL_MAX_MANUFACTURER + 1];
  unsigned numPins;
  /* The pin list in file order: pinCount entries, never more than numPins.
  ** The array grows with the pin lines, so a declared count allocates
  ** nothing by itself. */
  EBDPIN **pins;
  unsigned pinCount;
  unsigned pinCap;
  NameIndex pinIndex; /* pin name -> first EBDPIN of that name */
  EBDPATH *paths;     /* file order */
  EBDPATH *lastPath;
  NameIndex pathIndex; /* path name -> first EBDPATH of that name */
  EBDREFDES *map;      /* newest first */
  NameIndex mapIndex;  /* designator -> first EBDREFDES of that name */
} EBDMDL;

/* Section routines (see section.h), installed as EBDMDL_ParseSection. */
extern const ParseSection EBDMDL_ParseSection;
void EBDMDL_Init(void);
void EBDMDL_Close(int previousCode, int newCode);
void EBDMDL_Line(int lineType, int code, char *text);
void EBDMDL_Reset(void);

/* The pin `name` of a board (exact comparison), or null. */
EBDPIN *EBDMDL_FindPin(const EBDMDL *board, const char *name);
/* The map entry of designator `refdes` of a board, or null. */
EBDREFDES *EBDMDL_FindRefdes(const EBDMDL *board, const char *refdes);

/* Runs the end-of-board checks of a board still open: one whose last
** keyword the reader did not know closes nothing. */
void EBDMDL_EndOpenBoard(void);

/* Releases one board with its pins, paths and map. */
void EBDMDL_FreeBoard(EBDMDL **board);

/* ---- paths (ebdpath.cpp) ----------------------------------------------- */

/* Starts the path `name` on `board`: the fork left open by the previous
** path is reported and dropped. */
void EBDPATH_Begin(EBDMDL *board, const char *name);
/* One data line of the current path. */
void EBDPATH_Line(EBDMDL *board, const char *text);
/* 1 when a fork of the current path is still open; the stack is emptied
** and the fact reported on the current line. */
int EBDPATH_DropOpenForks(void);
/* Forgets the current path and its forks. */
void EBDPATH_Reset(void);
/* Releases a chain of elements with every branch below it, without
** recursion. */
void EBDPATH_FreeChain(EBDELEM **first);

/* Calls `visit` for every element of a chain, branches included, in file
** order, without recursion (forks may nest as deep as the file makes
** them).  Returns 0 when memory ran out (reported). */
typedef void (*EbdVisit)(EBDELEM *element, void *context);
int EBDPATH_Walk(EBDELEM *first, EbdVisit visit, void *context);

/* ---- after the file (ebdref.cpp) --------------------------------------- */

/* The file-level check of a board list: repeated board names and, with the
** reference check on, the references of every node to a component of this
** or another file.  `skip` non-zero: the other files are not read. */
void EBDMDL_CheckFile(IbisItem *boards, int skip);
/* After-file check of a whole file: a board left open is closed, then
** EBDMDL_CheckFile on its boards. */
void EBDMDL_AfterFile(struct IbisFile *file);
/* The reference check switch, on at load; returns what it stored. */
int EBDMDL_SetReferenceCheck(int on);

#endif
