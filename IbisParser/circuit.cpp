/*
** circuit.cpp: [Circuit Call] lines and the check of their wiring.
**
** The check instantiates each called [External Circuit]: every port of its
** Ports lines and of its Typ converter lines becomes an internal node of the
** call, with port-role flags.  The call's Port_map lines connect internal
** nodes to component-side nodes (pins and declared nodes), which gain the
** flags of the ports they meet; the rules then look at the flags and the
** connection counts.  How roles are given:
**   - "A_gnd" is a reserved analog reference (ANALOG_RESERVE, ANALOG);
**   - a port on a converter line takes the converter's role: the digital
**     port of a D_to_A receives (DIGITAL_RECEIVER) and of an A_to_D drives
**     (DIGITAL_DRIVER); port1 of a D_to_A is an ANALOG_DRIVER, of an A_to_D
**     an ANALOG_RECEIVER; port2 of either an ANALOG_REFERENCE;
**   - D_drive, D_switch and D_enable receive, D_receive drives;
**   - any other port is ANALOG in a SPICE, IBIS-ISS or Touchstone circuit
**     (their ports are analog), AMS_UNKNOWN in the AMS languages (such a
**     port may be either), and UNKNOWN when the circuit names no valid
**     language.
** Connections: an internal node counts one for being a port of the circuit
** (its Ports line), one per converter line naming it and one per Port_map
** entry; a component-side node counts one per Port_map entry of any call.
** Reference pins (Signal_pin and the like) enter the component-side nodes
** without a connection.  Every look-up goes through a hash index, so the
** check is linear in calls, ports and pins.
*/
#include "IbisParser/circuit.h"

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/xckt.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#define CIRCUIT_SRC "IbisParser/circuit"

static int circuitAnalogCheck;
static int circuitDebugTrace;

int CIRCUIT_SetAnalogCheck(int on) {
  int old = circuitAnalogCheck;
  circuitAnalogCheck = on != 0;
  return old;
}

int CIRCUIT_SetDebugTrace(int on) {
  int old = circuitDebugTrace;
  circuitDebugTrace = on != 0;
  return old;
}

int CIRCUIT_New(CIRCUIT_Call **out) {
  return CMN_Calloc((void **)out, sizeof(**out));
}

void CIRCUIT_FreeList(CIRCUIT_Call **list) {
  while( *list ) {
    CIRCUIT_Call *c = *list;
    *list = c->next;
    while( c->portMap ) {
      CIRCUIT_PortMap *p = c->portMap;
      c->portMap = p->next;
      CMN_FreeBlock(p);
    }
    NAMEIDX_Free(&c->portIndex);
    CMN_FreeBlock(c);
  }
}

/* ---- lines ------------------------------------------------------------- */

/* Signal_pin (one pin, first slot only), Diff_signal_pins and Series_pins
** (two pins, each in the first free slot). */
static void circuitPinLine(CIRCUIT_Call *call, const char *kind, int pins,
                           char **cursor) {
  char *pin;
  int i, slot;
  for( i = 0; i < pins; i++ ) {
    if( (pin = CMN_NextToken(cursor)) == NULL ) {
      MSG_ErrorCodeLine(MSGC_CIRCUIT_TOO_FEW_ARGUMENTS, kind);
      return;
    }
    slot = call->refPin[0][0] == 0 ? 0 : 1;
    if( (pins == 1 && slot != 0) || call->refPin[slot][0] ) {
      MSG_ErrorCodeLine(MSGC_CIRCUIT_TOO_MANY_PINS, pin);
      continue;
    }
    CMN_CopyTruncate(call->refPin[slot], pin, CIRCUIT_MAX_PIN, kind);
  }
  if( (pin = CMN_NextToken(cursor)) != NULL )
    MSG_ErrorCodeLine(MSGC_CIRCUIT_EXTRA_PIN_TOKEN, pin);
}

