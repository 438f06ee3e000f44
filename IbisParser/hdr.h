/*
** hdr.h: the file header section of IBIS files ([IBIS Ver], [File Name],
** [File Rev], [Date], [Source], [Notes], [Disclaimer], [Copyright]).
*/
#ifndef IBISPARSER_HDR_H
#define IBISPARSER_HDR_H

#include "IbisParser/section.h"

#define HDR_MAX_VERSION 70
#define HDR_MAX_REV 70
#define HDR_MAX_DATE 40

typedef struct FileHeader {
  char ibisVersion[HDR_MAX_VERSION + 1];
  char fileName[1024 + 1];
  char fileRev[HDR_MAX_REV + 1];
  char date[HDR_MAX_DATE + 1];
  char *source; /* lines joined by '\n'; null when absent */
  char *notes;
  char *disclaimer;
  char *copyright;
} FileHeader;

/* Section routines (see section.h), installed as HDR_ParseSection. */
extern const ParseSection HDR_ParseSection;
void HDR_Begin(void);
void HDR_Close(int previousCode, int newCode);
void HDR_Line(int lineType, int code, char *text);

/* Appends a line to a text, joining with '\n'.  1, or 0 (ERROR 1020). */
int HDR_AddText(char **text, const char *line);
void HDR_Free(FileHeader **header);
/* Forgets the open header (start of every file). */
void HDR_Reset(void);

#endif
