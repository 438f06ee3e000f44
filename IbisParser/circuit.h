/*
** circuit.h: [Circuit Call] ... [End Circuit Call] of a component (an
** instance of an [External Circuit] wired to the component's pins and
** declared nodes), and the after-file check of every call's wiring.
*/
#ifndef IBISPARSER_CIRCUIT_H
#define IBISPARSER_CIRCUIT_H

#include "IbisParser/nameidx.h"

#define CIRCUIT_MAX_NAME 40
#define CIRCUIT_MAX_PIN 5
#define CIRCUIT_MAX_PORT 40 /* port and pin-or-node names of Port_map */

struct CMPNT_Component;

typedef struct CIRCUIT_PortMap {
  struct CIRCUIT_PortMap *next;
  char port[CIRCUIT_MAX_PORT + 1];
  char node[CIRCUIT_MAX_PORT + 1]; /* a component pin or declared node */
} CIRCUIT_PortMap;

typedef struct CIRCUIT_Call {
  struct CIRCUIT_Call *next;
  int line;                            /* of its [Circuit Call] line */
  char name[CIRCUIT_MAX_NAME + 1];     /* the called [External Circuit] */
  char refPin[2][CIRCUIT_MAX_PIN + 1]; /* empty when unused */
  CIRCUIT_PortMap *portMap;            /* newest first */
  NameIndex portIndex;                 /* port name -> its CIRCUIT_PortMap */
} CIRCUIT_Call;

/* Port-role flags of the nodes the circuit-call check builds. */
enum {
  CIRCUIT_NC = 0x1,
  CIRCUIT_UNKNOWN = 0x2,
  CIRCUIT_DIGITAL = 0x4,
  CIRCUIT_DIGITAL_DRIVER = 0x8,
  CIRCUIT_DIGITAL_RECEIVER = 0x10,
  CIRCUIT_ANALOG_RESERVE = 0x20,
  CIRCUIT_ANALOG_REFERENCE = 0x40,
  CIRCUIT_ANALOG = 0x80,
  CIRCUIT_ANALOG_PIN = 0x100,
  CIRCUIT_ANALOG_DRIVER = 0x200,
  CIRCUIT_AMS_UNKNOWN = 0x800,
  CIRCUIT_ANALOG_RECEIVER = 0x1000
};

/* A zero-filled call: 1, or 0 when memory ran out.  The component
** section names it, sets its line and pushes it on its list. */
int CIRCUIT_New(CIRCUIT_Call **out);
/* One data line of the call.  Names longer than their field are cut to
** it, with the common "too long" message. */
void CIRCUIT_ReadLine(char *text, CIRCUIT_Call *call);
/* Frees a component's call list. */
void CIRCUIT_FreeList(CIRCUIT_Call **list);
/* After the file: every call of the component against the file's external
** circuits (an index by name of XcktCircuit records). */
void CIRCUIT_Check(const struct CMPNT_Component *component,
                   const NameIndex *circuits);

/* Process-wide switches, both off by default; each returns the old state.
** The analog check adds the driver/receiver rules of analog nodes; the
** debug trace prints a line on standard output, outside the message log,
** where a node gains an analog driver and receiver through one converter
** port (every bidirectional SPICE circuit does, so it is off in normal
** runs). */
int CIRCUIT_SetAnalogCheck(int on);
int CIRCUIT_SetDebugTrace(int on);
/* The printed names of a flag set into buf (always terminated). */
void CIRCUIT_FlagNames(unsigned flags, char *buf, size_t size);

#endif
