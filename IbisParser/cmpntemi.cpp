/*
** cmpntemi.cpp: the EMI block of a component.
**
** A block is current from [Begin EMI Component] until [End EMI Component]
** or any keyword other than [Pin EMI] and [Pin Domain EMI]; its data lines
** go to the subparameters, the [Pin EMI] table (pinemi) or the
** [Pin Domain EMI] table by the last keyword of the block.
*/
#include "IbisParser/cmpntemi.h"

#include "IbisParser/cmn.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/section.h"

#include <string.h>

#define CMPNTEMI_SRC "IbisParser/cmpntemi"
#define CMPNTEMI_PIN_DOMAIN "Pin Domain EMI"
#define CMPNTEMI_MAX_PERCENTAGE 5

enum {
  CMPNTEMI_SUB_DOMAIN = 1,
  CMPNTEMI_SUB_CPD,
  CMPNTEMI_SUB_HEATSINK_GND,
  CMPNTEMI_SUB_HEATSINK_FLOAT,
  CMPNTEMI_SUB_COUNT
};

static const char *const cmpntemiSubName[CMPNTEMI_SUB_COUNT] = {
  "", "Domain", "Cpd", "C_Heatsink_gnd", "C_Heatsink_float"
};
/* Domain words; index + 1 is the value stored. */
static const char *const cmpntemiDomainWord[] = { "Analog", "Digital",
                                                  "Digital_Analog" };

static CmpntEmi *cmpntemiCurrent;     /* the open block, null outside one */
static int cmpntemiLast = KW_NOT_KEY; /* the last keyword of the block */

void CMPNTEMI_Reset(void) {
  cmpntemiCurrent = NULL;
  cmpntemiLast = KW_NOT_KEY;
}

static void cmpntemiFreeDomains(PinDomainList **list) {
  PinDomainEmi *entry, *next;
  if( *list == NULL ) return;
  for( entry = (*list)->first; entry; entry = next ) {
    next = entry->next;
    if( entry->percentage ) CMN_Free((void **)&entry->percentage);
    CMN_Free((void **)&entry);
  }
  NAMEIDX_Free(&(*list)->names);
  CMN_Free((void **)list);
}

void CMPNTEMI_Free(CmpntEmi **slot) {
  CmpntEmi *emi;
  CMN_ASSERT(slot != NULL, CMPNTEMI_SRC);
  if( (emi = *slot) == NULL ) return;
  if( cmpntemiCurrent == emi ) cmpntemiCurrent = NULL;
  if( emi->cpd ) CMN_Free((void **)&emi->cpd);
  if( emi->cHeatsinkGnd ) CMN_Free((void **)&emi->cHeatsinkGnd);
  if( emi->cHeatsinkFloat ) CMN_Free((void **)&emi->cHeatsinkFloat);
  PINEMI_FreeList(&emi->pinEmi);
  cmpntemiFreeDomains(&emi->pinDomain);
  CMN_Free((void **)slot);
}

/* Ends the current block, warning when it holds nothing. */
static void cmpntemiEndBlock(void) {
  CmpntEmi *emi = cmpntemiCurrent;
  if( emi == NULL ) return;
  if( emi->domain == 0 && emi->cpd == NULL && emi->cHeatsinkGnd == NULL
      && emi->cHeatsinkFloat == NULL && emi->pinEmi == NULL
      && emi->pinDomain == NULL ) {
    MSG_WarningCodeLine(MSGC_CMPNTEMI_EMPTY_BLOCK);
  }
  cmpntemiCurrent = NULL;
}

void CMPNTEMI_Close(int newCode) {
  if( newCode == KW_PIN_EMI || newCode == KW_PIN_DOMAIN_EMI ) return;
  /* [End EMI Component] ends the block from its own line, after checking
  ** what follows it.  After a block that was ended, the next keyword has
  ** nothing to close. */
  if( newCode == KW_END_EMI_COMPONENT || cmpntemiCurrent == NULL ) return;
  MSG_ErrorCodeLine(MSGC_CMPNTEMI_END_EXPECTED);
  cmpntemiEndBlock();
}

