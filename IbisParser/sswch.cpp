/*
** sswch.cpp: [Series Switch Groups] lines and their check.
**
** A group runs from its state word ("On" or "Off") to the token "/" and may
** span lines, so the reader remembers the open group between lines.  The
** names of the open group are indexed by name for the duplicate check;
** the index is rebuilt whenever the name array moves, which the doubling
** growth keeps linear in the number of names.
*/
#include "IbisParser/sswch.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

static SSWCH_Group *sswchOpen;   /* the group a "/" has not closed yet */
static NameIndex sswchOpenNames; /* its names */

void SSWCH_Reset(void) {
  sswchOpen = NULL;
  NAMEIDX_Free(&sswchOpenNames);
}

void SSWCH_FreeList(SSWCH_Group **list) {
  while( *list ) {
    SSWCH_Group *g = *list;
    *list = g->next;
    if( g == sswchOpen ) SSWCH_Reset();
    CMN_FreeBlock(g->name);
    CMN_FreeBlock(g);
  }
}

/* Room for one more name; 0 when memory ran out. */
static int sswchGrow(SSWCH_Group *g) {
  unsigned cap = g->cap ? g->cap * 2 : 4;
  unsigned i;
  if( g->count < g->cap ) return 1;
  if( cap <= g->cap || !CMN_Realloc(&g->name, cap * sizeof(*g->name)) )
    return 0;
  g->cap = cap;
  /* The names moved: index them again. */
  NAMEIDX_Free(&sswchOpenNames);
  for( i = 0; i < g->count; i++ ) NAMEIDX_Add(&sswchOpenNames, g->name[i], g);
  return 1;
}

static void sswchAddName(SSWCH_Group *g, const char *token) {
  char *name;
  size_t len = strlen(token);
  if( !sswchGrow(g) ) {
    MSG_ErrorCodeLine(MSGC_SSWCH_NAME_NO_MEMORY);
    return;
  }
  name = g->name[g->count++];
  if( len > SSWCH_MAX_NAME ) {
    MSG_ErrorCodeLine(MSGC_SSWCH_NAME_TOO_LONG, token, SSWCH_MAX_NAME);
    len = SSWCH_MAX_NAME;
  }
  memcpy(name, token, len);
  name[len] = 0;
  if( strcmp(name, "Off") == 0 || strcmp(name, "On") == 0 )
    MSG_ErrorCodeLine(MSGC_SSWCH_NAME_STATE_WORD);
  if( NAMEIDX_Contains(&sswchOpenNames, name) )
    MSG_ErrorCodeLine(MSGC_SSWCH_DUPLICATE_NAME, name);
  else
    NAMEIDX_Add(&sswchOpenNames, name, g);
  CMN_CheckReservedWord(name);
}

/* A new group for the state word; null (reported) when memory ran out. */
static SSWCH_Group *sswchNewGroup(const char *state) {
  SSWCH_Group *g = NULL;
  if( !CMN_Calloc(&g, sizeof(*g)) ) {
    MSG_ErrorCodeLine(MSGC_SSWCH_NO_MEMORY);
    MSG_ErrorCodeLine(MSGC_SSWCH_ADD_FAILED);
    return NULL;
  }
  strcpy(g->state, state); /* "On" or "Off" */
  NAMEIDX_Free(&sswchOpenNames);
  sswchOpen = g;
  return g;
}

int SSWCH_ReadLine(char *text, SSWCH_Group **out) {
  char *cursor = text, *token;
  SSWCH_Group *g = sswchOpen;
  CMN_ASSERT(text != NULL && out != NULL, "IbisParser/sswch");
  *out = NULL;
  if( g == NULL ) {
    token = CMN_NextToken(&cursor);
    if( token == NULL || (strcmp(token, "On") && strcmp(token, "Off")) ) {
      MSG_ErrorCodeLine(MSGC_SSWCH_UNKNOWN_STATE, token ? token : "");
      return 0;
    }
    if( (g = sswchNewGroup(token)) == NULL ) return 0;
    if( *cursor == 0 || strspn(cursor, " \t") == strlen(cursor) )
      MSG_ErrorCodeLine(MSGC_SSWCH_NO_NAMES);
  }
  *out = g;
  while( (token = CMN_NextToken(&cursor)) != NULL ) {
    if( strcmp(token, "/") == 0 ) {
      SSWCH_Reset(); /* the group is complete; the rest is ignored */
      break;
    }
    sswchAddName(g, token);
  }
  return 1;
}

void SSWCH_EndKeyword(void) {
  if( sswchOpen == NULL ) return;
  /* The names read so far stay in the group; the next keyword line is
  ** where the missing "/" shows. */
  MSG_ErrorCodeLine(MSGC_PARSE_KEYWORD_NOT_TERMINATED);
  SSWCH_Reset();
}

void SSWCH_Check(const CMPNT_Component *component) {
  NameIndex used = { NULL, 0, 0 };
  const SPINMPG_Entry *e;
  const SSWCH_Group *g;
  unsigned i;
  CMN_ASSERT(component != NULL, "IbisParser/sswch");
  for( e = component->seriesPinMappings; e; e = e->next ) {
    if( e->group[0] ) NAMEIDX_Add(&used, e->group, (void *)e);
  }
  for( g = component->switchGroups; g; g = g->next ) {
    for( i = 0; i < g->count; i++ ) {
      if( !NAMEIDX_Contains(&used, g->name[i]) )
        MSG_WarningCode(MSGC_SSWCH_UNUSED_GROUP, component->name, g->name[i]);
    }
  }
  NAMEIDX_Free(&used);
}
