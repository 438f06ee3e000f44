/*
** tsport.cpp: how many ports a Touchstone file describes.
**
** The name says it by convention (".s4p"); a Touchstone 2.0 file says it
** in its [Number of Ports] keyword; a 1.x file says it only through its
** data.  There, each frequency point is the frequency followed by the N x N
** matrix of complex values (2N^2 numbers); a point starts on a new line,
** its line holds an odd count of numbers (the frequency and whole pairs),
** and the lines that continue it hold pairs only, an even count.  So the
** first point is its first line and the even lines after it, and N
** follows from the count of its numbers.  Comments run from '!' to the
** end of the line; the option line starts with '#'.
**
** The file is read character by character, so a line of any length is
** counted without a buffer of that length, and reading stops at the end
** of the first point.
*/
#include "IbisParser/tsport.h"

#include "IbisParser/cmn.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

int TSPORT_FromName(const char *name) {
  const char *dot;
  unsigned long n = 0;
  size_t len, i;
  if( name == NULL || (dot = strrchr(name, '.')) == NULL ) return 0;
  len = strlen(dot);
  if( len < 4 || tolower((unsigned char)dot[1]) != 's'
      || tolower((unsigned char)dot[len - 1]) != 'p' )
    return 0;
  for( i = 2; i < len - 1; i++ ) {
    if( !isdigit((unsigned char)dot[i]) ) return 0;
    n = n * 10 + (unsigned long)(dot[i] - '0');
    if( n > TSPORT_MAX ) return 0;
  }
  return (int)n;
}

/* Reading state of one line. */
typedef struct TsLine {
  char head[48]; /* the start of a keyword line, lower case */
  size_t headLen;
  long numbers; /* blank-separated items before any comment */
  int kind;     /* TS_DATA, TS_SKIP (comment, option), TS_KEYWORD */
} TsLine;

enum { TS_DATA = 0, TS_SKIP = 1, TS_KEYWORD = 2 };

/* The value of "[number of ports] N" in a keyword line's head, or 0. */
static int tsportKeyword(const TsLine *l) {
  static const char key[] = "[number of ports]";
  long n;
  char *end;
  if( strncmp(l->head, key, sizeof(key) - 1) != 0 ) return 0;
  n = strtol(l->head + sizeof(key) - 1, &end, 10);
  return n > 0 && n <= TSPORT_MAX ? (int)n : 0;
}

/* Reads one line; 0 at the end of the file with nothing read. */
static int tsportLine(FILE *fp, TsLine *l) {
  int c, inItem = 0, comment = 0, any = 0, first = 1;
  memset(l, 0, sizeof(*l));
  while( (c = getc(fp)) != EOF && c != '\n' ) {
    any = 1;
    if( first && !isspace(c) ) {
      first = 0;
      if( c == '!' || c == '#' ) l->kind = TS_SKIP;
      if( c == '[' ) l->kind = TS_KEYWORD;
    }
    if( l->kind == TS_KEYWORD && l->headLen + 1 < sizeof(l->head) ) {
      /* Blanks between the words of a keyword come as one. */
      if( !isspace(c) || (l->headLen && l->head[l->headLen - 1] != ' ') )
        l->head[l->headLen++] = (char)(isspace(c) ? ' ' : tolower(c));
    }
    if( l->kind != TS_DATA || comment ) continue;
    if( c == '!' ) {
      comment = 1;
    } else if( isspace(c) ) {
      inItem = 0;
    } else if( !inItem ) {
      inItem = 1;
      if( l->numbers < 0x7fffffffL ) l->numbers++;
    }
  }
  return any || c != EOF;
}

/* N from the count of numbers of one frequency point, or 0. */
static int tsportFromCount(long numbers) {
  long pairs, n;
  if( numbers < 3 || (numbers - 1) % 2 ) return 0;
  pairs = (numbers - 1) / 2;
  for( n = 1; n * n < pairs && n <= TSPORT_MAX; n++ ) {}
  return n * n == pairs ? (int)n : 0;
}

int TSPORT_FromData(FILE *fp) {
  TsLine l;
  long point = 0; /* numbers of the first frequency point so far */
  if( fp == NULL ) return 0;
  while( tsportLine(fp, &l) ) {
    if( l.kind == TS_KEYWORD ) {
      int n = tsportKeyword(&l);
      if( n ) return n;
      if( strncmp(l.head, "[end]", 5) == 0 ) break;
      continue;
    }
    if( l.kind == TS_SKIP || l.numbers == 0 ) continue;
    if( point == 0 ) {
      if( l.numbers % 2 == 0 ) return 0; /* no frequency in front */
      point = l.numbers;
    } else if( l.numbers % 2 == 0 ) {
      point += l.numbers;
      if( point > 2L * TSPORT_MAX * TSPORT_MAX ) return 0;
    } else {
      break; /* the second point begins */
    }
  }
  return tsportFromCount(point);
}