static void circuitPortMapLine(CIRCUIT_Call *call, char **cursor) {
  CIRCUIT_PortMap *map = NULL;
  char *port = CMN_NextToken(cursor);
  char *node = port ? CMN_NextToken(cursor) : NULL;
  if( node == NULL ) {
    MSG_ErrorCodeLine(MSGC_CIRCUIT_MISSING_PORT_MAP);
    return;
  }
  if( !CMN_Calloc(&map, sizeof(*map)) ) {
    MSG_BugCode(MSGC_CIRCUIT_NO_MEMORY, CIRCUIT_SRC, __LINE__);
    return;
  }
  CMN_CopyTruncate(map->port, port, CIRCUIT_MAX_PORT, "Port_map port");
  CMN_CopyTruncate(map->node, node, CIRCUIT_MAX_PORT, "Port_map pin or node");
  if( NAMEIDX_Contains(&call->portIndex, map->port) ) {
    MSG_ErrorCodeLine(MSGC_CIRCUIT_REDUNDANT_PORT, map->port);
    CMN_FreeBlock(map);
    return;
  }
  map->next = call->portMap;
  call->portMap = map;
  NAMEIDX_Add(&call->portIndex, map->port, map);
}

void CIRCUIT_ReadLine(char *text, CIRCUIT_Call *call) {
  char *cursor = text, *kind;
  CMN_ASSERT(text != NULL && call != NULL, CIRCUIT_SRC);
  if( (kind = CMN_NextToken(&cursor)) == NULL ) return;
  if( strcmp(kind, "Signal_pin") == 0 )
    circuitPinLine(call, kind, 1, &cursor);
  else if( strcmp(kind, "Diff_signal_pins") == 0
           || strcmp(kind, "Series_pins") == 0 )
    circuitPinLine(call, kind, 2, &cursor);
  else if( strcmp(kind, "Port_map") == 0 )
    circuitPortMapLine(call, &cursor);
  else
    MSG_ErrorCodeLine(MSGC_CIRCUIT_ILLEGAL_PARAMETER, kind);
}

/* ---- flags ------------------------------------------------------------- */

#define CIRCUIT_DIGITAL_ANY                                                    \
  (CIRCUIT_DIGITAL | CIRCUIT_DIGITAL_DRIVER | CIRCUIT_DIGITAL_RECEIVER)
#define CIRCUIT_ANALOG_ANY                                                     \
  (CIRCUIT_ANALOG_RESERVE | CIRCUIT_ANALOG_REFERENCE | CIRCUIT_ANALOG          \
   | CIRCUIT_ANALOG_PIN | CIRCUIT_ANALOG_DRIVER | CIRCUIT_ANALOG_RECEIVER)
#define CIRCUIT_PIN_FLAGS                                                      \
  (CIRCUIT_ANALOG_PIN | CIRCUIT_ANALOG_DRIVER | CIRCUIT_ANALOG_RECEIVER)
#define CIRCUIT_ALL_FLAGS 0xffffu

void CIRCUIT_FlagNames(unsigned flags, char *buf, size_t size) {
  static const struct {
    unsigned flag;
    const char *name;
  } order[] = { { CIRCUIT_AMS_UNKNOWN, "AMS_UNKNOWN " },
                { CIRCUIT_DIGITAL, "DIGITAL " },
                { CIRCUIT_DIGITAL_DRIVER, "DIGITAL_DRIVER " },
                { CIRCUIT_DIGITAL_RECEIVER, "DIGITAL_RECEIVER " },
                { CIRCUIT_ANALOG_RESERVE, "ANALOG_RESERVE " },
                { CIRCUIT_ANALOG_REFERENCE, "ANALOG_REFERENCE " },
                { CIRCUIT_ANALOG, "ANALOG " },
                { CIRCUIT_ANALOG_PIN, "ANALOG_PIN " },
                { CIRCUIT_ANALOG_DRIVER, "ANALOG_DRIVER " },
                { CIRCUIT_ANALOG_RECEIVER, "ANALOG_RECEIVER" },
                { CIRCUIT_NC, "NC " },
                { CIRCUIT_UNKNOWN, "UNKNOWN " } };
  size_t i, n = sizeof(order) / sizeof(order[0]), used = 0;
  int any = 0;
  if( size == 0 ) return;
  buf[0] = 0;
  for( i = 0; i < n; i++ ) {
    /* NC and UNKNOWN print only when no other flag does. */
    if( i == n - 2 && any ) break;
    if( (flags & order[i].flag) == 0 ) continue;
    any = 1;
    used += (size_t)snprintf(buf + used, size - used, "%s", order[i].name);
    if( used >= size ) return;
  }
}

