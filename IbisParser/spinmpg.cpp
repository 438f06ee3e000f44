/*
** spinmpg.cpp: [Series Pin Mapping] lines and their check.
**
** Every entry read is kept, even one with missing columns (those were
** reported at its line); the check leaves such empty fields alone so that
** one fault is not reported twice.
*/
#include "IbisParser/spinmpg.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"

#include <string.h>

#define SPINMPG_SRC "IbisParser/spinmpg"

void SPINMPG_FreeList(SPINMPG_Entry **list) {
  while( *list ) {
    SPINMPG_Entry *e = *list;
    *list = e->next;
    CMN_FreeBlock(e);
  }
}

int SPINMPG_ReadLine(char *text, int headerColumns, SPINMPG_Entry **out) {
  SPINMPG_Entry *e = NULL;
  char *cursor = text, *token;
  unsigned modelMax = PARSE_GetDispatchVersion() < 4 ? 20 : SPINMPG_MAX_MODEL;
  CMN_ASSERT(text != NULL && out != NULL, SPINMPG_SRC);
  *out = NULL;
  if( !CMN_Calloc(&e, sizeof(*e)) ) {
    MSG_ErrorCodeLine(MSGC_SPINMPG_NO_MEMORY);
    return 0;
  }
  while( (token = CMN_NextToken(&cursor)) != NULL ) {
    if( e->columns == 4 ) {
      MSG_ErrorCodeLine(MSGC_SPINMPG_EXTRA_COLUMNS);
      break;
    }
    switch( e->columns ) {
      case 0:
        CMN_CopyTruncate(e->pin1, token, SPINMPG_MAX_PIN, "Pin1");
        break;
      case 1:
        CMN_CopyTruncate(e->pin2, token, SPINMPG_MAX_PIN, "Pin2");
        break;
      case 2:
        CMN_CopyTruncate(e->model, token, modelMax, "Model");
        CMN_CheckReservedWord(e->model);
        break;
      default:
        CMN_CopyTruncate(e->group, token, SPINMPG_MAX_GROUP,
                         "Function group Name");
        CMN_CheckReservedWord(e->group);
        break;
    }
    e->columns++;
  }
  if( e->columns < 1 ) MSG_ErrorCodeLine(MSGC_SPINMPG_NO_PIN1);
  if( e->columns < 2 ) MSG_ErrorCodeLine(MSGC_SPINMPG_NO_PIN2);
  if( e->columns < 3 ) MSG_ErrorCodeLine(MSGC_SPINMPG_NO_MODEL);
  if( e->columns != 3 && e->columns != 4 )
    MSG_ErrorCodeLine(MSGC_SPINMPG_COLUMN_COUNT);
  else if( e->columns == 4 && headerColumns == 3 )
    MSG_ErrorCodeLine(MSGC_SPINMPG_NO_GROUP_HEADER);
  *out = e;
  return 1;
}

/* What a series pin mapping needs of its model's type. */
typedef struct SpinmpgCodes {
  int groupIgnored, groupUndefined, groupRequired, notSwitch, notSeries,
      unknownType;
} SpinmpgCodes;

static const SpinmpgCodes spinmpgModelCodes = {
  MSGC_SPINMPG_GROUP_IGNORED,  MSGC_SPINMPG_GROUP_UNDEFINED,
  MSGC_SPINMPG_GROUP_REQUIRED, MSGC_SPINMPG_NOT_SWITCH,
  MSGC_SPINMPG_NOT_SERIES,     MSGC_SPINMPG_UNKNOWN_TYPE
};
static const SpinmpgCodes spinmpgSelectorCodes = {
  MSGC_SPINMPG_SEL_GROUP_IGNORED,  MSGC_SPINMPG_SEL_GROUP_UNDEFINED,
  MSGC_SPINMPG_SEL_GROUP_REQUIRED, MSGC_SPINMPG_SEL_NOT_SWITCH,
  MSGC_SPINMPG_SEL_NOT_SERIES,     MSGC_SPINMPG_SEL_UNKNOWN_TYPE
};

