/*
** amitypes.cpp: classification of parameter values and leaf names.
**
** Owns the value typing rule, the IBIS-AMI reserved words (the vocabulary
** of a parameter's Usage, Type and Format) and the leaf-name keywords,
** all compared exactly and case-sensitively.
*/
#include <stdlib.h>
#include <string.h>

#include "amiparam/amiparam.h"

int AMIPARAM_ValueType(const char *text) {
  char *end;
  if( text == 0 || *text == 0 ) return AMIPARAM_EMPTY;
  (void)strtol(text, &end, 10);
  if( end != text && *end == 0 ) return AMIPARAM_INTEGER;
  (void)strtod(text, &end);
  if( end != text && *end == 0 ) return AMIPARAM_REAL;
  if( (text[0] == 'T' && strcmp(text, "True") == 0)
      || (text[0] == 'F' && strcmp(text, "False") == 0) )
    return AMIPARAM_BOOLEAN;
  return AMIPARAM_WORD;
}

/* Indexed by reserved-word code. */
static const char *const amiReservedWords[] = {
  "In",        "Out",   "Info",  "InOut",    "Float",      "Integer", "String",
  "Boolean",   "Tap",   "UI",    "Value",    "Range",      "List",    "Corner",
  "Increment", "Steps", "Table", "Gaussian", "Dual-Dirac", "DjRj",
};

int AMIPARAM_ReservedWord(const char *text) {
  if( text == 0 ) return AMIPARAM_RW_NONE;
  for( int i = 0;
       i < (int)(sizeof amiReservedWords / sizeof amiReservedWords[0]); i++ )
    if( strcmp(text, amiReservedWords[i]) == 0 ) return i;
  return AMIPARAM_RW_NONE;
}

/* Indexed by keyword code minus one. */
static const char *const amiLeafKeywords[] = {
  "Usage", "Type", "Format", "Default", "Description", "Labels",
};

int AMIPARAM_LeafKeyword(const char *name) {
  /* Every keyword starts with an upper-case letter; most names do not. */
  if( name == 0 || !strchr("UTFDL", name[0]) || name[0] == 0 )
    return AMIPARAM_KW_NONE;
  for( int i = 0; i < (int)(sizeof amiLeafKeywords / sizeof amiLeafKeywords[0]);
       i++ )
    if( strcmp(name, amiLeafKeywords[i]) == 0 ) return i + 1;
  return AMIPARAM_KW_NONE;
}
