/*
** msg.cpp: the message log of the parser library.
**
** This module owns the log's process-wide state (output stream, counters,
** suppression switches, coded mode, line-number source) and the writing of
** the one- and two-line message forms. The message texts live in
** msgtab.cpp.
**
** A message is formatted once into a fixed stack buffer with a bounded
** vsnprintf(); a longer text is cut, never written past the buffer.
*/
#include "IbisParser/msg.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

/* Severity classes; index into the counters and switches. */
enum { SEV_BUG = 0, SEV_ERROR, SEV_WARNING, SEV_CAUTION, SEV_NOTE, SEV_COUNT };

/* One line form per message type. The text moves to a second line,
** indented by four blanks, when its length lies in [twoLineMin, 75]: the
** lower bound is 80 minus the length of the uncoded prefix, so that the
** text would overflow an 80-column line after the prefix but fits after
** the indent. A twoLineMin of 0 means the form has no two-line variant. */
typedef struct MsgForm {
  int severity;
  char letter;
  const char *word;
  int hasLine;
  size_t twoLineMin;
} MsgForm;

#define MSG_TWO_LINE_MAX 75
#define MSG_LINE_WIDTH 4

static const MsgForm msgForms[10] = {
  { SEV_BUG, 'B', "PROGRAM BUG", 0, 0 },
  { SEV_BUG, 'B', "PROGRAM BUG", 1, 0 },
  { SEV_ERROR, 'E', "ERROR", 0, 72 },
  { SEV_ERROR, 'E', "ERROR", 1, 60 },
  { SEV_WARNING, 'W', "WARNING", 0, 70 },
  { SEV_WARNING, 'W', "WARNING", 1, 58 },
  { SEV_CAUTION, 'C', "CAUTION", 0, 70 },
  { SEV_CAUTION, 'C', "CAUTION", 1, 58 },
  { SEV_NOTE, 'N', "NOTE", 0, 73 },
  { SEV_NOTE, 'N', "NOTE", 1, 61 },
};

/* Module state. Nothing but MSG_ResetCounts() resets the counters. */
static FILE *msgOut = 0;
static int msgCounts[SEV_COUNT] = { 0, 0, 0, 0, 0 };
static int msgSuppressed[SEV_COUNT] = { 0, 0, 0, 1, 0 }; /* cautions: always */
static int msgCoded = 0;
static int msgDiscard = 0;
static MsgLineSource msgLineSource = 0;

/* Capture and repetition state. Codes are four digits, so a flat array
** counts each code's messages in the current file. The last message shown
** of a code that reached the limit is remembered (line and the start of
** its text) in a small table, so the closing count can point at it; a
** code past the table's size still gets its count, without the pointer. */
#define MSG_MAX_CODE 10000
#define MSG_HIDDEN_SLOTS 64
#define MSG_SNIPPET 72

typedef struct MsgLimited {
  int code;
  int type;
  int line;
  char text[MSG_SNIPPET];
} MsgLimited;

static MsgSink msgSink = 0;
static void *msgSinkContext = 0;
static char msgFile[1025];
static char msgChecked[1025];
static int msgOtherFile; /* msgFile is not the checked file */
static int msgRepeatLimit = 0;
static int msgPerCode[MSG_MAX_CODE];
/* The codes counted in the current file, in the order first met: a new
** file clears only their counts, and the closing report looks only at
** them, instead of every possible code. */
static short msgTouched[MSG_MAX_CODE];
static int msgTouchedCount = 0;
static MsgLimited msgLimited[MSG_HIDDEN_SLOTS];
static int msgLimitedCount = 0;
static char msgSummaryNote[160]; /* a line of the summary; empty: none */

static FILE *msgStream(void) {
  if( msgOut == 0 ) msgOut = stdout;
  return msgOut;
}

static unsigned long msgLineNumber(void) {
  int line = msgLineSource ? msgLineSource() : 0;
  return line > 0 ? (unsigned long)line : 0UL;
}

