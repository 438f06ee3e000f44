/*
** sect.h: R/L/C sections ("Len=0 L=1n C=2p /") and the section lists built
** from them.
**
** A package model in section form and a board description describe each
** pin as a chain of sections, with Fork/Endfork branches.  SECT_Read reads
** one section from a line; a pin's sections are a list of SectNode, where a
** fork node holds the list of its branch.
*/
#ifndef IBISPARSER_SECT_H
#define IBISPARSER_SECT_H

/* One R/L/C section; a null pointer is a sub-parameter not given. */
typedef struct SECT {
  double *len;
  double *l;
  double *r;
  double *c;
} SECT;

enum { SECT_NODE_FORK = 0, SECT_NODE_SECTION = 1 };

typedef struct SectNode {
  struct SectNode *next;
  int kind;                /* SECT_NODE_FORK or SECT_NODE_SECTION */
  struct SectNode *branch; /* fork: the first node of its branch */
  SECT *sect;              /* section: the section */
  struct SectNode *below;  /* fork: the next fork down while it is open */
} SectNode;

/* Reads one section from `text`.  Returns 1 with *out the section (null
** when the text held nothing but blanks) and *rest the text after its '/';
** 0 when the text ended before the section's '/' (the values are dropped).
** Every problem of the section is reported on the current line. */
int SECT_Read(const char *text, SECT **out, const char **rest);

/* Releases one section. */
void SECT_Free(SECT **sect);

/* A new node of `kind`; 0 when memory ran out (PROGRAM BUG 3014). */
int SECT_NewNode(int kind, SectNode **out);

/* Releases a node list with every branch and section below it, without
** recursion, so that no nesting depth a file can build exhausts the stack. */
void SECT_FreeList(SectNode **list);

#endif