/* ---- keyword lines ------------------------------------------------------ */

static void cmpntemiNothingAfter(const char *rest) {
  if( *rest ) MSG_ErrorCodeLine(MSGC_CMPNTEMI_UNEXPECTED_DATA, rest);
}

static void cmpntemiBegin(const char *rest, CmpntEmi **slot) {
  CmpntEmi *emi = NULL;
  if( *slot != NULL ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_ALREADY_DEFINED);
    CMPNTEMI_Free(slot);
  }
  if( !CMN_Calloc((void **)&emi, sizeof(*emi)) ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_CREATE_FAILED);
    return;
  }
  *slot = emi;
  cmpntemiCurrent = emi;
  cmpntemiNothingAfter(rest);
}

/* [Pin EMI] domain_name clock_div */
static void cmpntemiPinEmiHeader(CmpntEmi *emi, char *rest) {
  static const char *const header[] = { "domain_name", "clock_div" };
  CmnTokens words;
  int i;
  if( emi->pinEmi != NULL ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_PIN_EMI_DEFINED);
    return;
  }
  if( !PINEMI_NewList(&emi->pinEmi) ) {
    MSG_BugCode(MSGC_CMPNTEMI_NO_MEMORY, CMPNTEMI_SRC, __LINE__);
    return;
  }
  if( *rest == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_NO_COLUMN_HEADERS);
    return;
  }
  if( !CMN_SplitTokens(rest, 3, 0, &words) ) return;
  for( i = 0; i < 2; i++ ) {
    if( words.token[i] == NULL
        || !CMN_StrEqualNoCase(words.token[i], header[i]) ) {
      MSG_ErrorCodeLine(MSGC_CMPNTEMI_COLUMN_HEADER, header[i]);
    }
  }
  if( words.found > 2 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_UNEXPECTED_DATA, words.token[2]);
  }
  CMN_FreeTokens(&words);
}

/* [Pin Domain EMI] percentage */
static void cmpntemiPinDomainHeader(CmpntEmi *emi, char *rest) {
  CmnTokens words;
  if( emi->pinDomain != NULL ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_PIN_DOMAIN_DEFINED);
    cmpntemiFreeDomains(&emi->pinDomain);
  }
  if( !CMN_Calloc((void **)&emi->pinDomain, sizeof(*emi->pinDomain)) ) {
    MSG_BugCode(MSGC_CMPNTEMI_NO_MEMORY, CMPNTEMI_SRC, __LINE__);
    return;
  }
  if( !CMN_SplitTokens(rest, 1, 0, &words) ) return;
  if( words.found == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_NO_PERCENTAGE);
  } else if( strcmp(words.token[0], "percentage") != 0 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_NOT_PERCENTAGE, words.token[0]);
  } else if( words.found > 1 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_LINE_ITEMS, words.found,
                      CMPNTEMI_PIN_DOMAIN, 1);
  }
  CMN_FreeTokens(&words);
}

static void cmpntemiKeyword(int code, char *text, CmpntEmi **slot) {
  char *rest = text;
  CMN_SkipPastBracket(&rest);
  cmpntemiLast = code;
  switch( code ) {
    case KW_BEGIN_EMI_COMPONENT:
      cmpntemiBegin(rest, slot);
      break;
    case KW_END_EMI_COMPONENT:
      cmpntemiNothingAfter(rest);
      cmpntemiEndBlock();
      break;
    case KW_PIN_EMI:
      cmpntemiPinEmiHeader(cmpntemiCurrent, rest);
      break;
    case KW_PIN_DOMAIN_EMI:
      cmpntemiPinDomainHeader(cmpntemiCurrent, rest);
      break;
    default:
      MSG_BugCodeLine(MSGC_CMPNTEMI_ILLEGAL_KEYWORD, CMPNTEMI_SRC, __LINE__);
      break;
  }
}

