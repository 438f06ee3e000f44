/*
** icmfile.h: the files that interconnect models and interconnect model
** groups name: whether a name stays in the directory of the file being
** checked or below it, whether the file is there, and which interconnect
** model sets a set file defines.
**
** Names are taken relative to the directory of the file being read
** (CMN_GetDirectory), so these routines are called while that file is read.
*/
#ifndef IBISPARSER_ICMFILE_H
#define IBISPARSER_ICMFILE_H

enum {
  ICMFILE_FOUND = 0, /* a regular file in the directory or below it */
  ICMFILE_OUTSIDE,   /* absolute, or climbs out of the directory with ".." */
  ICMFILE_MISSING    /* no such regular file */
};

/* Where the file `name` is, as one of the values above. */
int ICMFILE_Locate(const char *name);

/* 1 when the file `name` (found by ICMFILE_Locate) has an [Interconnect
** Model Set] named `set`, else 0.  Each file is read once per checked file,
** whatever the number of questions. */
int ICMFILE_DefinesSet(const char *name, const char *set);

/* Forgets the files read: the start of each file. */
void ICMFILE_Reset(void);

#endif
