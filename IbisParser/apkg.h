/*
** apkg.h: [Alternate Package Models] ... [End Alternate Package Models] of
** a component: the names of the package models a user may pick instead of
** the component's own.
*/
#ifndef IBISPARSER_APKG_H
#define IBISPARSER_APKG_H

#include "IbisParser/nameidx.h"

#define APKG_MAX_NAME 40

typedef struct APKG_Name {
  struct APKG_Name *next;
  char name[APKG_MAX_NAME + 1];
} APKG_Name;

/* One name line, appended after *tail; `names` indexes the list's names
** (for the repeat check). */
void APKG_AddName(APKG_Name **list, APKG_Name **tail, NameIndex *names,
                  const char *text);
void APKG_FreeList(APKG_Name **list);
/* The number of names, at most 2 counted (1604 needs no more). */
int APKG_CountUpTo2(const APKG_Name *list);

#endif
