/*
** rng.h: value triples (typical, minimum, maximum) and the in-place item
** splitter the model sections read their lines with.
**
** A triple's three values each carry a state: absent, given, or NA (the
** word "NA" in the file).  RNG_Read fills a triple from the items after a
** keyword or subparameter name and leaves it untouched when an item is not
** a number, so a rejected line never half-overwrites a stored value.
*/
#ifndef IBISPARSER_RNG_H
#define IBISPARSER_RNG_H

enum { RNG_TYP = 0, RNG_MIN = 1, RNG_MAX = 2 };

typedef struct RNG_TypMinMax {
  double value[3]; /* indexed by RNG_TYP, RNG_MIN, RNG_MAX */
  int state[3];    /* CMN_VALUE_ABSENT, CMN_VALUE_GIVEN, CMN_VALUE_NA */
} RNG_TypMinMax;

/* Longest item list a model line is split into; items past it are
** counted but not kept. */
#define RNG_MAX_ITEMS 12

typedef struct RngItems {
  char *item[RNG_MAX_ITEMS];
  int count; /* every item on the line, possibly more than kept */
} RngItems;

/* Splits `text` in place at blanks and tabs (the text is modified). */
void RNG_Split(char *text, RngItems *out);

/* Splits a subparameter line "name = values", "name=values" or "name
** values" in place: item 0 is the name, the others the values, the '='
** dropped.  `equals` (may be null) receives 1 when an '=' was there. */
void RNG_SplitNamed(char *text, RngItems *out, int *equals);

/* Reads a triple from `n` items into *out, `label` naming it in the
** messages.  Returns 1 when the triple was stored (one or two items store
** what they give, after the "No ... Value" report), 0 when the count was
** wrong or an item was not a number (nothing stored). */
int RNG_Read(char *const *item, int n, const char *label, RNG_TypMinMax *out);
/* The same for a whole text, split first. */
int RNG_ReadText(char *text, const char *label, RNG_TypMinMax *out);

/* 1 when a triple has its typical value given (not absent, not NA). */
int RNG_HasTyp(const RNG_TypMinMax *t);
/* 1 when any of the three values is present (given or NA). */
int RNG_IsSet(const RNG_TypMinMax *t);

#endif
