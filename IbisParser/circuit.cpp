/*
** circuit.cpp: [Circuit Call] lines and the check of their wiring.
** (Placeholder until the circuit-call module lands: lines are ignored.)
*/
#include "IbisParser/circuit.h"

#include "IbisParser/cmn.h"

int CIRCUIT_New(CIRCUIT_Call **out) {
  return CMN_Calloc((void **)out, sizeof(**out));
}

void CIRCUIT_ReadLine(char *text, CIRCUIT_Call *call) {
  (void)text;
  (void)call;
}

void CIRCUIT_FreeList(CIRCUIT_Call **list) {
  while( *list ) {
    CIRCUIT_Call *c = *list;
    *list = c->next;
    while( c->portMap ) {
      CIRCUIT_PortMap *p = c->portMap;
      c->portMap = p->next;
      CMN_FreeBlock(p);
    }
    CMN_FreeBlock(c);
  }
}

void CIRCUIT_Check(const struct CMPNT_Component *component,
                   const NameIndex *circuits) {
  (void)component;
  (void)circuits;
}
