/*
** circuit.h: [Circuit Call] ... [End Circuit Call] of a component (an
** instance of an [External Circuit] wired to the component's pins and
** declared nodes), and the after-file check of every call's wiring.
*/
#ifndef IBISPARSER_CIRCUIT_H
#define IBISPARSER_CIRCUIT_H

#include "IbisParser/nameidx.h"

#define CIRCUIT_MAX_NAME 40
#define CIRCUIT_MAX_PIN 5
#define CIRCUIT_MAX_PORT 40 /* port and pin-or-node names of Port_map */

struct CMPNT_Component;

typedef struct CIRCUIT_PortMap {
  struct CIRCUIT_PortMap *next;
  char port[CIRCUIT_MAX_PORT + 1];
  char node[CIRCUIT_MAX_PORT + 1]; /* a component pin or declared node */
} CIRCUIT_PortMap;

typedef struct CIRCUIT_Call {
  struct CIRCUIT_Call *next;
  int line;                            /* of its [Circuit Call] line */
  char name[CIRCUIT_MAX_NAME + 1];     /* the called [External Circuit] */
  char refPin[2][CIRCUIT_MAX_PIN + 1]; /* empty when unused */
  CIRCUIT_PortMap *portMap;            /* newest first */
} CIRCUIT_Call;

/* A zero-filled call: 1, or 0 when memory ran out.  The component
** section names it, sets its line and pushes it on its list. */
int CIRCUIT_New(CIRCUIT_Call **out);
/* One data line of the call. */
void CIRCUIT_ReadLine(char *text, CIRCUIT_Call *call);
/* Frees a component's call list. */
void CIRCUIT_FreeList(CIRCUIT_Call **list);
/* After the file: every call of the component against the file's external
** circuits (an index by name of XcktCircuit records). */
void CIRCUIT_Check(const struct CMPNT_Component *component,
                   const NameIndex *circuits);

#endif