/* ---- check state --------------------------------------------------------- */

typedef struct CircuitConn { /* one connection of a component-side node */
  int next;                  /* the node's next connection, or -1 */
  int callLine;
  int converterLine; /* the port's first converter line, 0 for none */
  const char *port;
  unsigned flags; /* the port's */
} CircuitConn;

typedef struct CircuitNode { /* a pin or declared node used by the calls */
  const char *name;
  unsigned flags;
  int count;
  int isPin;
  int first, last; /* its connections, -1 for none */
} CircuitNode;

typedef struct CircuitPort { /* an internal node of the current call */
  const char *name;
  unsigned flags;
  int count;
  int converterLine; /* the first Typ converter line naming it, or 0 */
  int node;          /* the component-side node it meets, or -1 */
} CircuitPort;

typedef struct CircuitState {
  const CMPNT_Component *component;
  NameIndex declared; /* declared node names */
  CircuitNode *node;
  int nodes, nodeCap;
  NameIndex nodeIndex; /* name -> index + 1 */
  CircuitConn *conn;
  int conns, connCap;
  CircuitPort *port;
  int ports, portCap;
  NameIndex portIndex; /* name -> index + 1, for the current call */
  int failed;          /* memory ran out: the check stops */
} CircuitState;

/* Room for one more element of *array; 0 (reported) when memory ran out. */
static int circuitGrow(CircuitState *st, void *array, int *cap, int count,
                       size_t size) {
  int want = *cap ? *cap * 2 : 16;
  if( st->failed ) return 0;
  if( count < *cap ) return 1;
  if( want <= *cap || !CMN_Realloc(array, (size_t)want * size) ) {
    MSG_BugCode(MSGC_CIRCUIT_NO_MEMORY, CIRCUIT_SRC, __LINE__);
    st->failed = 1;
    return 0;
  }
  *cap = want;
  return 1;
}

static int circuitIndexOf(const NameIndex *index, const char *name) {
  void *r = NAMEIDX_Find(index, name);
  return r ? (int)((intptr_t)r - 1) : -1;
}

static int circuitIndexAdd(CircuitState *st, NameIndex *index, const char *name,
                           int i) {
  if( NAMEIDX_Add(index, name, (void *)(intptr_t)(i + 1)) ) return 1;
  st->failed = 1;
  return 0;
}

/* The component-side node of that name, entered when new; -1 on failure. */
static int circuitNodeFor(CircuitState *st, const char *name, int isPin) {
  int i = circuitIndexOf(&st->nodeIndex, name);
  CircuitNode *n;
  if( i >= 0 ) {
    if( isPin && !st->node[i].isPin ) {
      st->node[i].isPin = 1;
      st->node[i].flags |= CIRCUIT_PIN_FLAGS;
    }
    return i;
  }
  if( !circuitGrow(st, &st->node, &st->nodeCap, st->nodes, sizeof(*n)) )
    return -1;
  i = st->nodes;
  if( !circuitIndexAdd(st, &st->nodeIndex, name, i) ) return -1;
  st->nodes++;
  n = &st->node[i];
  n->name = name;
  n->flags = isPin ? CIRCUIT_PIN_FLAGS : CIRCUIT_NC | CIRCUIT_UNKNOWN;
  n->count = 0;
  n->isPin = isPin;
  n->first = n->last = -1;
  return i;
}

/* The internal node of that name, entered when new; -1 on failure. */
static int circuitPortFor(CircuitState *st, const char *name) {
  int i = circuitIndexOf(&st->portIndex, name);
  CircuitPort *p;
  if( i >= 0 ) return i;
  if( !circuitGrow(st, &st->port, &st->portCap, st->ports, sizeof(*p)) )
    return -1;
  i = st->ports;
  if( !circuitIndexAdd(st, &st->portIndex, name, i) ) return -1;
  st->ports++;
  p = &st->port[i];
  memset(p, 0, sizeof(*p));
  p->name = name;
  p->node = -1;
  return i;
}

