/*
** sswch.cpp: [Series Switch Groups] lines and their check.
** (Placeholder until the series modules land: lines are not taken.)
*/
#include "IbisParser/sswch.h"

#include "IbisParser/cmn.h"

int SSWCH_ReadLine(char *text, SSWCH_Group **out) {
  (void)text;
  *out = NULL;
  return 0;
}

void SSWCH_FreeList(SSWCH_Group **list) {
  while( *list ) {
    SSWCH_Group *g = *list;
    *list = g->next;
    CMN_FreeBlock(g->name);
    CMN_FreeBlock(g);
  }
}

void SSWCH_Reset(void) {}

void SSWCH_Check(const struct CMPNT_Component *component) { (void)component; }
