/*
** mdlemi.h: the EMI block of a model ([Begin EMI Model] ... [End EMI
** Model]): its record and the two entries the model section calls.
*/
#ifndef IBISPARSER_MDLEMI_H
#define IBISPARSER_MDLEMI_H

enum { MDLEMI_DOMAIN_ANALOG = 1, MDLEMI_DOMAIN_DIGITAL = 2 };
enum { MDLEMI_TYPE_FERRITE = 1, MDLEMI_TYPE_NOT_A_FERRITE = 2 };

/* One per model, held by the model.  0 in a field means "not given". */
typedef struct MdlEmi {
  int domain;       /* MDLEMI_DOMAIN_* */
  int modelEmiType; /* MDLEMI_TYPE_* */
  int domainSeen;   /* the subparameter lines seen, for the repeat check */
  int typeSeen;
} MdlEmi;

/* [Begin EMI Model]: `text` is what follows the keyword on its line;
** `slot` is the model's EMI record, replaced (with a message) when one is
** already there. */
void MDLEMI_Begin(char *text, MdlEmi **slot);
/* A subparameter data line of the block; a null record ignores it. */
void MDLEMI_Line(char *text, MdlEmi *record);
/* Releases the record and clears the slot; a null record is allowed. */
void MDLEMI_Free(MdlEmi **slot);

#endif