static void circuitFreeState(CircuitState *st) {
  NAMEIDX_Free(&st->declared);
  NAMEIDX_Free(&st->nodeIndex);
  NAMEIDX_Free(&st->portIndex);
  CMN_FreeBlock(st->node);
  CMN_FreeBlock(st->conn);
  CMN_FreeBlock(st->port);
}

/* ---- one call -------------------------------------------------------------- */

static int circuitIsDigitalReserved(const char *name) {
  return strcmp(name, "D_drive") == 0 || strcmp(name, "D_switch") == 0
      || strcmp(name, "D_enable") == 0 || strcmp(name, "D_receive") == 0;
}

static void circuitRefPins(CircuitState *st, const CIRCUIT_Call *call) {
  static const int notCall[2] = { MSGC_CIRCUIT_FIRST_REF_NOT_CALL,
                                  MSGC_CIRCUIT_SECOND_REF_NOT_CALL };
  const CMPNT_Component *c = st->component;
  int s;
  for( s = 0; s < 2; s++ ) {
    const char *name = call->refPin[s];
    const PIN_Pin *pin;
    if( name[0] == 0 ) continue;
    pin = (const PIN_Pin *)NAMEIDX_Find(&c->pinIndex, name);
    if( pin == NULL )
      MSG_ErrorCode(MSGC_CIRCUIT_ILLEGAL_REF_PIN, c->name, call->line, name);
    else if( strcmp(pin->model, "CIRCUITCALL") != 0 )
      MSG_ErrorCode(notCall[s], call->line, name);
    else
      circuitNodeFor(st, pin->name, 1);
  }
  if( call->refPin[0][0] && strcmp(call->refPin[0], call->refPin[1]) == 0 )
    MSG_ErrorCode(MSGC_CIRCUIT_SAME_REF_PIN, c->name, call->line,
                  call->refPin[0]);
}

static void circuitConverterRoles(CircuitState *st, const XmdlConverter *cv) {
  const unsigned role[2][3] = { /* A_to_D */ {
                                    CIRCUIT_DIGITAL | CIRCUIT_DIGITAL_DRIVER,
                                    CIRCUIT_ANALOG | CIRCUIT_ANALOG_RECEIVER,
                                    CIRCUIT_ANALOG | CIRCUIT_ANALOG_REFERENCE },
                                /* D_to_A */
                                { CIRCUIT_DIGITAL | CIRCUIT_DIGITAL_RECEIVER,
                                  CIRCUIT_ANALOG | CIRCUIT_ANALOG_DRIVER,
                                  CIRCUIT_ANALOG | CIRCUIT_ANALOG_REFERENCE } };
  int k, i;
  for( k = 0; k < 3; k++ ) {
    if( (i = circuitPortFor(st, cv->port[k])) < 0 ) return;
    st->port[i].flags |= role[cv->d2a ? 1 : 0][k];
    st->port[i].count++;
    if( st->port[i].converterLine == 0 ) st->port[i].converterLine = cv->line;
  }
}

/* The called circuit's ports become the call's internal nodes. */
static void circuitInstantiate(CircuitState *st, const XmdlRecord *body) {
  const XmdlPort *p;
  const XmdlConverter *cv;
  unsigned other = XMDL_IsAnalog(body->language) ? CIRCUIT_ANALOG
      : body->language == XMDL_LANG_OTHER        ? CIRCUIT_AMS_UNKNOWN
                                                 : CIRCUIT_UNKNOWN;
  int i;
  NAMEIDX_Free(&st->portIndex);
  st->ports = 0;
  for( p = body->portList; p; p = p->next ) {
    if( circuitIndexOf(&st->portIndex, p->name) >= 0 ) continue;
    if( (i = circuitPortFor(st, p->name)) < 0 ) return;
    st->port[i].count = 1; /* a terminal of the circuit itself */
  }
  for( cv = body->converters; cv; cv = cv->next ) circuitConverterRoles(st, cv);
  for( i = 0; i < st->ports; i++ ) {
    CircuitPort *q = &st->port[i];
    if( strcmp(q->name, "A_gnd") == 0 )
      q->flags = CIRCUIT_ANALOG_RESERVE | CIRCUIT_ANALOG;
    else if( q->flags ) /* a converter gave it its role */
      continue;
    else if( strcmp(q->name, "D_receive") == 0 )
      q->flags = CIRCUIT_DIGITAL | CIRCUIT_DIGITAL_DRIVER;
    else if( circuitIsDigitalReserved(q->name) )
      q->flags = CIRCUIT_DIGITAL | CIRCUIT_DIGITAL_RECEIVER;
    else
      q->flags = other;
  }
}

