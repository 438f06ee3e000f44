/*
** section.h: the contract between the IBIS reader and the section handlers,
** and the checker's two plug-in points.
**
** The reader routes every keyword line and data line of a file to the
** section its keyword code belongs to.  A section is a ParseSection:
**   begin    called with no arguments when the section's opening keyword is
**            met ([Component], [Model], [Define Package Model] ...);
**   close    called with the previous and the new keyword code for every
**            keyword line while one of the section's keywords is current;
**   line     called with the line type (SECTION_LINE_KEYWORD or
**            SECTION_LINE_DATA), the current keyword code and the line, cut
**            at its comment and trailing white space (data lines also lose
**            their leading white space);
**   release  frees one record the section added to an IbisFile list;
**   reset    forgets the section's open record and any per-file state; run
**            for every section at the start of each file.
** A null routine does nothing.
**
** Adding a section (see also IbisParser/README.md):
**   1. write the module (xxx.h / xxx.cpp) and export one
**      `const ParseSection XXX_ParseSection`;
**   2. put it in the table of installed sections in section.cpp;
**   3. if it has checks that need the whole file, put them in the list of
**      after-file checks in section.cpp, at their place in the order;
**   4. name its message codes in msgcodes.h under its block.
** Nothing else in the reader changes.
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

enum {
  SECTION_LINE_COMMENT = 0,
  SECTION_LINE_KEYWORD = 1,
  SECTION_LINE_DATA = 4
};

typedef struct ParseSection {
  void (*begin)(void);
  void (*close)(int previousCode, int newCode);
  void (*line)(int lineType, int code, char *text);
  void (*release)(void *record);
  void (*reset)(void);
} ParseSection;

struct IbisFile;
/* A check that needs the whole file, run once after the file was read. */
typedef void (*SectionAfterFile)(struct IbisFile *file);

/* The routines of section `id`: the installed module's, with a null
** routine replaced by one that does nothing.  Never null. */
const ParseSection *SECTION_Get(int id);

/* Runs every section's reset: the start of each file. */
void SECTION_ResetFileState(void);

/* Runs the after-file checks on `file` in their fixed order. */
void SECTION_RunAfterFileChecks(struct IbisFile *file);

/* Test seam: replaces the routines of section `id` (copied; a null routine
** does nothing, except in the header, which keeps its own); a null
** `section` restores the installed module.  Returns 1, or 0 for a bad id.  SECTION_ResetAll restores every
** installed module. */
int SECTION_Install(int id, const ParseSection *section);
void SECTION_ResetAll(void);

#endif
