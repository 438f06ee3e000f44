/*
** tsport.h: the port count of a Touchstone file, by its name and by its
** content.
*/
#ifndef IBISPARSER_TSPORT_H
#define IBISPARSER_TSPORT_H

#include <stdio.h>

/* The most ports a count is believed: more is taken for a broken file. */
#define TSPORT_MAX 10000

/* N for a name ending in ".sNp" (letter case ignored), else 0. */
int TSPORT_FromName(const char *name);

/* The count the content gives: the [Number of Ports] keyword of a
** Touchstone 2.0 file, else the size of the first frequency point's
** matrix of a 1.x file.  0 when neither can be read. */
int TSPORT_FromData(FILE *fp);

#endif