static void circuitConnect(CircuitState *st, const CIRCUIT_Call *call, int n,
                           int p) {
  CircuitNode *node;
  CircuitPort *port = &st->port[p];
  CircuitConn *c;
  const unsigned both = CIRCUIT_ANALOG_DRIVER | CIRCUIT_ANALOG_RECEIVER;
  if( port->node == n ) {
    MSG_ErrorCode(MSGC_CIRCUIT_REDUNDANT_CONNECTION, call->line, port->name);
    return;
  }
  if( !circuitGrow(st, &st->conn, &st->connCap, st->conns, sizeof(*c)) ) return;
  c = &st->conn[st->conns];
  c->next = -1;
  c->callLine = call->line;
  c->converterLine = port->converterLine;
  c->port = port->name;
  c->flags = port->flags;
  node = &st->node[n];
  if( node->last >= 0 )
    st->conn[node->last].next = st->conns;
  else
    node->first = st->conns;
  node->last = st->conns++;
  node->count++;
  if( circuitDebugTrace && port->converterLine && (port->flags & both) == both )
    printf("DEBUG: A & D at %d %d\n", port->converterLine, call->line);
  node->flags |= port->flags;
  port->node = n;
  port->count++;
}

static void circuitPortMap(CircuitState *st, const CIRCUIT_Call *call,
                           const char *circuitName) {
  const CMPNT_Component *c = st->component;
  const CIRCUIT_PortMap *m;
  for( m = call->portMap; m && !st->failed; m = m->next ) {
    const PIN_Pin *pin = (const PIN_Pin *)NAMEIDX_Find(&c->pinIndex, m->node);
    int n = -1, p = circuitIndexOf(&st->portIndex, m->port);
    if( pin )
      n = circuitNodeFor(st, pin->name, 1);
    else if( NAMEIDX_Contains(&st->declared, m->node) )
      n = circuitNodeFor(st, m->node, 0);
    else
      MSG_ErrorCode(MSGC_CIRCUIT_UNKNOWN_NODE, call->line, m->node, c->name);
    if( p < 0 )
      MSG_ErrorCode(MSGC_CIRCUIT_UNKNOWN_PORT, call->line, m->port,
                    circuitName);
    if( n >= 0 && p >= 0 ) circuitConnect(st, call, n, p);
  }
}

/* The connections of node n whose flags meet `mask`, one per line. */
static void circuitConnList(const CircuitState *st, int n, unsigned mask,
                            char *buf, size_t size) {
  const CircuitNode *node = &st->node[n];
  size_t used = 0;
  int i;
  buf[0] = 0;
  for( i = node->first; i >= 0 && used < size; i = st->conn[i].next ) {
    const CircuitConn *c = &st->conn[i];
    char flags[256];
    if( (c->flags & mask) == 0 ) continue;
    CIRCUIT_FlagNames(c->flags, flags, sizeof(flags));
    if( c->converterLine )
      used += (size_t)snprintf(buf + used, size - used,
                               "\n        [CCALL] Line %d Node <%s>, "
                               "Conflicting port = Line <%d> Port <%s> = %s",
                               c->callLine, node->name, c->converterLine,
                               c->port, flags);
    else
      used += (size_t)snprintf(buf + used, size - used,
                               "\n        [CCALL] Line %d Node <%s>, "
                               "Conflicting port = Port <%s> = %s",
                               c->callLine, node->name, c->port, flags);
  }
}