/* Formats into buf (MSG_BUFFER_SIZE bytes). A null argument list copies
** fmt as plain text. */
static void msgFormat(char *buf, const char *fmt, va_list *args) {
  if( fmt == 0 ) fmt = "";
  if( args == 0 ) {
    size_t n = strlen(fmt);
    if( n > MSG_BUFFER_SIZE - 1 ) n = MSG_BUFFER_SIZE - 1;
    memcpy(buf, fmt, n);
    buf[n] = 0;
    return;
  }
  va_list ap;
  va_copy(ap, *args);
  if( vsnprintf(buf, MSG_BUFFER_SIZE, fmt, ap) < 0 ) buf[0] = 0;
  va_end(ap);
}

static int msgLetterSeverity(int type) { return msgForms[type].severity; }

static void msgToSink(int type, int code, int line, int hidden,
                      const char *text) {
  MsgRecord r;
  r.severity = type == MSG_TYPE_INFO ? MSG_SEV_INFO : msgLetterSeverity(type);
  r.letter = type == MSG_TYPE_INFO ? 'I' : msgForms[type].letter;
  r.code = code;
  r.line = line;
  r.hidden = hidden;
  r.file = msgFile;
  r.text = text;
  msgSink(&r, msgSinkContext);
}

/* Remembers the last message shown of a code that reached the limit. */
static void msgRememberLimited(int type, int code, int line, const char *text) {
  MsgLimited *m;
  size_t n = 0;
  if( msgLimitedCount >= MSG_HIDDEN_SLOTS ) return;
  m = &msgLimited[msgLimitedCount++];
  m->code = code;
  m->type = type;
  m->line = line;
  while( n < sizeof(m->text) - 1 && text[n] && text[n] != '\n' ) {
    m->text[n] = text[n];
    n++;
  }
  m->text[n] = 0;
}

/* Whether messages of `code` are counted for the repetition limit. */
static int msgCountsCode(int code) {
  return msgRepeatLimit > 0 && code >= 0 && code < MSG_MAX_CODE;
}

/* Counts one more message of `code`; 1 when the repetition limit keeps it
** back.  Decided before the message is formatted: a message nobody will
** see is never formatted. */
static int msgHeldBack(int code) {
  if( !msgCountsCode(code) ) return 0;
  if( msgPerCode[code] == 0 ) msgTouched[msgTouchedCount++] = (short)code;
  if( msgPerCode[code] < INT_MAX ) msgPerCode[code]++;
  return msgPerCode[code] > msgRepeatLimit;
}

/* Writes one formatted text in the form of the given type; `code` is the
** message's code (-1 for none), shown when coded mode is on.  The caller
** has counted it and found it not held back. */
static void msgWrite(int type, int code, const char *text) {
  const MsgForm *f = &msgForms[type];
  FILE *out;
  size_t len = strlen(text);
  int line = f->hasLine ? (int)msgLineNumber() : 0;
  int twoLines =
      f->twoLineMin > 0 && len >= f->twoLineMin && len <= MSG_TWO_LINE_MAX;

  /* The last one shown before the limit holds the rest back. */
  if( msgCountsCode(code) && msgPerCode[code] == msgRepeatLimit )
    msgRememberLimited(type, code, line, text);
  if( msgSink ) {
    msgToSink(type, code, line, 0, text);
    return;
  }
  out = msgStream();
  if( msgOtherFile ) fprintf(out, "%s: ", msgFile);
  if( code >= 0 && msgCoded )
    fprintf(out, "%c%04d", f->letter, code);
  else
    fputs(f->word, out);
  if( f->hasLine )
    fprintf(out, " (line %*lu)", MSG_LINE_WIDTH, msgLineNumber());
  fputs(twoLines ? " -\n    " : " - ", out);
  fputs(text, out);
  fputc('\n', out);
}

