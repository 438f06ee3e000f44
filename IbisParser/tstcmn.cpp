/*
** tstcmn.cpp: the name line, subparameter shapes and model look-ups shared
** by the [Test Load] and [Test Data] sections.
*/
#include "IbisParser/tstcmn.h"

#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"

#include <string.h>

static const char *const tstTypeWord[2] = { "Single_ended", "Differential" };

void TST_NameLine(const TstCodes *c, char *text, char *name,
                  NameCount **names) {
  char *rest = text;
  CmnTokens tok;
  size_t len;
  name[0] = 0;
  if( !CMN_SkipPastBracket(&rest) ) {
    MSG_BugCodeLine(c->eatKeyword, c->record, c->src, __LINE__);
    return;
  }
  if( !CMN_SplitTokens(rest, 1, 0, &tok) ) {
    MSG_ErrorCode(c->saveName);
    return;
  }
  if( tok.found == 0 ) {
    MSG_ErrorCodeLine(c->missingName);
    CMN_FreeTokens(&tok);
    return;
  }
  if( tok.found > 1 )
    MSG_ErrorCodeLine(c->keywordItems, tok.found, c->keyword, 1);
  len = strlen(tok.token[0]);
  if( len > TST_MAX_NAME ) {
    /* Cut, never dropped: the checks after the file still find it. */
    MSG_ErrorCodeLine(c->nameTooLong, TST_MAX_NAME);
    len = TST_MAX_NAME;
  } else if( CMN_IsReservedWord(tok.token[0]) ) {
    MSG_ErrorCodeLine(c->reservedName, tok.token[0]);
  } else if( STRING_CountHas(*names, tok.token[0]) ) {
    MSG_ErrorCodeLine(c->nameRepeated, tok.token[0]);
  }
  memcpy(name, tok.token[0], len);
  name[len] = 0;
  STRING_CountAdd(names, name);
  CMN_FreeTokens(&tok);
}

int TST_Tokens(const char *text, CmnTokens *tok) {
  return CMN_SplitTokens(text, 4, '=', tok);
}

int TST_TwoTokens(const TstCodes *c, const CmnTokens *tok) {
  if( tok->found == 1 ) {
    MSG_ErrorCodeLine(c->missingSetting, tok->token[0]);
    return 0;
  }
  if( tok->found >= 2 && strcmp(tok->token[1], "=") == 0 ) {
    MSG_ErrorCodeLine(c->invalidLine, tok->token[0]);
    return 0;
  }
  if( tok->found != 2 ) {
    MSG_ErrorCodeLine(c->lineItems, tok->found, tok->token[0], 2);
    return 0;
  }
  return 1;
}

int TST_TypeValue(const TstCodes *c, const char *sub, const char *value) {
  int i;
  for( i = 0; i < 2; i++ ) {
    if( strcmp(value, tstTypeWord[i]) == 0 ) return TST_TYPE_SINGLE_ENDED + i;
  }
  for( i = 0; i < 2; i++ ) {
    if( CMN_StrEqualNoCase(value, tstTypeWord[i]) ) {
      MSG_ErrorCodeLine(c->invalidTry, sub, value, tstTypeWord[i]);
      return TST_TYPE_INVALID;
    }
  }
  MSG_ErrorCodeLine(c->invalidSetting, sub, value);
  return TST_TYPE_INVALID;
}

void TST_NameValue(const TstCodes *c, const char *sub, const char *value,
                   char *field, unsigned maximum) {
  size_t len = strlen(value);
  if( len > maximum ) {
    MSG_ErrorCodeLine(c->valueTooLong, sub, (int)maximum);
    len = maximum;
  } else if( CMN_IsReservedWord(value) ) {
    MSG_ErrorCodeLine(c->reservedValue, sub, value);
  }
  memcpy(field, value, len);
  field[len] = 0;
}

unsigned TST_ModelNameMax(void) {
  return PARSE_GetDispatchVersion() < 4 ? 20 : TST_MAX_MODEL;
}

int TST_IndexModels(IbisFile *file, NameIndex *models) {
  IbisItem *item = NULL;
  int n = 0;
  if( !IBIS_GetModels(file, &item) ) return 0;
  for( ; item; item = item->next ) {
    MDL_Model *m = (MDL_Model *)item->record;
    if( m == NULL ) continue;
    n++;
    if( m->name[0] ) NAMEIDX_Add(models, m->name, m);
  }
  return n;
}

int TST_DiffPinUses(NameIndex *asked, MDL_Model *model) {
  static int yes, no;
  void *known = NAMEIDX_Find(asked, model->name);
  int found;
  if( known ) return known == &yes;
  /* Each question walks the components' differential pins: ask once per
  ** model however many records name it. */
  found = CMPNT_FindDiffPin(model, NULL);
  NAMEIDX_Add(asked, model->name, found ? &yes : &no);
  return found;
}
