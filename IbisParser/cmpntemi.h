/*
** cmpntemi.h: the EMI block of a component ([Begin EMI Component] ...
** [End EMI Component]) with its subparameters and its [Pin EMI] and
** [Pin Domain EMI] tables.
**
** The component section owns the record (one per component) and routes the
** block's keyword codes here:
**   CMPNTEMI_Line   every keyword and data line of the block's keywords,
**                   with the component's record slot;
**   CMPNTEMI_Close  when another keyword follows one of the block's
**                   keywords (the new code);
**   CMPNTEMI_Free   when the component is released;
**   CMPNTEMI_Reset  from the component section's per-file reset.
** The check at the end of the component is PINEMI_CheckComponent
** (pinemi.h).
*/
#ifndef IBISPARSER_CMPNTEMI_H
#define IBISPARSER_CMPNTEMI_H

#include "IbisParser/nameidx.h"
#include "IbisParser/pinemi.h"

enum {
  CMPNTEMI_DOMAIN_ANALOG = 1,
  CMPNTEMI_DOMAIN_DIGITAL = 2,
  CMPNTEMI_DOMAIN_DIGITAL_ANALOG = 3
};

typedef struct PinDomainEmi {
  char domainName[PINEMI_MAX_DOMAIN_NAME + 1];
  double *percentage; /* null when not given */
  struct PinDomainEmi *next;
} PinDomainEmi;

typedef struct PinDomainList {
  PinDomainEmi *first;
  PinDomainEmi *last;
  NameIndex names; /* the domain names, for the redefinition check */
} PinDomainList;

/* One per component, allocated zero-filled.  0 or null means "not given". */
typedef struct CmpntEmi {
  int domain; /* CMPNTEMI_DOMAIN_* */
  double *cpd;
  double *cHeatsinkGnd;
  double *cHeatsinkFloat;
  PinEmiList *pinEmi;       /* null until [Pin EMI] */
  PinDomainList *pinDomain; /* null until [Pin Domain EMI] */
  int seen[5];              /* subparameter lines met, by table index */
} CmpntEmi;

/* `lineType` is SECTION_LINE_KEYWORD (the whole keyword line) or
** SECTION_LINE_DATA; `code` the current keyword code (KW_*). */
void CMPNTEMI_Line(int lineType, int code, char *text, CmpntEmi **slot);
void CMPNTEMI_Close(int newCode);
void CMPNTEMI_Free(CmpntEmi **slot);
void CMPNTEMI_Reset(void);

#endif