/* ---- data lines --------------------------------------------------------- */

static int cmpntemiSubparameter(const char *word) {
  int i;
  for( i = CMPNTEMI_SUB_DOMAIN; i < CMPNTEMI_SUB_COUNT; i++ ) {
    if( strcmp(word, cmpntemiSubName[i]) == 0 ) return i;
  }
  return 0;
}

/* Domain <value>; a value that is not one of the words leaves the field as
** it was. */
static void cmpntemiDomain(CmpntEmi *emi, const CmnTokens *words) {
  const char *name = cmpntemiSubName[CMPNTEMI_SUB_DOMAIN];
  const char *spelling = NULL;
  int i;
  if( words->found == 1 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_MISSING_SETTING, name);
    return;
  }
  if( words->found != 2 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_LINE_ITEMS, words->found, name, 2);
    return;
  }
  for( i = 0; i < 3; i++ ) {
    if( strcmp(words->token[1], cmpntemiDomainWord[i]) == 0 ) {
      emi->domain = i + 1;
      return;
    }
    if( CMN_StrEqualNoCase(words->token[1], cmpntemiDomainWord[i]) ) {
      spelling = cmpntemiDomainWord[i];
    }
  }
  if( spelling ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_TRY_SPELLING, name, words->token[1],
                      spelling);
  } else {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_INVALID_VALUE, name, words->token[1]);
  }
}

/* Cpd / C_Heatsink_gnd / C_Heatsink_float = <value> */
static void cmpntemiCapacitance(CmpntEmi *emi, int sub,
                                const CmnTokens *words) {
  const char *name = cmpntemiSubName[sub];
  double **field = sub == CMPNTEMI_SUB_CPD ? &emi->cpd
      : sub == CMPNTEMI_SUB_HEATSINK_GND   ? &emi->cHeatsinkGnd
                                           : &emi->cHeatsinkFloat;
  double value;
  if( sub == CMPNTEMI_SUB_HEATSINK_GND && emi->cHeatsinkFloat != NULL ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_GND_AFTER_FLOAT);
  } else if( sub == CMPNTEMI_SUB_HEATSINK_FLOAT && emi->cHeatsinkGnd ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_FLOAT_AFTER_GND);
  }
  if( words->found == 0 || words->found > 3 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_LINE_ITEMS, words->found, name, 3);
    return;
  }
  if( words->found < 3 || strcmp(words->token[1], "=") != 0 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_INVALID_LINE, name);
    return;
  }
  if( !CMN_ParseNumber(words->token[2], &value) ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_INVALID_VALUE, name, words->token[2]);
    return;
  }
  if( *field == NULL && !CMN_Calloc((void **)field, sizeof(**field)) ) return;
  **field = value;
}

static void cmpntemiSubparameterLine(CmpntEmi *emi, char *text) {
  CmnTokens words;
  int sub;
  /* '=' is a word of its own even where it touches the name or value. */
  if( !CMN_SplitTokens(text, 3, '=', &words) ) return;
  sub = words.found > 0 ? cmpntemiSubparameter(words.token[0]) : 0;
  if( sub == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_UNKNOWN_LINE);
  } else {
    if( emi->seen[sub] ) {
      MSG_ErrorCodeLine(MSGC_CMPNTEMI_DUPLICATE_SUBPARAMETER,
                        cmpntemiSubName[sub]);
    }
    emi->seen[sub] = 1;
    if( sub == CMPNTEMI_SUB_DOMAIN ) {
      cmpntemiDomain(emi, &words);
    } else {
      cmpntemiCapacitance(emi, sub, &words);
    }
  }
  CMN_FreeTokens(&words);
}