/* A converter whose two analog ports are joined: inside the circuit
** (the same internal node), or through the call's Port_map (the same
** component-side node). */
static void circuitConverterJoins(const CircuitState *st,
                                  const CIRCUIT_Call *call,
                                  const XmdlRecord *body) {
  const XmdlConverter *cv;
  for( cv = body->converters; cv; cv = cv->next ) {
    int a = circuitIndexOf(&st->portIndex, cv->port[1]);
    int b = circuitIndexOf(&st->portIndex, cv->port[2]);
    const CircuitPort *pa, *pb;
    if( a < 0 || b < 0 ) continue;
    pa = &st->port[a];
    pb = &st->port[b];
    if( a == b ) {
      MSG_ErrorCode(MSGC_CIRCUIT_CONVERTER_SHORTED, call->line, cv->line,
                    pa->name, pa->name, pb->name, pb->name);
    } else if( pa->node >= 0 && pa->node == pb->node ) {
      char list[1024];
      const char *node = st->node[pa->node].name;
      circuitConnList(st, pa->node, CIRCUIT_ALL_FLAGS, list, sizeof(list));
      MSG_ErrorCode(MSGC_CIRCUIT_CONVERTER_JOINED, call->line, cv->line,
                    pa->name, node, pb->name, node, list, "");
    }
  }
}

static void circuitInternalNodes(const CircuitState *st,
                                 const CIRCUIT_Call *call,
                                 const XcktCircuit *x) {
  int i;
  for( i = 0; i < st->ports; i++ ) {
    const CircuitPort *p = &st->port[i];
    if( p->node < 0 && p->count < 2 && (p->flags & CIRCUIT_ANALOG_RESERVE) == 0
        && !circuitIsDigitalReserved(p->name) ) {
      char flags[256];
      CIRCUIT_FlagNames(p->flags, flags, sizeof(flags));
      MSG_ErrorCode(MSGC_CIRCUIT_FLOATING_INTERNAL, call->line, x->line,
                    p->name, flags);
    }
    if( (p->flags & CIRCUIT_DIGITAL) && (p->flags & CIRCUIT_ANALOG) )
      MSG_ErrorCode(MSGC_CIRCUIT_INTERNAL_MIXED, p->name, x->line);
  }
  circuitConverterJoins(st, call, x->body);
}

static void circuitOneCall(CircuitState *st, const CIRCUIT_Call *call,
                           const NameIndex *circuits) {
  const XcktCircuit *x = NULL;
  if( call->name[0] == 0 ) {
    MSG_ErrorCode(MSGC_CIRCUIT_NO_CIRCUIT_NAMED, call->line, call->name);
    return;
  }
  x = (const XcktCircuit *)NAMEIDX_Find(circuits, call->name);
  if( x == NULL || x->body == NULL ) {
    MSG_ErrorCode(MSGC_CIRCUIT_UNKNOWN_CIRCUIT, call->line, call->name,
                  st->component->name);
    return;
  }
  circuitRefPins(st, call);
  circuitInstantiate(st, x->body);
  circuitPortMap(st, call, x->name);
  if( !st->failed ) circuitInternalNodes(st, call, x);
}

/* ---- component-side nodes ------------------------------------------------- */

/* Logs `code` (an error, or a warning when `warn`) for node n with its
** connection list for `mask`; a null mask logs without a list. */
static void circuitNodeMessage(const CircuitState *st, int n, int warn,
                               int code, unsigned mask) {
  char list[1536];
  int (*log)(int, ...) = warn ? MSG_WarningCode : MSG_ErrorCode;
  circuitConnList(st, n, mask, list, sizeof(list));
  log(code, st->component->name, st->node[n].name, list);
}

