/*
** wvfrm.h: waveform tables ([Rising Waveform], [Falling Waveform], their
** [Composite Current] tables, and the submodel pulse tables).
**
** A waveform is its fixture subparameters and a row table of time against
** typical, minimum and maximum value.  Waveforms of one direction form a
** list held by their model or submodel.  A golden waveform (the tables of
** a [Test Data]) has no fixture and carries the name of its own table.
*/
#ifndef IBISPARSER_WVFRM_H
#define IBISPARSER_WVFRM_H

#include "IbisParser/rngp.h"

enum {
  WVFRM_RISING = 0,
  WVFRM_FALLING,
  WVFRM_COMPOSITE,
  WVFRM_GND_PULSE,
  WVFRM_POWER_PULSE,
  WVFRM_GOLDEN
};

/* Fixture subparameters, in table order. */
enum {
  WVFRM_R_FIXTURE = 0,
  WVFRM_V_FIXTURE,
  WVFRM_V_FIXTURE_MIN,
  WVFRM_V_FIXTURE_MAX,
  WVFRM_C_FIXTURE,
  WVFRM_L_FIXTURE,
  WVFRM_R_DUT,
  WVFRM_L_DUT,
  WVFRM_C_DUT,
  WVFRM_FIXTURE_COUNT
};

/* Most waveforms of one direction a model may hold. */
#define WVFRM_MAX_PER_DIRECTION 100

typedef struct Waveform {
  struct Waveform *next;
  int kind; /* WVFRM_* */
  double fixture[WVFRM_FIXTURE_COUNT];
  int fixtureGiven[WVFRM_FIXTURE_COUNT];
  RngpTable table;
  struct Waveform *composite; /* its [Composite Current], or null */
  int full;                   /* the row limit was reported */
  const char *name;           /* a golden table's own name (static text) */
} Waveform;

typedef struct WaveformList {
  Waveform *first;
  Waveform *last;
  int count;
} WaveformList;

/* A new waveform of `kind` starting at the current line, or null (reported)
** when memory ran out. */
Waveform *WVFRM_New(int kind);
/* A new golden waveform named `name` (static text, "Rising Waveform Near"
** ...), or null (reported). */
Waveform *WVFRM_NewGolden(const char *name);
/* Appends a rising or falling waveform to its list; the 101st of a list is
** reported and still kept.  Returns the waveform, or null. */
Waveform *WVFRM_Append(WaveformList *list, int kind);
/* A data line: a fixture subparameter or a row. */
void WVFRM_Line(Waveform *w, char *text);
/* The checks when the waveform's section ends. */
void WVFRM_Close(const Waveform *w);
void WVFRM_Free(Waveform **w);
void WVFRM_FreeList(WaveformList *list);
/* The name of a kind in messages ("Rising", "Composite Current" ...). */
const char *WVFRM_KindName(int kind);

#endif
