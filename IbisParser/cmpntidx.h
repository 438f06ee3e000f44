/*
** cmpntidx.h: the by-name indexes the after-file component checks share.
**
** The file's models, model selectors and external circuits are indexed
** once per file; each component's pin mappings and differential pins once
** per component.  Every per-pin question of the checks is then a hash
** look-up, so the checks stay linear in pins + models however large the
** pin list.
*/
#ifndef IBISPARSER_CMPNTIDX_H
#define IBISPARSER_CMPNTIDX_H

#include "IbisParser/ibis.h"
#include "IbisParser/nameidx.h"

typedef struct CmpntIndex {
  IbisFile *file;
  NameIndex models;     /* name -> MDL_Model */
  NameIndex selectors;  /* name -> MSEL_Selector */
  NameIndex circuits;   /* name -> XcktCircuit */
  NameIndex diffModels; /* model and selector names used by a differential
                        ** pin of any component -> that PIN_Pin */
  /* Of the component being checked: */
  NameIndex mappings; /* pin name -> first PINMPG_PinMapping */
  NameIndex diffPins; /* pin and inv_pin names of its [Diff Pin] entries */
} CmpntIndex;

/* Forgets the differential models CMPNT_FindDiffPin indexed for the
** file checked last (at the start of each file). */
void CMPNT_ForgetDiffPins(void);

#endif