/* An info line ("I%04d - text"), never counted nor limited. */
static void msgWriteInfo(int code, const char *text) {
  if( msgSink ) {
    msgToSink(MSG_TYPE_INFO, code, 0, 0, text);
    return;
  }
  fprintf(msgStream(), "I%04d - %s\n", code, text);
}

static void msgCount(int type) {
  int sev = msgForms[type].severity;
  if( sev != SEV_NOTE ) msgCounts[sev]++;
}

/* Formats a message and writes it; its own function, so that the buffer is
** only set up for a message that is written. */
static void msgFormatAndWrite(int type, int code, const char *fmt,
                              va_list *args) {
  char buf[MSG_BUFFER_SIZE];
  msgFormat(buf, fmt, args);
  msgWrite(type, code, buf);
}

/* Counts a message of the given type and code, then formats and writes
** it unless the repetition limit holds it back. */
static int msgEmit(int type, int code, const char *fmt, va_list *args) {
  msgCount(type);
  if( msgHeldBack(code) || msgDiscard ) return 1;
  msgFormatAndWrite(type, code, fmt, args);
  return 1;
}

/* A message given by format. */
static int msgByFormat(int type, const char *fmt, va_list *args) {
  if( msgSuppressed[msgForms[type].severity] ) return 0;
  return msgEmit(type, -1, fmt, args);
}

/* A message given by code. An unknown code is neither counted nor
** suppressed: coded mode shows the fallback text as an info line, uncoded
** mode shows nothing. */
static int msgUnknownCode(void) {
  char buf[MSG_BUFFER_SIZE];
  if( !msgCoded || msgDiscard ) return 0;
  msgFormat(buf, MSG_Table[0].text, 0);
  msgWriteInfo(0, buf);
  return 1;
}

static int msgByCode(int type, int code, va_list *args) {
  int row = MSG_FindCode(code);
  if( row < 0 ) return msgUnknownCode();
  if( msgSuppressed[msgForms[type].severity] ) return 0;
  return msgEmit(type, code, MSG_Table[row].text, args);
}

/* Row of each code plus one (0: no row), filled on the first look-up:
** every message goes through here, so a direct index beats a search. */
static short msgRowOfCode[MSG_MAX_CODE];
static int msgRowsIndexed;

static void msgIndexRows(void) {
  int row;
  for( row = 0; row < MSG_TableSize; row++ ) {
    int code = MSG_Table[row].code;
    if( code >= 0 && code < MSG_MAX_CODE ) {
      msgRowOfCode[code] = (short)(row + 1);
    }
  }
  msgRowsIndexed = 1;
}

int MSG_FindCode(int code) {
  if( code < 0 || code >= MSG_MAX_CODE ) return -1;
  if( !msgRowsIndexed ) msgIndexRows();
  return msgRowOfCode[code] - 1;
}

/* ---- entry points ------------------------------------------------------ */

#define MSG_FORMAT_ENTRY(name, type)                                           \
  int name(const char *fmt, ...) {                                             \
    va_list ap;                                                                \
    va_start(ap, fmt);                                                         \
    int r = msgByFormat(type, fmt, &ap);                                       \
    va_end(ap);                                                                \
    return r;                                                                  \
  }

#define MSG_CODE_ENTRY(name, type)                                             \
  int name(int code, ...) {                                                    \
    va_list ap;                                                                \
    va_start(ap, code);                                                        \
    int r = msgByCode(type, code, &ap);                                        \
    va_end(ap);                                                                \
    return r;                                                                  \
  }

