/*
** xmdl.h: the [External Model] block of a model ([External Model] ...
** [End External Model]): its language, corners, ports and converter
** lines, and the port checks against the model's type.
*/
#ifndef IBISPARSER_XMDL_H
#define IBISPARSER_XMDL_H

struct NameCount;

/* Languages: SPICE and the IBIS-ISS and Touchstone of the 5.1 and later
** rules describe analog circuits only and reach the digital ports through
** converter lines; the VHDL and Verilog families (OTHER) have their own. */
enum {
  XMDL_LANG_NONE = 0,
  XMDL_LANG_SPICE = 1,
  XMDL_LANG_OTHER = 2,
  XMDL_LANG_ISS = 3,
  XMDL_LANG_TOUCHSTONE = 4
};

/* 1 for the analog-only languages (SPICE, IBIS-ISS, Touchstone). */
int XMDL_IsAnalog(int language);
/* "SPICE", "IBIS-ISS", "Touchstone"; "" for the others. */
const char *XMDL_LanguageName(int language);

/* One name of a Ports line, in file order. */
typedef struct XmdlPort {
  struct XmdlPort *next;
  char *name; /* owned */
} XmdlPort;

/* One Typ converter line (D_to_A or A_to_D), in file order, for the
** circuit-call checks that instantiate a circuit's ports. */
typedef struct XmdlConverter {
  struct XmdlConverter *next;
  int line;
  int d2a;       /* 1 for D_to_A, 0 for A_to_D */
  char *port[3]; /* d_port, port1, port2; owned */
} XmdlConverter;

typedef struct XmdlRecord {
  int language;                     /* XMDL_LANG_* */
  int corner[3];                    /* Typ, Min, Max seen */
  struct NameCount *ports;          /* the Ports lines */
  struct NameCount *converterPorts; /* ports of the Typ converter lines */
  int line;
  int closed;                                /* [End External Model] met */
  XmdlPort *portList, *portLast;             /* the Ports names, file order */
  XmdlConverter *converters, *converterLast; /* Typ converter lines */
  char *cornerFile[3]; /* the file of the Typ, Min, Max corner; owned */
} XmdlRecord;

/* [External Model]: a new record in *slot; a second one in the model is
** reported (with `model`) and replaces the first. */
void XMDL_Begin(XmdlRecord **slot, const char *model);
void XMDL_Line(XmdlRecord *x, char *text);
/* The checks at [End External Model], the corner files included;
** `typeName` null for a model without a type. */
void XMDL_Close(XmdlRecord *x, const char *model, int type,
                const char *typeName);
void XMDL_Free(XmdlRecord **slot);

#endif
