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

#include <string.h>

#define B(rw) AMIVER_BIT(AMIPARAM_RW_##rw)

/* Usage and Type sets that several rows share. */
#define U_INFO B(INFO)
#define U_INFO_OUT (B(INFO) | B(OUT))
#define U_JITTER (B(INFO) | B(OUT) | AMIVER_DEP)
#define T_FLOAT_UI (B(FLOAT) | B(UI))

/* Modulation: NRZ and PAM4 with PAM4 analysis (BIRD175.3, 6.1); PAMn with
** any number of levels (BIRD213, 7.2). */
static const AmiverValue amiverModulation[] = { { "NRZ", VER_LEVEL_61 },
                                                { "PAM4", VER_LEVEL_61 },
                                                { "PAMn", VER_LEVEL_72 },
                                                { 0, 0 } };

/* Repeater_Type: a repeater is a redriver or a retimer (BIRD156.3). */
static const AmiverValue amiverRepeater[] = { { "Redriver", VER_LEVEL_60 },
                                              { "Retimer", VER_LEVEL_60 },
                                              { 0, 0 } };

/* Rx_Use_Clock_Input (BIRD209, 7.1): the data receiver takes the clock
** receiver's clock times or its waveform; None leaves the clock input out. */
static const AmiverValue amiverClockInput[] = { { "None", VER_LEVEL_71 },
                                                { "Wave", VER_LEVEL_71 },
                                                { "Times", VER_LEVEL_71 },
                                                { 0, 0 } };

/* A row of the later releases whose descriptors the sources leave open. */
#define LATER(name, since)                                                     \
  { name, since, 0, 0, 0, AMIVER_FMT_ANY, AMIVER_DEF_ANY, 0, 0, 0 }
/* A jitter parameter of BIRD123.5: Usage Info, Out (Dep from 6.1), in
** seconds or UI. */
#define JITTER(name)                                                           \
  {                                                                            \
    name, VER_LEVEL_60, 0, U_JITTER, T_FLOAT_UI, AMIVER_FMT_ANY,               \
        AMIVER_DEF_ANY, 0, 0, 0                                                \
  }