MSG_FORMAT_ENTRY(MSG_Bug, MSG_TYPE_BUG)
MSG_FORMAT_ENTRY(MSG_BugLine, MSG_TYPE_BUG_LINE)
MSG_CODE_ENTRY(MSG_BugCode, MSG_TYPE_BUG)
MSG_CODE_ENTRY(MSG_BugCodeLine, MSG_TYPE_BUG_LINE)
MSG_FORMAT_ENTRY(MSG_Error, MSG_TYPE_ERROR)
MSG_FORMAT_ENTRY(MSG_ErrorLine, MSG_TYPE_ERROR_LINE)
MSG_CODE_ENTRY(MSG_ErrorCode, MSG_TYPE_ERROR)
MSG_CODE_ENTRY(MSG_ErrorCodeLine, MSG_TYPE_ERROR_LINE)
MSG_FORMAT_ENTRY(MSG_Warning, MSG_TYPE_WARNING)
MSG_FORMAT_ENTRY(MSG_WarningLine, MSG_TYPE_WARNING_LINE)
MSG_CODE_ENTRY(MSG_WarningCode, MSG_TYPE_WARNING)
MSG_CODE_ENTRY(MSG_WarningCodeLine, MSG_TYPE_WARNING_LINE)
MSG_FORMAT_ENTRY(MSG_Caution, MSG_TYPE_CAUTION)
MSG_FORMAT_ENTRY(MSG_CautionLine, MSG_TYPE_CAUTION_LINE)
MSG_CODE_ENTRY(MSG_CautionCode, MSG_TYPE_CAUTION)
MSG_FORMAT_ENTRY(MSG_Note, MSG_TYPE_NOTE)
MSG_FORMAT_ENTRY(MSG_NoteLine, MSG_TYPE_NOTE_LINE)
MSG_CODE_ENTRY(MSG_NoteCode, MSG_TYPE_NOTE)
MSG_CODE_ENTRY(MSG_NoteCodeLine, MSG_TYPE_NOTE_LINE)

int MSG_CodeV(int type, int code, va_list *args) {
  if( type < MSG_TYPE_BUG || type > MSG_TYPE_NOTE_LINE ) return 0;
  return msgByCode(type, code, args);
}

/* ---- preformatted messages --------------------------------------------- */

int MSG_Print(int type, const char *fmt, va_list *args) {
  if( type < MSG_TYPE_BUG || type > MSG_TYPE_NOTE_LINE ) return 0;
  return msgEmit(type, -1, fmt, args);
}

/* An info line given by format, never counted nor limited. */
static int msgInfo(int code, const char *fmt, va_list *args) {
  char buf[MSG_BUFFER_SIZE];
  if( msgDiscard ) return 1;
  msgFormat(buf, fmt, args);
  msgWriteInfo(code, buf);
  return 1;
}

int MSG_PrintCode(int code, int type, const char *fmt, va_list *args) {
  if( !msgCoded ) return MSG_Print(type, fmt, args);
  if( type == MSG_TYPE_INFO ) return msgInfo(code, fmt, args);
  if( type < MSG_TYPE_BUG || type > MSG_TYPE_NOTE_LINE ) return 0;
  return msgEmit(type, code, fmt, args);
}

/* ---- summary, counters, switches --------------------------------------- */

static int msgCompareCodes(const void *a, const void *b) {
  return *(const short *)a - *(const short *)b;
}

/* One line per code the repetition limit held back, in code order. */
static void msgReportHidden(void) {
  char buf[MSG_BUFFER_SIZE];
  int t, i;
  if( msgRepeatLimit <= 0 || msgTouchedCount == 0 ) return;
  qsort(msgTouched, (size_t)msgTouchedCount, sizeof(msgTouched[0]),
        msgCompareCodes);
  for( t = 0; t < msgTouchedCount; t++ ) {
    const MsgLimited *m = 0;
    int code = msgTouched[t];
    int hidden = msgPerCode[code] - msgRepeatLimit;
    if( hidden <= 0 ) continue;
    for( i = 0; i < msgLimitedCount; i++ ) {
      if( msgLimited[i].code == code ) m = &msgLimited[i];
    }
    if( m && m->line > 0 )
      snprintf(buf, sizeof(buf),
               "%d more messages like %c%04d on line %d not shown (\"%s\")",
               hidden, msgForms[m->type].letter, code, m->line, m->text);
    else if( m )
      snprintf(buf, sizeof(buf),
               "%d more messages like %c%04d not shown (\"%s\")", hidden,
               msgForms[m->type].letter, code, m->text);
    else
      snprintf(buf, sizeof(buf), "%d more messages of code %04d not shown",
               hidden, code);
    if( msgSink )
      msgToSink(m ? m->type : MSG_TYPE_NOTE, code, 0, hidden, buf);
    else
      fprintf(msgStream(), "NOTE - %s\n", buf);
  }
}

