/*
** sswch.h: [Series Switch Groups] of a component: named On/Off groups of
** series switches, each running from its state word to "/" over one or
** more lines, and the after-file check that every group name is used by
** the component's [Series Pin Mapping].
*/
#ifndef IBISPARSER_SSWCH_H
#define IBISPARSER_SSWCH_H

#define SSWCH_MAX_NAME 20

struct CMPNT_Component;

typedef struct SSWCH_Group {
  struct SSWCH_Group *next;
  char state[4]; /* "On" or "Off" */
  char (*name)[SSWCH_MAX_NAME + 1];
  unsigned count; /* names stored */
  unsigned cap;   /* room in name */
} SSWCH_Group;

/* One data line.  1 when the line was taken, with the group it filled in
** *out (a continuation line returns the open group again: the caller
** appends *out to the component's list unless it is already there); 0
** when not (the caller reports it). */
int SSWCH_ReadLine(char *text, SSWCH_Group **out);
/* A keyword line ends the [Series Switch Groups] data: a group still
** waiting for its "/" is reported there (as an unterminated keyword) and
** closed, so that later lines cannot add to it. */
void SSWCH_EndKeyword(void);
/* Frees a component's group list. */
void SSWCH_FreeList(SSWCH_Group **list);
/* Forgets an open group (at a new component and a new file). */
void SSWCH_Reset(void);
/* After the file: every group name must be a function table group of
** the component's series pin mapping. */
void SSWCH_Check(const struct CMPNT_Component *component);

#endif