/* The percentage text of a pin domain line into the entry; 0 when it
** cannot be read. */
static int cmpntemiPercentage(PinDomainEmi *entry, const char *text) {
  double value;
  if( strlen(text) > CMPNTEMI_MAX_PERCENTAGE ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_BAD_PERCENTAGE, text,
                      "Should be specified using at most 5 characters");
  }
  if( !CMN_ParseNumber(text, &value) ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_BAD_PERCENTAGE, text, "Invalid Number");
    return 0;
  }
  if( value <= 0.0 || value > 100.0 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_BAD_PERCENTAGE, text,
                      "Should be greater than 0 and less than equal to 100");
  }
  if( !CMN_Calloc((void **)&entry->percentage, sizeof(double)) ) return 0;
  *entry->percentage = value;
  return 1;
}

/* <domain_name> <percentage> */
static void cmpntemiPinDomainLine(PinDomainList *list, char *text) {
  PinDomainEmi *entry = NULL;
  CmnTokens words;
  if( !CMN_SplitTokens(text, 2, 0, &words) ) return;
  if( words.found != 2 ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_LINE_ITEMS, words.found,
                      CMPNTEMI_PIN_DOMAIN, 2);
  }
  if( words.found < 2 ) goto done;
  if( NAMEIDX_Contains(&list->names, words.token[0]) ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_DOMAIN_REDEFINED, words.token[0]);
    goto done;
  }
  if( !CMN_Calloc((void **)&entry, sizeof(*entry)) ) {
    MSG_BugCode(MSGC_CMPNTEMI_NO_MEMORY, CMPNTEMI_SRC, __LINE__);
    goto done;
  }
  CMN_CopyTruncate(entry->domainName, words.token[0], PINEMI_MAX_DOMAIN_NAME,
                   "domain_name");
  if( !cmpntemiPercentage(entry, words.token[1]) ) {
    CMN_Free((void **)&entry);
    goto done;
  }
  if( list->last ) {
    list->last->next = entry;
  } else {
    list->first = entry;
  }
  list->last = entry;
  NAMEIDX_Add(&list->names, entry->domainName, NULL);
done:
  CMN_FreeTokens(&words);
}

static void cmpntemiData(char *text) {
  CmpntEmi *emi = cmpntemiCurrent;
  switch( cmpntemiLast ) {
    case KW_BEGIN_EMI_COMPONENT:
      cmpntemiSubparameterLine(emi, text);
      break;
    case KW_END_EMI_COMPONENT:
      MSG_BugCode(MSGC_CMPNTEMI_DATA_AFTER_END, CMPNTEMI_SRC, __LINE__);
      break;
    case KW_PIN_EMI:
      if( emi->pinEmi ) PINEMI_Line(text, emi->pinEmi);
      break;
    case KW_PIN_DOMAIN_EMI:
      if( emi->pinDomain ) cmpntemiPinDomainLine(emi->pinDomain, text);
      break;
    default:
      MSG_BugCodeLine(MSGC_CMPNTEMI_UNKNOWN_KEYWORD_DATA, CMPNTEMI_SRC,
                      __LINE__);
      break;
  }
}

void CMPNTEMI_Line(int lineType, int code, char *text, CmpntEmi **slot) {
  CMN_ASSERT(text != NULL, CMPNTEMI_SRC);
  if( slot == NULL ) {
    MSG_BugCode(MSGC_CMPNTEMI_NO_COMPONENT, CMPNTEMI_SRC, __LINE__);
    return;
  }
  if( lineType != SECTION_LINE_KEYWORD && lineType != SECTION_LINE_DATA ) {
    MSG_BugCodeLine(MSGC_CMPNTEMI_ILLEGAL_LINE_TYPE, CMPNTEMI_SRC, __LINE__);
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD ) {
    if( code != KW_BEGIN_EMI_COMPONENT && cmpntemiCurrent == NULL ) {
      MSG_ErrorCodeLine(MSGC_CMPNTEMI_ORPHAN_KEYWORD);
      return;
    }
    cmpntemiKeyword(code, text, slot);
    return;
  }
  if( cmpntemiCurrent == NULL ) {
    MSG_ErrorCodeLine(MSGC_CMPNTEMI_ORPHAN_DATA);
    return;
  }
  cmpntemiData(text);
}
