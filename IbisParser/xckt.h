/*
** xckt.h: the [External Circuit] section ([External Circuit] name ...
** [End External Circuit]): one record per circuit on the file's
** SECTION_EXTERNAL_CIRCUIT list, its lines read like an [External Model]'s.
** The component's [Circuit Call] checks find circuits and their ports here.
*/
#ifndef IBISPARSER_XCKT_H
#define IBISPARSER_XCKT_H

#include "IbisParser/section.h"
#include "IbisParser/xmdl.h"

#define XCKT_MAX_NAME 40

typedef struct XcktCircuit {
  char name[XCKT_MAX_NAME + 1];
  XmdlRecord *body; /* language, corners and ports */
  int line;
} XcktCircuit;

extern const ParseSection XCKT_ParseSection;
void XCKT_Begin(void);
void XCKT_Line(int lineType, int code, char *text);
void XCKT_Release(void *record);
void XCKT_Reset(void);

#endif