static const AmiverRule amiverRules[] = {
  /* The first release, and its 5.1 tables (BIRD138 Table 1).  Their
  ** columns are the rules files without AMI_Version have always been
  ** checked by. */
  { "Init_Returns_Impulse", VER_LEVEL_50, 0, U_INFO, B(BOOLEAN),
    AMIVER_FMT_NONE, AMIVER_DEF_ANY, 0, 0, 1 },
  { "GetWave_Exists", VER_LEVEL_50, 0, U_INFO, B(BOOLEAN), AMIVER_FMT_NONE,
    AMIVER_DEF_ANY, 0, 0, 1 },
  /* Retired in 5.1: the 5.1 tables drop it (BIRD138). */
  { "Use_Init_Output", VER_LEVEL_50, VER_LEVEL_51, U_INFO, B(BOOLEAN),
    AMIVER_FMT_NONE, AMIVER_DEF_BOOLEAN, 0, 0, 0 },
  { "Max_Init_Aggressors", VER_LEVEL_50, 0, U_INFO, B(INTEGER), AMIVER_FMT_NONE,
    AMIVER_DEF_INTEGER, 0, 0, 0 },
  { "Ignore_Bits", VER_LEVEL_50, 0, U_INFO_OUT, B(INTEGER), AMIVER_FMT_NONE,
    AMIVER_DEF_INTEGER, 0, 0, 0 },
  { "Tx_Jitter", VER_LEVEL_50, 0, U_INFO_OUT, T_FLOAT_UI, AMIVER_FMT_JITTER,
    AMIVER_DEF_OPTIONAL_NUMBER, 0, 0, 0 },
  { "Rx_Clock_PDF", VER_LEVEL_50, 0, U_INFO_OUT, T_FLOAT_UI, AMIVER_FMT_JITTER,
    AMIVER_DEF_OPTIONAL_NUMBER, 0, 0, 0 },
  { "Tx_DCD", VER_LEVEL_50, 0, U_INFO_OUT, T_FLOAT_UI, AMIVER_FMT_DCD,
    AMIVER_DEF_OPTIONAL_NUMBER, 0, 0, 0 },
  { "Rx_Receiver_Sensitivity", VER_LEVEL_50, 0, U_INFO_OUT, B(FLOAT),
    AMIVER_FMT_DCD, AMIVER_DEF_OPTIONAL_NUMBER, 0, 0, 0 },

  /* 5.1: AMI_Version, Format Value, Type String, Usage Info (BIRD126). */
  { "AMI_Version", VER_LEVEL_51, 0, U_INFO, B(STRING), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, 0, 0, 0 },

  /* 6.0: jitter, noise and clock recovery (BIRD123.5); Usage Info, Out and
  ** Dep as the IBIS-ATM reflector states them for Rx_Dj (2016). */
  JITTER("Tx_Rj"),
  JITTER("Tx_Dj"),
  JITTER("Tx_Sj"),
  LATER("Tx_Sj_Frequency", VER_LEVEL_60),
  JITTER("Rx_Clock_Recovery_Mean"),
  JITTER("Rx_Clock_Recovery_Rj"),
  JITTER("Rx_Clock_Recovery_Dj"),
  JITTER("Rx_Clock_Recovery_Sj"),
  JITTER("Rx_Clock_Recovery_DCD"),
  JITTER("Rx_Rj"),
  JITTER("Rx_Dj"),
  JITTER("Rx_Sj"),
  JITTER("Rx_DCD"),
  LATER("Rx_Noise", VER_LEVEL_60),
  /* 6.0: repeaters, the Rx half says which kind it is (BIRD156.3). */
  { "Repeater_Type", VER_LEVEL_60, 0, 0, B(STRING), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, amiverRepeater, 0, 0 },

  /* 6.1: AMI_Resolve (BIRD155.2). */
  LATER("Resolve_Exists", VER_LEVEL_61),
  /* 6.1: PAM4 analysis (BIRD175.3).  A PAM4 receiver needs its upper and
  ** lower thresholds (the checks' cross rule). */
  { "Modulation", VER_LEVEL_61, 0, 0, B(STRING), AMIVER_FMT_ANY, AMIVER_DEF_ANY,
    amiverModulation, 0, 0 },
  LATER("PAM4_Mapping", VER_LEVEL_61),
  LATER("PAM4_UpperThreshold", VER_LEVEL_61),
  LATER("PAM4_CenterThreshold", VER_LEVEL_61),
  LATER("PAM4_LowerThreshold", VER_LEVEL_61),
  LATER("PAM4_UpperEyeOffset", VER_LEVEL_61),
  LATER("PAM4_CenterEyeOffset", VER_LEVEL_61),
  LATER("PAM4_LowerEyeOffset", VER_LEVEL_61),

  /* 7.0: Touchstone analog buffer models (BIRD158.7, accepted 2017). */
  LATER("Ts4file", VER_LEVEL_70),
  LATER("Ts4file_Boundary", VER_LEVEL_70),
  LATER("Tx_V", VER_LEVEL_70),
  LATER("Tx_R", VER_LEVEL_70),
  LATER("Rx_R", VER_LEVEL_70),
  /* 7.0: back-channel link training (the 7.0 release announcement). */
  LATER("BCI_Protocol", VER_LEVEL_70),
  LATER("BCI_ID", VER_LEVEL_70),
  LATER("BCI_State", VER_LEVEL_70),
  LATER("BCI_Message_Interval_UI", VER_LEVEL_70),
  LATER("BCI_Training_UI", VER_LEVEL_70),
  LATER("BCI_Training_Mode", VER_LEVEL_70),

  /* 7.1: DC_Offset, Usage In or InOut, a voltage (BIRD197.7 and its
  ** IBIS-ATM reflector thread, 2019). */
  { "DC_Offset", VER_LEVEL_71, 0, B(IN) | B(INOUT), B(FLOAT), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, 0, 0, 0 },
  /* 7.1: clock forwarding (BIRD209). */
  { "Rx_Use_Clock_Input", VER_LEVEL_71, 0, 0, B(STRING), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, amiverClockInput, 0, 0 },
  /* 7.1 by the reserved-parameter draft on the IBIS-ATM reflector (2020). */
  LATER("Component_Name", VER_LEVEL_71),
  LATER("Signal_Name", VER_LEVEL_71),

  /* 7.2: PAMn (BIRD213): PAM2 (NRZ) and up; thresholds are returned by
  ** the model as a string (the example the IBIS editorial list quotes). */
  { "Modulation_Levels", VER_LEVEL_72, 0, 0, B(INTEGER), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, 0, 2, 0 },
  { "PAM_Thresholds", VER_LEVEL_72, 0, B(OUT), B(STRING), AMIVER_FMT_ANY,
    AMIVER_DEF_ANY, 0, 0, 0 },

  /* Reserved names whose first release the sources found do not settle. */
  LATER("Model_Name", VER_LEVEL_51),
  LATER("Special_Param_Names", VER_LEVEL_51),
  LATER("Supporting_Files", VER_LEVEL_51),
  LATER("DLL_Path", VER_LEVEL_51),
  LATER("DLL_ID", VER_LEVEL_51),
  LATER("Rx_Decision_Time", VER_LEVEL_51),
  LATER("Rx_GaussianNoise", VER_LEVEL_51),
  LATER("Rx_UniformNoise", VER_LEVEL_51),
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

const char *AMIVER_Name(int level) { return VER_LevelText(level); }

const char *AMIVER_KnownList(void) {
  static char list[96];
  if( list[0] == 0 ) VER_ListFrom(AMIVER_FIRST, list, sizeof(list));
  return list;
}

/* The known versions and the rule for a newer one are those of the IBIS
** versions (ver), from the first release that declares AMI_Version on.  A
** number that is no release (5.2, 7.3) is checked by the newest rules, so
** that nothing is called too new on top of the version's own report. */
int AMIVER_Decide(const char *text, int *level) {
  int known = VER_LevelOf(text);
  *level = VER_LEVEL_NEWEST;
  if( known >= AMIVER_FIRST ) {
    *level = known;
    return AMIVER_KNOWN;
  }
  return VER_IsNewerMajor(text) ? AMIVER_NEWER : AMIVER_NOT_A_VERSION;
}
