/*
** spinmpg.cpp: [Series Pin Mapping] lines and their check.
** (Placeholder until the series modules land: lines are not taken.)
*/
#include "IbisParser/spinmpg.h"

#include "IbisParser/cmn.h"

int SPINMPG_ReadLine(char *text, int headerColumns, SPINMPG_Entry **out) {
  (void)text;
  (void)headerColumns;
  *out = NULL;
  return 0;
}

void SPINMPG_FreeList(SPINMPG_Entry **list) {
  while( *list ) {
    SPINMPG_Entry *e = *list;
    *list = e->next;
    CMN_FreeBlock(e);
  }
}

void SPINMPG_Check(const struct CMPNT_Component *component,
                   const NameIndex *models, const NameIndex *selectors) {
  (void)component;
  (void)models;
  (void)selectors;
}
