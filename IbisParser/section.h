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
  /* Sections of the keywords of IBIS 5.1 to 7.2.  All but the interconnect
  ** model set are nested: their lines reach them through the section that
  ** owns the keyword (KeywordNewer.owner), see SECTION_NestedLine. */
  SECTION_REPEATER_PIN,       /* [Repeater Pin], in [Component] */
  SECTION_CLOCK_PINS,         /* [Clock Pins], in [Component] */
  SECTION_INITIAL_DELAY,      /* [Initial Delay], in [Model] / [Submodel] */
  SECTION_INTERCONNECT_GROUP, /* [Interconnect Model Group] .. [End ...] */
  SECTION_BUS_LABEL,          /* [Bus Label], in [Component] */
  SECTION_DIE_SUPPLY_PADS,    /* [Die Supply Pads], in [Component] */
  SECTION_INTERCONNECT_SET,   /* [Interconnect Model Set] .. [End ...] */
  SECTION_INTERCONNECT_MODEL, /* [Interconnect Model], in a set */
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

/*
** Nested keywords.  A keyword whose KeywordNewer row names a module other
** than its owner is routed to the owner, which stays open and passes the
** keyword's lines on:
**   - its line handler hands every line of such a keyword (the keyword line
**     and the data lines after it) to SECTION_NestedLine, which calls the
**     module's begin before an opening keyword line (not before an
**     [End ...] one) and then its line routine;
**   - its close routine first hands the keyword change to
**     SECTION_NestedClose, which calls the module's close when the previous
**     keyword was nested;
**   - it treats SECTION_IsNestedIn(itself, code) codes as its own, so that
**     they do not end the open record.
** Both hooks return 1 when the code was a nested one and 0 otherwise.  A
** module finds its owner's open record through the owner's accessor
** (CMPNT_Current, MDL_Current, SUBMDL_Current, ICMSET_Current) and keeps
** its records in its own IbisFile list, released by its release routine.
*/
int SECTION_IsNestedIn(int owner, int code);
int SECTION_NestedLine(int lineType, int code, char *text);
int SECTION_NestedClose(int previousCode, int newCode);

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
