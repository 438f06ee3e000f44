/*
** section.h: the contract between the IBIS reader and the section handlers.
**
** The reader routes every keyword line and data line of a file to the
** section its keyword code belongs to.  A section is three routines:
**   begin  called with no arguments when the section's opening keyword is
**          met ([Component], [Model], [Define Package Model] ...);
**   close  called with the previous and the new keyword code for every
**          keyword line while one of the section's keywords is current;
**   line   called with the line type (SECTION_LINE_KEYWORD or
**          SECTION_LINE_DATA), the current keyword code and the line, cut at
**          its comment and trailing white space (data lines also lose their
**          leading white space);
** plus release, which frees one record the section added to an IbisFile
** list.  A section that is not installed receives its lines and does
** nothing; the header section is installed from the start.
*/
#ifndef IBISPARSER_SECTION_H
#define IBISPARSER_SECTION_H

enum {
  SECTION_HEADER = 0,
  SECTION_COMPONENT,
  SECTION_MODEL,
  SECTION_EXTERNAL_CIRCUIT,
  SECTION_SUBMODEL,
  SECTION_PACKAGE_MODEL,
  SECTION_BOARD,
  SECTION_MODEL_SELECTOR,
  SECTION_TEST_DATA,
  SECTION_TEST_LOAD,
  SECTION_COUNT,
  SECTION_NONE = -1
};

enum { SECTION_LINE_COMMENT = 0, SECTION_LINE_KEYWORD = 1,
       SECTION_LINE_DATA = 4 };

typedef struct ParseSection {
  void (*begin)(void);
  void (*close)(int previousCode, int newCode);
  void (*line)(int lineType, int code, char *text);
  void (*release)(void *record);
} ParseSection;

/* Installs a section's routines (copied; a null routine does nothing);
** a null `section` restores the default.  Returns 1, or 0 for a bad id. */
int SECTION_Install(int id, const ParseSection *section);
const ParseSection *SECTION_Get(int id);
/* Restores every default. */
void SECTION_ResetAll(void);

#endif