static void circuitAnalogRules(const CircuitState *st, int n) {
  unsigned f = st->node[n].flags;
  int ams = (f & CIRCUIT_AMS_UNKNOWN) != 0;
  if( ams && (f & (CIRCUIT_DIGITAL_DRIVER | CIRCUIT_ANALOG_DRIVER)) == 0 ) {
    circuitNodeMessage(st, n, 0, MSGC_CIRCUIT_NO_DRIVERS, CIRCUIT_ALL_FLAGS);
    return;
  }
  if( (f & CIRCUIT_ANALOG_RECEIVER) && !(f & CIRCUIT_ANALOG_DRIVER) )
    circuitNodeMessage(st, n, ams,
                       ams ? MSGC_CIRCUIT_AMS_NO_ANALOG_DRIVER
                           : MSGC_CIRCUIT_NO_ANALOG_DRIVER,
                       CIRCUIT_ANALOG_RECEIVER);
  if( (f & CIRCUIT_ANALOG_DRIVER) && !(f & CIRCUIT_ANALOG_RECEIVER) )
    circuitNodeMessage(st, n, ams,
                       ams ? MSGC_CIRCUIT_AMS_NO_ANALOG_RECEIVER
                           : MSGC_CIRCUIT_NO_ANALOG_RECEIVER,
                       CIRCUIT_ANALOG_DRIVER);
}

static void circuitComponentNode(const CircuitState *st, int n) {
  const CircuitNode *node = &st->node[n];
  unsigned f = node->flags;
  int ams = (f & CIRCUIT_AMS_UNKNOWN) != 0;
  if( !node->isPin && node->count == 1 )
    circuitNodeMessage(st, n, 0, MSGC_CIRCUIT_FLOATING_NODE, CIRCUIT_ALL_FLAGS);
  else if( !node->isPin && node->count == 0 )
    circuitNodeMessage(st, n, 1, MSGC_CIRCUIT_UNUSED_NODE, CIRCUIT_ALL_FLAGS);
  else if( node->isPin && node->count == 0 )
    MSG_ErrorCode(MSGC_CIRCUIT_FLOATING_PIN, st->component->name, node->name);
  if( (f & CIRCUIT_DIGITAL_ANY) && (f & CIRCUIT_ANALOG_ANY) )
    circuitNodeMessage(st, n, 0, MSGC_CIRCUIT_NODE_MIXED,
                       CIRCUIT_DIGITAL_ANY | CIRCUIT_ANALOG_ANY);
  if( (f & CIRCUIT_DIGITAL_RECEIVER) && !(f & CIRCUIT_DIGITAL_DRIVER) )
    circuitNodeMessage(st, n, ams,
                       ams ? MSGC_CIRCUIT_AMS_NO_DIGITAL_DRIVER
                           : MSGC_CIRCUIT_NO_DIGITAL_DRIVER,
                       CIRCUIT_DIGITAL_RECEIVER);
  if( (f & CIRCUIT_DIGITAL_DRIVER) && !(f & CIRCUIT_DIGITAL_RECEIVER) )
    circuitNodeMessage(st, n, ams,
                       ams ? MSGC_CIRCUIT_AMS_NO_DIGITAL_RECEIVER
                           : MSGC_CIRCUIT_NO_DIGITAL_RECEIVER,
                       CIRCUIT_DIGITAL_DRIVER);
  if( circuitAnalogCheck ) circuitAnalogRules(st, n);
  if( node->isPin && (f & CIRCUIT_DIGITAL_ANY) )
    circuitNodeMessage(st, n, 0, MSGC_CIRCUIT_DIGITAL_PIN, CIRCUIT_DIGITAL_ANY);
}

void CIRCUIT_Check(const CMPNT_Component *component,
                   const NameIndex *circuits) {
  CircuitState st;
  const CIRCUIT_Call *call;
  const NODE_Name *d;
  int n;
  CMN_ASSERT(component != NULL && circuits != NULL, CIRCUIT_SRC);
  if( component->circuitCalls == NULL ) return;
  memset(&st, 0, sizeof(st));
  st.component = component;
  /* Every declared node is a component-side node, used or not. */
  for( d = component->nodes ? component->nodes->first : NULL; d; d = d->next ) {
    if( NAMEIDX_Contains(&st.declared, d->name) ) continue;
    if( !NAMEIDX_Add(&st.declared, d->name, (void *)d)
        || circuitNodeFor(&st, d->name, 0) < 0 )
      st.failed = 1;
  }
  for( call = component->circuitCalls; call && !st.failed; call = call->next )
    circuitOneCall(&st, call, circuits);
  for( n = 0; n < st.nodes && !st.failed; n++ ) circuitComponentNode(&st, n);
  circuitFreeState(&st);
}
