/*
** amiver.cpp: the table of AMI reserved parameters by AMI_Version.
**
** Each row names the public document that settles it.  A column the
** documents leave open is left open here (0 or null) and not checked: a
** checker that invents a rule fails good files.  Where only the name of a
** parameter is settled, not the release that introduced it, the row starts
** at 5.1 so that no file is told it is too old for it.
*/
#include "IbisParser/amiver.h"

#include "amiparam/amiparam.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#define B(rw) AMIVER_BIT(AMIPARAM_RW_##rw)

/* Usage and Type sets that several rows share. */
#define U_INFO B(INFO)
#define U_INFO_OUT (B(INFO) | B(OUT))
#define U_JITTER (B(INFO) | B(OUT) | AMIVER_DEP)
#define T_FLOAT_UI (B(FLOAT) | B(UI))

static const char *const amiverNames[AMIVER_COUNT] = { "5.0", "5.1", "6.0",
                                                       "6.1", "7.0", "7.1",
                                                       "7.2" };

/* Modulation: NRZ and PAM4 with PAM4 analysis (BIRD175.3, 6.1); PAMn with
** any number of levels (BIRD213, 7.2). */
static const AmiverValue amiverModulation[] = {
  { "NRZ", AMIVER_61 }, { "PAM4", AMIVER_61 }, { "PAMn", AMIVER_72 }, { 0, 0 }
};

/* Repeater_Type: a repeater is a redriver or a retimer (BIRD156.3). */
static const AmiverValue amiverRepeater[] = { { "Redriver", AMIVER_60 },
                                              { "Retimer", AMIVER_60 },
                                              { 0, 0 } };

/* Rx_Use_Clock_Input (BIRD209, 7.1): the data receiver takes the clock
** receiver's clock times or its waveform; None leaves the clock input out. */
static const AmiverValue amiverClockInput[] = {
  { "None", AMIVER_71 }, { "Wave", AMIVER_71 }, { "Times", AMIVER_71 }, { 0, 0 }
};

/* A row of the later releases whose descriptors the sources leave open. */
#define LATER(name, since)                                                     \
  { name, since, 0, 0, 0, AMIVER_FMT_ANY, AMIVER_DEF_ANY, 0, 0, 0 }
/* A jitter parameter of BIRD123.5: Usage Info, Out (Dep from 6.1), in
** seconds or UI. */
#define JITTER(name)                                                           \
  {                                                                            \
    name, AMIVER_60, 0, U_JITTER, T_FLOAT_UI, AMIVER_FMT_ANY, AMIVER_DEF_ANY,  \
        0, 0, 0                                                                \
  }

