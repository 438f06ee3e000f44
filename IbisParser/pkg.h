/*
** pkg.h: the [Package] keyword of a component: the R_pkg, L_pkg and C_pkg
** value triples of its simple package model.
*/
#ifndef IBISPARSER_PKG_H
#define IBISPARSER_PKG_H

#include "IbisParser/rng.h"

enum { PKG_R = 0, PKG_L, PKG_C, PKG_COUNT };

typedef struct PKG_Package {
  RNG_TypMinMax *value[PKG_COUNT]; /* null until its line is read */
  /* A line named it but was refused (and reported there), so it is not
  ** reported again as missing. */
  int refused[PKG_COUNT];
} PKG_Package;

/* A new package in *out: 1, or 0 when memory ran out (reported). */
int PKG_New(PKG_Package **out);
/* One sub-parameter line. */
void PKG_ReadLine(PKG_Package *package, char *text);
/* At the end of the component: each missing sub-parameter. */
void PKG_CheckComplete(const PKG_Package *package, const char *component);
void PKG_Free(PKG_Package **package);

#endif
