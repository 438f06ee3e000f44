/*
** inidly.cpp: the [Initial Delay] of a model or a submodel.
**
** IBIS 6.1 added the keyword for the models a [Driver Schedule] uses and
** for submodels (BIRD 177, whose text is not among the sources at hand).
** Its data are typical, minimum and maximum delays, read as every other
** value triple of a model: a row names what it delays and gives the
** values, or gives the values alone.  Either row is accepted, and so is a
** row on the keyword line itself, because the sources do not settle the
** layout; what is wrong in any layout is reported: values that are no
** numbers, a missing or NA typical value, a typical outside minimum and
** maximum, a negative delay (a delay after the stimulus), a row name
** given twice, the keyword twice in one model, and a keyword without
** values.
**
** Only recognised: the names a row may carry, and which models may have
** the keyword (those a [Driver Schedule] names, by the BIRD's title).
**
** A nested module of the model (MDL_Current) and, as KW_SUB_INITIAL_DELAY,
** of the submodel (SUBMDL_Current); its records are on its own IbisFile
** list.
*/
#include "IbisParser/inidly.h"

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/strlist.h"
#include "IbisParser/submdl.h"

#include <string.h>

static const char inidlyKeyword[] = "[Initial Delay]";

static struct {
  InidlyRecord *open; /* the record the lines go to, or null */
  InidlyRecord *last; /* the newest record, for a repeated keyword */
} inidly;

static void inidlyRelease(void *record) {
  InidlyRecord *d = (InidlyRecord *)record;
  if( d == NULL ) return;
  if( d == inidly.open ) inidly.open = NULL;
  if( d == inidly.last ) inidly.last = NULL;
  while( d->rows ) {
    InidlyRow *r = d->rows;
    d->rows = r->next;
    CMN_FreeBlock(r);
  }
  STRING_CountFree(&d->names);
  CMN_FreeBlock(d);
}

static void inidlyReset(void) {
  inidly.open = NULL;
  inidly.last = NULL;
}

/* The owner's kind and name, for the messages. */
static const char *inidlyOwnerKind(const InidlyRecord *d) {
  return d->submodel ? "Submodel" : "Model";
}
static const char *inidlyOwnerName(const InidlyRecord *d) {
  return d->submodel ? ((const SUBMDL_Submodel *)d->owner)->name
                     : ((const MDL_Model *)d->owner)->name;
}

static InidlyRecord *inidlyNew(const void *owner, int submodel) {
  InidlyRecord *d = NULL;
  if( !IBIS_AppendNew(SECTION_INITIAL_DELAY, sizeof(*d), &d) ) {
    MSG_BugCodeLine(MSGC_MDL_NO_MEMORY, "IbisParser/inidly", __LINE__);
    return NULL;
  }
  d->owner = owner;
  d->submodel = submodel;
  d->line = PARSE_GetLineNumber();
  return d;
}

/* 1 when `text` reads as a value (a number or NA), not as a row name. */
static int inidlyIsValue(const char *text) {
  double v;
  int na;
  return CMN_GetValueOrNA(text, &v, &na) != 0;
}

static void inidlyNegative(const RNG_TypMinMax *t, const char *label) {
  static const char *const column[3] = { "typical", "minimum", "maximum" };
  int c;
  for( c = 0; c < 3; c++ ) {
    if( t->state[c] == CMN_VALUE_GIVEN && t->value[c] < 0.0 )
      MSG_ErrorCodeLine(MSGC_INIDLY_NEGATIVE, label, column[c]);
  }
}

static void inidlyValues(InidlyRecord *d, char *text) {
  RngItems items;
  InidlyRow *r = NULL;
  int named;
  const char *label;
  RNG_Split(text, &items);
  if( items.count == 0 ) return;
  d->lines++;
  named = !inidlyIsValue(items.item[0]);
  label = named ? items.item[0] : inidlyKeyword;
  if( !CMN_Calloc(&r, sizeof(*r)) ) {
    MSG_BugCodeLine(MSGC_MDL_NO_MEMORY, "IbisParser/inidly", __LINE__);
    return;
  }
  if( named )
    CMN_CopyTruncate(r->name, items.item[0], INIDLY_MAX_NAME, inidlyKeyword);
  if( STRING_CountAdd(&d->names, r->name) > 1 )
    MSG_ErrorCodeLine(MSGC_INIDLY_ROW_REPEATED, named ? label : "Delay");
  if( !RNG_Read(items.item + named, items.count - named, label, &r->delay) ) {
    CMN_FreeBlock(r);
    return;
  }
  if( r->delay.state[RNG_TYP] == CMN_VALUE_NA )
    MSG_ErrorCodeLine(MSGC_MDL_TYP_NA);
  inidlyNegative(&r->delay, label);
  r->line = PARSE_GetLineNumber();
  if( d->last )
    d->last->next = r;
  else
    d->rows = r;
  d->last = r;
}

static void inidlyKeywordLine(int code, char *text) {
  int submodel = code == KW_SUB_INITIAL_DELAY;
  const void *owner =
      submodel ? (const void *)SUBMDL_Current() : (const void *)MDL_Current();
  char *rest = text;
  inidly.open = NULL;
  if( owner == NULL ) return; /* the owner reported the orphan keyword */
  if( inidly.last && inidly.last->owner == owner ) {
    MSG_ErrorCodeLine(MSGC_INIDLY_ALREADY_DEFINED, inidlyOwnerKind(inidly.last),
                      inidlyOwnerName(inidly.last));
    inidly.open = inidly.last;
  } else if( (inidly.open = inidlyNew(owner, submodel)) == NULL ) {
    return;
  }
  inidly.last = inidly.open;
  if( CMN_SkipPastBracket(&rest) ) inidlyValues(inidly.open, rest);
}

static void inidlyLine(int lineType, int code, char *text) {
  if( lineType == SECTION_LINE_KEYWORD )
    inidlyKeywordLine(code, text);
  else if( inidly.open )
    inidlyValues(inidly.open, text);
}

static void inidlyClose(int previousCode, int newCode) {
  InidlyRecord *d = inidly.open;
  (void)previousCode;
  (void)newCode;
  inidly.open = NULL;
  /* A refused line was reported; it is not also a missing one. */
  if( d && d->lines == 0 )
    MSG_ErrorCode(MSGC_INIDLY_EMPTY, inidlyOwnerKind(d), inidlyOwnerName(d),
                  d->line);
}

const ParseSection INIDLY_ParseSection = { NULL, inidlyClose, inidlyLine,
                                           inidlyRelease, inidlyReset };
