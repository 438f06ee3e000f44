/*
** pintab.cpp: the column header, line shape, pin names and pin look-ups
** that [Repeater Pin] and [Clock Pins] share.
**
** Both keywords are tables in the manner of [Diff Pin]: the keyword's own
** column holds a pin, the names on the keyword line head the other
** columns, and every data line holds one entry per column.  Their pins
** are checked against the component after the file, because [Pin] may
** come after them.
*/
#include "IbisParser/pintab.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

void PINTAB_Header(char *rest, const char *label, const char *const *names,
                   int count) {
  RngItems items;
  int i;
  RNG_Split(rest, &items);
  if( items.count == 0 ) {
    MSG_ErrorCodeLine(MSGC_CMPNT_NO_COLUMN_HEADERS, label);
    return;
  }
  for( i = 0; i < count; i++ ) {
    if( i >= items.count || !CMN_StrEqualNoCase(items.item[i], names[i]) )
      MSG_ErrorCodeLine(MSGC_CMPNT_COLUMN_MISSING, names[i]);
  }
  if( items.count != count )
    MSG_ErrorCodeLine(MSGC_PINTAB_HEADER_COUNT, label, count + 1,
                      items.count + 1);
}

int PINTAB_Line(char *text, const char *label, int columns, RngItems *items) {
  RNG_Split(text, items);
  if( items->count == columns ) return 1;
  MSG_ErrorCodeLine(MSGC_PINTAB_LINE_COLUMNS, label, columns, items->count);
  return 0;
}

void PINTAB_CopyPin(char *field, const char *value, const char *column) {
  /* An empty name cannot reach here: the line splitter gives none. */
  CMN_CopyTruncate(field, value, PIN_MAX_NAME, column);
}

int PINTAB_PinDeclared(const CMPNT_Component *component, const char *column,
                       const char *pin) {
  if( CMPNT_FindPin(component, pin) ) return 1;
  MSG_ErrorCode(MSGC_PINTAB_PIN_UNDECLARED, component->name, column, pin);
  return 0;
}
