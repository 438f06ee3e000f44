/*
** pkg.cpp: the [Package] sub-parameters R_pkg, L_pkg and C_pkg of a
** component, each a typ/min/max triple on one line.
*/
#include "IbisParser/pkg.h"

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

#include <string.h>

#define PKG_SRC "IbisParser/pkg"

static const char *const pkgName[PKG_COUNT] = { "R_pkg", "L_pkg", "C_pkg" };
static const int pkgDuplicate[PKG_COUNT] = { MSGC_PKG_DUPLICATE_R,
                                             MSGC_PKG_DUPLICATE_L,
                                             MSGC_PKG_DUPLICATE_C };
static const int pkgMissing[PKG_COUNT] = { MSGC_PKG_NO_R, MSGC_PKG_NO_L,
                                           MSGC_PKG_NO_C };

int PKG_New(PKG_Package **out) {
  CMN_ASSERT(out != NULL, PKG_SRC);
  *out = NULL;
  if( !CMN_Calloc(out, sizeof(**out)) ) {
    MSG_ErrorCodeLine(MSGC_PKG_NO_MEMORY);
    return 0;
  }
  return 1;
}

static int pkgFind(const char *name) {
  int k;
  for( k = 0; k < PKG_COUNT; k++ ) {
    if( CMN_StrEqualNoCase(name, pkgName[k]) ) return k;
  }
  return -1;
}

void PKG_ReadLine(PKG_Package *package, char *text) {
  RngItems items;
  RNG_TypMinMax t;
  int k;
  CMN_ASSERT(package != NULL && text != NULL, PKG_SRC);
  if( CMN_IsSpace((unsigned char)text[0]) )
    MSG_ErrorCodeLine(MSGC_PKG_NOT_COLUMN_ONE);
  RNG_Split(text, &items);
  k = items.count > 0 ? pkgFind(items.item[0]) : -1;
  if( items.count != 4 ) {
    MSG_ErrorCodeLine(MSGC_PKG_COLUMNS, 4, items.count);
    if( k >= 0 ) package->refused[k] = 1;
    return;
  }
  if( k < 0 ) {
    MSG_ErrorCodeLine(MSGC_PKG_UNKNOWN);
    return;
  }
  if( package->value[k] != NULL ) {
    MSG_ErrorCodeLine(pkgDuplicate[k]);
    return;
  }
  if( !RNG_Read(items.item + 1, 3, pkgName[k], &t) ) {
    MSG_ErrorCodeLine(MSGC_PKG_BAD_DATA, pkgName[k]);
    package->refused[k] = 1;
    return;
  }
  if( t.state[RNG_TYP] != CMN_VALUE_GIVEN ) MSG_ErrorCodeLine(MSGC_PKG_NO_TYP);
  if( t.state[RNG_MIN] == CMN_VALUE_ABSENT ) MSG_ErrorCodeLine(MSGC_PKG_NO_MIN);
  if( t.state[RNG_MAX] == CMN_VALUE_ABSENT ) MSG_ErrorCodeLine(MSGC_PKG_NO_MAX);
  if( !CMN_Calloc(&package->value[k], sizeof(t)) ) {
    MSG_ErrorCodeLine(MSGC_PKG_NO_MEMORY);
    return;
  }
  *package->value[k] = t;
}

void PKG_CheckComplete(const PKG_Package *package, const char *component) {
  int k;
  if( package == NULL ) return;
  for( k = 0; k < PKG_COUNT; k++ ) {
    if( package->value[k] == NULL && !package->refused[k] )
      MSG_ErrorCode(pkgMissing[k], component);
  }
}

void PKG_Free(PKG_Package **package) {
  int k;
  CMN_ASSERT(package != NULL, PKG_SRC);
  if( *package == NULL ) return;
  for( k = 0; k < PKG_COUNT; k++ ) CMN_Free(&(*package)->value[k]);
  CMN_Free(package);
}
