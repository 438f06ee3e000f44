/*
** mdlemi.cpp: the EMI block of a model.
**
** [Begin EMI Model] gives the model one MdlEmi record; the data lines after
** it set its Domain and Model_emi_type.  Words that are not subparameters
** of the block are left to the model section, so they pass here without a
** message.
*/
#include "IbisParser/mdlemi.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

#define MDLEMI_SRC "IbisParser/mdlemi"

enum { MDLEMI_SUB_TYPE = 1, MDLEMI_SUB_DOMAIN = 2 };

static const char *const mdlemiSubName[] = { "", "Model_emi_type", "Domain" };
/* Value words by subparameter; index + 1 is the value stored. */
static const char *const mdlemiTypeWord[] = { "Ferrite", "Not_a_ferrite" };
static const char *const mdlemiDomainWord[] = { "Analog", "Digital" };

static int mdlemiSubparameter(const char *word) {
  int i;
  for( i = MDLEMI_SUB_TYPE; i <= MDLEMI_SUB_DOMAIN; i++ ) {
    if( strcmp(word, mdlemiSubName[i]) == 0 ) return i;
  }
  return 0;
}

/* Looks `value` up among `count` words: 1-based index of the exact match,
** or 0; *spelling receives a word that matches only when case is
** ignored, else null. */
static int mdlemiFindWord(const char *const *word, int count, const char *value,
                          const char **spelling) {
  int i;
  *spelling = NULL;
  for( i = 0; i < count; i++ ) {
    if( strcmp(value, word[i]) == 0 ) return i + 1;
    if( *spelling == NULL && CMN_StrEqualNoCase(value, word[i]) ) {
      *spelling = word[i];
    }
  }
  return 0;
}

/* Stores the value of a two-word line; a rejected value leaves the field
** as it was. */
static void mdlemiSetValue(MdlEmi *record, int sub, const char *value) {
  const char *name = mdlemiSubName[sub];
  const char *spelling;
  int found;
  if( sub == MDLEMI_SUB_TYPE ) {
    found = mdlemiFindWord(mdlemiTypeWord, 2, value, &spelling);
  } else {
    found = mdlemiFindWord(mdlemiDomainWord, 2, value, &spelling);
  }
  if( found == 0 ) {
    if( spelling ) {
      MSG_ErrorCodeLine(MSGC_MDLEMI_TRY_SPELLING, name, value, spelling);
    } else {
      MSG_ErrorCodeLine(MSGC_MDLEMI_INVALID_VALUE, name, value);
    }
    return;
  }
  if( sub == MDLEMI_SUB_TYPE ) {
    record->modelEmiType = found;
  } else {
    record->domain = found;
  }
}

void MDLEMI_Begin(char *text, MdlEmi **slot) {
  MdlEmi *record = NULL;
  CmnTokens words;
  CMN_ASSERT(slot != NULL, MDLEMI_SRC);
  if( *slot != NULL ) {
    MSG_ErrorCodeLine(MSGC_MDLEMI_DUPLICATE);
    MDLEMI_Free(slot);
  }
  if( !CMN_Calloc((void **)&record, sizeof(*record)) ) {
    MSG_BugCode(MSGC_MDLEMI_NO_MEMORY, MDLEMI_SRC, __LINE__);
    return;
  }
  *slot = record;
  if( !CMN_SplitTokens(text, 0, 0, &words) ) return;
  if( words.found > 0 ) {
    /* The keyword is the line's one item. */
    MSG_ErrorCodeLine(MSGC_MDLEMI_LINE_ITEMS, words.found + 1, "EMI Model", 1);
  }
  CMN_FreeTokens(&words);
}

void MDLEMI_Line(char *text, MdlEmi *record) {
  CmnTokens words;
  int sub, *seen;
  CMN_ASSERT(text != NULL, MDLEMI_SRC);
  if( record == NULL ) return;
  if( !CMN_SplitTokens(text, 2, 0, &words) ) return;
  sub = words.found > 0 ? mdlemiSubparameter(words.token[0]) : 0;
  if( sub != 0 ) {
    seen = sub == MDLEMI_SUB_TYPE ? &record->typeSeen : &record->domainSeen;
    if( *seen ) {
      MSG_ErrorCodeLine(MSGC_MDLEMI_ALREADY_SPECIFIED, mdlemiSubName[sub]);
    }
    *seen = 1;
    if( words.found == 1 ) {
      MSG_ErrorCodeLine(MSGC_MDLEMI_MISSING_SETTING, mdlemiSubName[sub]);
    } else if( words.found != 2 ) {
      MSG_ErrorCodeLine(MSGC_MDLEMI_LINE_ITEMS, words.found, mdlemiSubName[sub],
                        2);
    } else {
      mdlemiSetValue(record, sub, words.token[1]);
    }
  }
  CMN_FreeTokens(&words);
}

void MDLEMI_Free(MdlEmi **slot) {
  CMN_ASSERT(slot != NULL, MDLEMI_SRC);
  CMN_Free((void **)slot);
}
