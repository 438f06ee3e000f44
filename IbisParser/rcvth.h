/*
** rcvth.h: the [Receiver Thresholds] record of a model, and the check of
** thresholds against the pins that use each model.
*/
#ifndef IBISPARSER_RCVTH_H
#define IBISPARSER_RCVTH_H

struct IbisFile;

enum {
  RCVTH_VTH = 1,
  RCVTH_VTH_MIN,
  RCVTH_VTH_MAX,
  RCVTH_VINH_AC,
  RCVTH_VINH_DC,
  RCVTH_VINL_AC,
  RCVTH_VINL_DC,
  RCVTH_THRESHOLD_SENSITIVITY,
  RCVTH_REFERENCE_SUPPLY,
  RCVTH_VCROSS_LOW,
  RCVTH_VCROSS_HIGH,
  RCVTH_VDIFF_AC,
  RCVTH_VDIFF_DC,
  RCVTH_TSLEW_AC,
  RCVTH_TDIFFSLEW_AC,
  RCVTH_COUNT = RCVTH_TDIFFSLEW_AC
};

/* Reference_supply values; 0 while not given. */
enum {
  RCVTH_SUPPLY_POWER_CLAMP = 1,
  RCVTH_SUPPLY_GND_CLAMP,
  RCVTH_SUPPLY_PULLUP,
  RCVTH_SUPPLY_PULLDOWN,
  RCVTH_SUPPLY_EXT
};

typedef struct RcvthRecord {
  double value[RCVTH_COUNT + 1]; /* by name code, 0 unused */
  int given[RCVTH_COUNT + 1];
  int supply; /* RCVTH_SUPPLY_*, 0 when not given */
  int line;
} RcvthRecord;

void RCVTH_Line(RcvthRecord *r, char *text);
/* The check when the section ends. */
void RCVTH_Close(const RcvthRecord *r, const char *modelName);
/* After the file: each model's thresholds against the pins that use it;
** a differential receiver and a single-ended one need different ones, each
** missing one is warned about once per model. */
void RCVTH_CheckPins(struct IbisFile *file);

#endif