static const AmiverRule amiverRules[] = {
  /* The first release, and its 5.1 tables (BIRD138 Table 1).  Their
  ** columns are the rules files without AMI_Version have always been
  ** checked by. */
  { "Init_Returns_Impulse", AMIVER_50, 0, U_INFO, B(BOOLEAN), AMIVER_FMT_NONE,
    AMIVER_DEF_ANY, 0, 0, 1 },
  { "GetWave_Exists", AMIVER_50, 0, U_INFO, B(BOOLEAN), AMIVER_FMT_NONE,
    AMIVER_DEF_ANY, 0, 0, 1 },
  /* Retired in 5.1: the 5.1 tables drop it (BIRD138). */
  { "Use_Init_Output", AMIVER_50, AMIVER_51, U_INFO, B(BOOLEAN),
    AMIVER_FMT_NONE, AMIVER_DEF_BOOLEAN, 0, 0, 0 },
  { "Max_Init_Aggressors", AMIVER_50, 0, U_INFO, B(INTEGER), AMIVER_FMT_NONE,
    AMIVER_DEF_INTEGER, 0, 0, 0 },
  { "Ignore_Bits", AMIVER_50, 0, U_INFO_OUT, B(INTEGER), AMIVER_FMT_NONE,
    AMIVER_DEF_INTEGER, 0, 0, 0 },
  { "Tx_Jitter", AMIVER_50, 0, U_INFO_OUT, T_FLOAT_UI, AMIVER_FMT_JITTER,
    AMIVER_DEF_OPTIONAL_NUMBER, 0, 0, 0 },
  { "Rx_Clock_PDF", AMIVER_50, 0, U_INFO_OUT, T_FLOAT_UI, AMIVER_FMT_JITTER,
    AMIVER_DEF_OPTIONAL_NUMBER, 0, 0, 0 },
  { "Tx_DCD", AMIVER_50, 0, U_INFO_OUT, T_FLOAT_UI, AMIVER_FMT_DCD,
    AMIVER_DEF_OPTIONAL_NUMBER, 0, 0, 0 },
  { "Rx_Receiver_Sensitivity", AMIVER_50, 0, U_INFO_OUT, B(FLOAT),
    AMIVER_FMT_DCD, AMIVER_DEF_OPTIONAL_NUMBER, 0, 0, 0 },

  /* 5.1: AMI_Version, Format Value, Type String, Usage Info (BIRD126). */
  { "AMI_Version", AMIVER_51, 0, U_INFO, B(STRING), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, 0, 0, 0 },

  /* 6.0: jitter, noise and clock recovery (BIRD123.5); Usage Info, Out and
  ** Dep as the IBIS-ATM reflector states them for Rx_Dj (2016). */
  JITTER("Tx_Rj"),
  JITTER("Tx_Dj"),
  JITTER("Tx_Sj"),
  LATER("Tx_Sj_Frequency", AMIVER_60),
  JITTER("Rx_Clock_Recovery_Mean"),
  JITTER("Rx_Clock_Recovery_Rj"),
  JITTER("Rx_Clock_Recovery_Dj"),
  JITTER("Rx_Clock_Recovery_Sj"),
  JITTER("Rx_Clock_Recovery_DCD"),
  JITTER("Rx_Rj"),
  JITTER("Rx_Dj"),
  JITTER("Rx_Sj"),
  JITTER("Rx_DCD"),
  LATER("Rx_Noise", AMIVER_60),
  /* 6.0: repeaters, the Rx half says which kind it is (BIRD156.3). */
  { "Repeater_Type", AMIVER_60, 0, 0, B(STRING), AMIVER_FMT_ANY, AMIVER_DEF_ANY,
    amiverRepeater, 0, 0 },

  /* 6.1: AMI_Resolve (BIRD155.2). */
  LATER("Resolve_Exists", AMIVER_61),
  /* 6.1: PAM4 analysis (BIRD175.3).  A PAM4 receiver needs its upper and
  ** lower thresholds (the checks' cross rule). */
  { "Modulation", AMIVER_61, 0, 0, B(STRING), AMIVER_FMT_ANY, AMIVER_DEF_ANY,
    amiverModulation, 0, 0 },
  LATER("PAM4_Mapping", AMIVER_61),
  LATER("PAM4_UpperThreshold", AMIVER_61),
  LATER("PAM4_CenterThreshold", AMIVER_61),
  LATER("PAM4_LowerThreshold", AMIVER_61),
  LATER("PAM4_UpperEyeOffset", AMIVER_61),
  LATER("PAM4_CenterEyeOffset", AMIVER_61),
  LATER("PAM4_LowerEyeOffset", AMIVER_61),

  /* 7.0: Touchstone analog buffer models (BIRD158.7, accepted 2017). */
  LATER("Ts4file", AMIVER_70),
  LATER("Ts4file_Boundary", AMIVER_70),
  LATER("Tx_V", AMIVER_70),
  LATER("Tx_R", AMIVER_70),
  LATER("Rx_R", AMIVER_70),
  /* 7.0: back-channel link training (the 7.0 release announcement). */
  LATER("BCI_Protocol", AMIVER_70),
  LATER("BCI_ID", AMIVER_70),
  LATER("BCI_State", AMIVER_70),
  LATER("BCI_Message_Interval_UI", AMIVER_70),
  LATER("BCI_Training_UI", AMIVER_70),
  LATER("BCI_Training_Mode", AMIVER_70),

  /* 7.1: DC_Offset, Usage In or InOut, a voltage (BIRD197.7 and its
  ** IBIS-ATM reflector thread, 2019). */
  { "DC_Offset", AMIVER_71, 0, B(IN) | B(INOUT), B(FLOAT), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, 0, 0, 0 },
  /* 7.1: clock forwarding (BIRD209). */
  { "Rx_Use_Clock_Input", AMIVER_71, 0, 0, B(STRING), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, amiverClockInput, 0, 0 },
  /* 7.1 by the reserved-parameter draft on the IBIS-ATM reflector (2020). */
  LATER("Component_Name", AMIVER_71),
  LATER("Signal_Name", AMIVER_71),

  /* 7.2: PAMn (BIRD213): PAM2 (NRZ) and up; thresholds are returned by
  ** the model as a string (the example the IBIS editorial list quotes). */
  { "Modulation_Levels", AMIVER_72, 0, 0, B(INTEGER), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, 0, 2, 0 },
  { "PAM_Thresholds", AMIVER_72, 0, B(OUT), B(STRING), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, 0, 0, 0 },

  /* Reserved names whose first release the sources found do not settle. */
  LATER("Model_Name", AMIVER_51),
  LATER("Special_Param_Names", AMIVER_51),
  LATER("Supporting_Files", AMIVER_51),
  LATER("DLL_Path", AMIVER_51),
  LATER("DLL_ID", AMIVER_51),
  LATER("Rx_Decision_Time", AMIVER_51),
  LATER("Rx_GaussianNoise", AMIVER_51),
  LATER("Rx_UniformNoise", AMIVER_51),
};

