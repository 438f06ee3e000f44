/*
** icmset.h: [Interconnect Model Set] .. [End Interconnect Model Set]
** (IBIS 7.0), a section of its own in an .ibs file.
*/
#ifndef IBISPARSER_ICMSET_H
#define IBISPARSER_ICMSET_H

#include "IbisParser/section.h"

/* The set record; defined by the module that fills it. */
typedef struct ICMSET_Set ICMSET_Set;

/* The open set, for the [Interconnect Model] module; null when none. */
ICMSET_Set *ICMSET_Current(void);

extern const ParseSection ICMSET_ParseSection;

#endif
