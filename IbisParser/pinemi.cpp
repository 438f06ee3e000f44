/*
** pinemi.cpp: the [Pin EMI] table and the component's EMI check.
**
** A table line is pin_name, domain_name and clock_div.  A line that does
** not name both the pin and its domain is dropped; any other line is kept,
** a repeated pin included (reported), so that the check still sees it.
*/
#include "IbisParser/pinemi.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpntemi.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

#define PINEMI_SRC "IbisParser/pinemi"

int PINEMI_NewList(PinEmiList **list) {
  CMN_ASSERT(list != NULL && *list == NULL, PINEMI_SRC);
  return CMN_Calloc((void **)list, sizeof(**list));
}

/* Fills the entry from the line's words; 0 when the line is dropped. */
static int pinemiRead(PinEmi *entry, const CmnTokens *words) {
  if( words->found < 2 ) {
    if( words->found == 0 ) MSG_ErrorCodeLine(MSGC_PINEMI_NO_PIN_NAME);
    MSG_ErrorCodeLine(MSGC_PINEMI_NO_DOMAIN_NAME);
    return 0;
  }
  CMN_CopyTruncate(entry->pinName, words->token[0], PINEMI_MAX_PIN_NAME,
                   "pin_name");
  if( !CMN_StrEqualNoCase(words->token[1], "NA") ) {
    CMN_CheckReservedWord(words->token[1]);
  }
  CMN_CopyTruncate(entry->domainName, words->token[1], PINEMI_MAX_DOMAIN_NAME,
                   "domain_name");
  if( words->found < 3 ) {
    MSG_ErrorCodeLine(MSGC_PINEMI_NO_CLOCK_DIV);
  } else {
    if( strlen(words->token[2]) > PINEMI_MAX_CLOCK_DIV ) {
      MSG_ErrorCodeLine(MSGC_PINEMI_CLOCK_DIV_TOO_LONG, PINEMI_MAX_CLOCK_DIV);
    }
    CMN_ReadTypMinMax(words->token[2], "clock_div", "Pin EMI", &entry->clockDiv,
                      &entry->clockDivState);
  }
  if( words->found > 3 ) {
    MSG_ErrorCodeLine(MSGC_PINEMI_UNEXPECTED_DATA, words->token[3]);
  }
  return 1;
}

void PINEMI_Line(char *text, PinEmiList *list) {
  PinEmi *entry = NULL;
  CmnTokens words;
  int keep;
  CMN_ASSERT(text != NULL && list != NULL, PINEMI_SRC);
  if( !CMN_Calloc((void **)&entry, sizeof(*entry)) ) {
    MSG_ErrorCodeLine(MSGC_PINEMI_ALLOC_FAILED);
    MSG_ErrorCodeLine(MSGC_PINEMI_ADD_FAILED);
    return;
  }
  if( !CMN_SplitTokens(text, 4, 0, &words) ) {
    CMN_Free((void **)&entry);
    return;
  }
  keep = pinemiRead(entry, &words);
  CMN_FreeTokens(&words);
  if( !keep ) {
    CMN_Free((void **)&entry);
    return;
  }
  if( list->last ) {
    list->last->next = entry;
  } else {
    list->first = entry;
  }
  list->last = entry;
  if( NAMEIDX_Contains(&list->pins, entry->pinName) ) {
    MSG_ErrorCodeLine(MSGC_PINEMI_DUPLICATE_PIN, entry->pinName);
  } else {
    NAMEIDX_Add(&list->pins, entry->pinName, NULL);
  }
}

void PINEMI_FreeList(PinEmiList **list) {
  PinEmi *entry, *next;
  CMN_ASSERT(list != NULL, PINEMI_SRC);
  if( *list == NULL ) return;
  for( entry = (*list)->first; entry; entry = next ) {
    next = entry->next;
    CMN_Free((void **)&entry);
  }
  NAMEIDX_Free(&(*list)->pins);
  CMN_Free((void **)list);
}

/* The names no pin may be modelled by and still carry EMI data. */
static int pinemiReservedModel(const char *model) {
  static const char *const reserved[] = { "GND", "NC", "POWER", "CIRCUITCALL",
                                          "NA" };
  size_t i;
  for( i = 0; i < sizeof(reserved) / sizeof(reserved[0]); i++ ) {
    if( CMN_StrEqualNoCase(model, reserved[i]) ) return 1;
  }
  return 0;
}

static void pinemiCheckDomains(const char *component, const CmpntEmi *emi) {
  NameIndex used;
  const PinEmi *pin;
  const PinDomainEmi *domain;
  if( emi->pinDomain == NULL ) return;
  memset(&used, 0, sizeof(used));
  for( pin = emi->pinEmi ? emi->pinEmi->first : NULL; pin; pin = pin->next ) {
    NAMEIDX_Add(&used, pin->domainName, NULL);
  }
  for( domain = emi->pinDomain->first; domain; domain = domain->next ) {
    if( !NAMEIDX_Contains(&used, domain->domainName) ) {
      MSG_ErrorCode(MSGC_PINEMI_DOMAIN_UNUSED, component, domain->domainName);
    }
  }
  NAMEIDX_Free(&used);
}

static void pinemiCheckPins(const char *component, const CmpntEmi *emi,
                            PinEmiPinModel pinModel, void *context) {
  const PinEmi *pin;
  if( emi->pinEmi == NULL ) return;
  for( pin = emi->pinEmi->first; pin; pin = pin->next ) {
    const char *model = pinModel(context, pin->pinName);
    if( model == NULL ) {
      MSG_ErrorCode(MSGC_PINEMI_PIN_NOT_ON_COMPONENT, component, pin->pinName);
    } else if( pinemiReservedModel(model) ) {
      MSG_ErrorCode(MSGC_PINEMI_RESERVED_MODEL, component, pin->pinName, model);
    }
  }
}

void PINEMI_CheckComponent(const char *componentName, const CmpntEmi *emi,
                           PinEmiPinModel pinModel, void *context) {
  IbisFile *file;
  CMN_ASSERT(componentName != NULL && pinModel != NULL, PINEMI_SRC);
  if( emi == NULL ) return;
  if( !IBIS_Current(&file) ) {
    MSG_BugCode(MSGC_PINEMI_NO_IBIS, PINEMI_SRC, __LINE__);
    return;
  }
  pinemiCheckDomains(componentName, emi);
  pinemiCheckPins(componentName, emi, pinModel, context);
}
