/*
** tstcmn.h: what the twin sections [Test Load] and [Test Data] share: the
** name line, the shape of a subparameter line, the type and name
** subparameters, and the model look-ups of their after-file checks.
**
** Each section hands its own message codes in a TstCodes, so one routine
** reports for both.  Nothing here keeps state between calls.
*/
#ifndef IBISPARSER_TSTCMN_H
#define IBISPARSER_TSTCMN_H

#include "IbisParser/cmn.h"
#include "IbisParser/nameidx.h"
#include "IbisParser/strlist.h"

/* Longest name of a test load or test data record. */
#define TST_MAX_NAME 109
/* Longest Test_load reference (one more than a name may hold). */
#define TST_MAX_LOAD_REF 110
/* Longest model name a subparameter may give, from version 4 on. */
#define TST_MAX_MODEL 40

/* Test_load_type and Test_data_type. */
enum {
  TST_TYPE_UNSET = 0,
  TST_TYPE_INVALID = 1, /* given, but not one of the type words */
  TST_TYPE_SINGLE_ENDED = 2,
  TST_TYPE_DIFFERENTIAL = 3
};

/* The messages of one section. */
typedef struct TstCodes {
  const char *src;     /* source path in PROGRAM BUG messages */
  const char *record;  /* "TestLoad": the record in "Unable to eat keyword" */
  const char *keyword; /* "Test Load": the keyword in the item count */
  int eatKeyword, saveName, missingName, keywordItems, nameTooLong;
  int reservedName, nameRepeated;
  int alreadyDefinedFor, missingSetting, invalidLine, lineItems;
  int invalidTry, invalidSetting, valueTooLong, reservedValue;
} TstCodes;

/* The name line: the text after ']' gives the record's name into `name`
** (TST_MAX_NAME + 1 bytes), cut when too long; `names` counts the names of
** the file's earlier records of the section. */
void TST_NameLine(const TstCodes *c, char *text, char *name, NameCount **names);

/* Splits a subparameter line into at most four kept tokens; tokens end at
** blanks, tabs and '=', and an '=' is a token of its own.  1, or 0 when
** memory ran out (reported by the splitter). */
int TST_Tokens(const char *text, CmnTokens *tok);

/* The shape "name value" of a type or name subparameter: 1, or 0 with the
** fault reported. */
int TST_TwoTokens(const TstCodes *c, const CmnTokens *tok);

/* The type word `value` of subparameter `sub`: TST_TYPE_SINGLE_ENDED or
** TST_TYPE_DIFFERENTIAL, or TST_TYPE_INVALID (reported). */
int TST_TypeValue(const TstCodes *c, const char *sub, const char *value);

/* Stores the name `value` of subparameter `sub` into `field` (maximum + 1
** bytes), cut (reported) when longer than `maximum`. */
void TST_NameValue(const TstCodes *c, const char *sub, const char *value,
                   char *field, unsigned maximum);

/* The longest model name of the file's version: 20 below version 4. */
unsigned TST_ModelNameMax(void);

struct IbisFile;
struct MDL_Model;
/* Indexes the file's models by name (the first of a name is kept).
** Returns the number of models. */
int TST_IndexModels(struct IbisFile *file, NameIndex *models);
/* Whether a differential pin uses `model`, asked of the component section
** once per model and remembered in `asked`. */
int TST_DiffPinUses(NameIndex *asked, struct MDL_Model *model);

#endif