#define AMIVER_N_RULES ((int)(sizeof(amiverRules) / sizeof(amiverRules[0])))

const AmiverRule *AMIVER_Find(const char *name) {
  int i;
  if( name == NULL ) return NULL;
  for( i = 0; i < AMIVER_N_RULES; i++ ) {
    if( strcmp(name, amiverRules[i].name) == 0 ) return &amiverRules[i];
  }
  return NULL;
}

const AmiverRule *AMIVER_Rule(int i) {
  return i >= 0 && i < AMIVER_N_RULES ? &amiverRules[i] : NULL;
}

int AMIVER_RuleCount(void) { return AMIVER_N_RULES; }

const char *AMIVER_Name(int set) {
  return set >= 0 && set < AMIVER_COUNT ? amiverNames[set] : "";
}

const char *AMIVER_KnownList(void) { return "5.1, 6.0, 6.1, 7.0, 7.1 and 7.2"; }

/* Major number of "<digits>.<digits>", or -1 when the text is not one. */
static long amiverMajor(const char *text) {
  const char *p = text;
  long major;
  if( !isdigit((unsigned char)*p) ) return -1;
  major = strtol(p, (char **)&p, 10);
  if( *p++ != '.' || !isdigit((unsigned char)*p) ) return -1;
  while( isdigit((unsigned char)*p) ) p++;
  return *p == 0 ? major : -1;
}

/* A release newer than the newest known is one of a later major number:
** the minor releases of 7 that exist are all in the table, so 7.3 is no
** release, while 8.0 is one this checker does not know yet. */
int AMIVER_Decide(const char *text, int *set) {
  int i;
  *set = AMIVER_NEWEST;
  if( text == NULL ) return AMIVER_NOT_A_VERSION;
  for( i = AMIVER_51; i < AMIVER_COUNT; i++ ) {
    if( strcmp(text, amiverNames[i]) == 0 ) {
      *set = i;
      return AMIVER_KNOWN;
    }
  }
  return amiverMajor(text) > 7 ? AMIVER_NEWER : AMIVER_NOT_A_VERSION;
}