void MSG_Summary(void) {
  FILE *out = msgStream();
  long bugs = msgCounts[SEV_BUG], errors = msgCounts[SEV_ERROR];
  long warnings = msgCounts[SEV_WARNING], cautions = msgCounts[SEV_CAUTION];

  if( msgDiscard ) return;
  msgReportHidden();
  if( msgSink ) return;
  if( bugs || errors || warnings ) {
    fputs("\n", out);
    if( bugs ) fprintf(out, "Bugs    : %ld\n", bugs);
  }
  fprintf(out, "Errors  : %ld\n", errors);
  if( warnings ) fprintf(out, "Warnings: %ld\n", warnings);
  if( cautions ) fprintf(out, "Cautions: %ld\n", cautions);
  if( msgSummaryNote[0] ) fprintf(out, "%s\n", msgSummaryNote);
  fprintf(out, "\nFile %s\n", (bugs || errors) ? "Failed" : "Passed");
}

void MSG_GetCounts(int *bugs, int *errors, int *warnings) {
  if( bugs ) *bugs = msgCounts[SEV_BUG];
  if( errors ) *errors = msgCounts[SEV_ERROR];
  if( warnings ) *warnings = msgCounts[SEV_WARNING];
}

void MSG_SetOutput(FILE *stream) { msgOut = stream; }
void MSG_SuppressBugs(int on) { msgSuppressed[SEV_BUG] = on != 0; }
void MSG_SuppressErrors(int on) { msgSuppressed[SEV_ERROR] = on != 0; }
void MSG_SuppressWarnings(int on) { msgSuppressed[SEV_WARNING] = on != 0; }
void MSG_SetCoded(int on) { msgCoded = on != 0; }
void MSG_SetDiscard(int on) { msgDiscard = on != 0; }
void MSG_SetLineSource(MsgLineSource source) { msgLineSource = source; }

void MSG_ResetCounts(void) {
  for( int i = 0; i < SEV_COUNT; i++ ) msgCounts[i] = 0;
  for( int t = 0; t < msgTouchedCount; t++ ) msgPerCode[msgTouched[t]] = 0;
  msgTouchedCount = 0;
  msgLimitedCount = 0;
  msgSummaryNote[0] = 0;
}

void MSG_SetSummaryNote(const char *text) {
  snprintf(msgSummaryNote, sizeof(msgSummaryNote), "%s", text ? text : "");
}

void MSG_SetSink(MsgSink sink, void *context) {
  msgSink = sink;
  msgSinkContext = context;
}

void MSG_SetCheckedFile(const char *path) {
  snprintf(msgChecked, sizeof(msgChecked), "%s", path ? path : "");
  MSG_SetFileName(path);
}

void MSG_SetFileName(const char *path) {
  snprintf(msgFile, sizeof(msgFile), "%s", path ? path : "");
  msgOtherFile = strcmp(msgFile, msgChecked) != 0;
}

const char *MSG_GetFileName(void) { return msgFile; }

void MSG_SetRepeatLimit(int limit) { msgRepeatLimit = limit > 0 ? limit : 0; }
int MSG_GetRepeatLimit(void) { return msgRepeatLimit; }

int MSG_HiddenCount(int code) {
  if( msgRepeatLimit <= 0 || code < 0 || code >= MSG_MAX_CODE ) return 0;
  return msgPerCode[code] > msgRepeatLimit ? msgPerCode[code] - msgRepeatLimit
                                           : 0;
}