/* Logs `code` with the component, then the selector when there is one,
** then the model and the optional group. */
static void spinmpgLog(int warn, int code, const char *component,
                       const char *selector, const char *model,
                       const char *group) {
  int (*log)(int, ...) = warn ? MSG_WarningCode : MSG_ErrorCode;
  if( selector && group )
    log(code, component, selector, model, group);
  else if( selector )
    log(code, component, selector, model);
  else if( group )
    log(code, component, model, group);
  else
    log(code, component, model);
}

/* One model (of the entry itself, or of a selector) against the entry. */
static void spinmpgCheckType(const CMPNT_Component *c, const SPINMPG_Entry *e,
                             const MDL_Model *m, const char *model,
                             const char *selector, const NameIndex *groups) {
  const SpinmpgCodes *k = selector ? &spinmpgSelectorCodes : &spinmpgModelCodes;
  const char *group = e->group[0] ? e->group : NULL;
  int type = m ? m->type : MDL_TYPE_UNSET;
  if( type == MDL_TYPE_SERIES ) {
    if( group ) spinmpgLog(1, k->groupIgnored, c->name, selector, model, group);
  } else if( type == MDL_TYPE_SERIES_SWITCH ) {
    if( group == NULL )
      spinmpgLog(0, k->groupRequired, c->name, selector, model, NULL);
    else if( !NAMEIDX_Contains(groups, group) )
      spinmpgLog(0, k->groupUndefined, c->name, selector, model, group);
  } else if( type <= MDL_TYPE_NONE || type > MDL_TYPE_LAST ) {
    spinmpgLog(0, k->unknownType, c->name, selector, model, NULL);
  } else {
    spinmpgLog(0, group ? k->notSwitch : k->notSeries, c->name, selector, model,
               NULL);
  }
}

static void spinmpgCheckEntry(const CMPNT_Component *c, const SPINMPG_Entry *e,
                              const NameIndex *models,
                              const NameIndex *selectors,
                              const NameIndex *groups) {
  const MDL_Model *m;
  const MSEL_Selector *s;
  const MselEntry *me;
  if( e->pin1[0] && !NAMEIDX_Contains(&c->pinIndex, e->pin1) )
    MSG_ErrorCode(MSGC_SPINMPG_PIN1_UNDECLARED, c->name, e->pin1);
  if( e->pin2[0] && !NAMEIDX_Contains(&c->pinIndex, e->pin2) )
    MSG_ErrorCode(MSGC_SPINMPG_PIN2_UNDECLARED, c->name, e->pin2);
  if( e->model[0] == 0 ) return;
  if( (m = (const MDL_Model *)NAMEIDX_Find(models, e->model)) != NULL ) {
    spinmpgCheckType(c, e, m, e->model, NULL, groups);
    return;
  }
  s = (const MSEL_Selector *)NAMEIDX_Find(selectors, e->model);
  if( s == NULL ) {
    MSG_ErrorCode(MSGC_SPINMPG_MODEL_UNDEFINED, c->name, e->model);
    return;
  }
  for( me = s->first; me; me = me->next ) {
    m = (const MDL_Model *)NAMEIDX_Find(models, me->name);
    spinmpgCheckType(c, e, m, me->name, s->name, groups);
  }
}

void SPINMPG_Check(const CMPNT_Component *component, const NameIndex *models,
                   const NameIndex *selectors) {
  NameIndex groups = { NULL, 0, 0 };
  IbisFile *file;
  const SSWCH_Group *g;
  const SPINMPG_Entry *e;
  unsigned i;
  CMN_ASSERT(component != NULL && models != NULL && selectors != NULL,
             SPINMPG_SRC);
  if( !IBIS_Current(&file) ) {
    MSG_BugCode(MSGC_SPINMPG_NO_IBIS, SPINMPG_SRC, __LINE__);
    return;
  }
  if( component->pins == NULL ) {
    MSG_ErrorCode(MSGC_SPINMPG_NO_PINS, component->name);
    return;
  }
  for( g = component->switchGroups; g; g = g->next ) {
    for( i = 0; i < g->count; i++ ) NAMEIDX_Add(&groups, g->name[i], (void *)g);
  }
  for( e = component->seriesPinMappings; e; e = e->next )
    spinmpgCheckEntry(component, e, models, selectors, &groups);
  NAMEIDX_Free(&groups);
}
