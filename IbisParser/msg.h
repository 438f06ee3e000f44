/*
** msg.h: the message log of the parser library.
**
** Every diagnostic of the parameter reader and of the IBIS checker is one
** severity-tagged line (or line pair) on a single output stream, standard
** output unless MSG_SetOutput() names another. The log counts bugs, errors,
** warnings and cautions for the end-of-check summary, and keeps the table
** of numbered message texts (MSG_Table, msgtab.cpp) so that most callers
** pass a four-digit code instead of a format.
**
** All state is process-wide and unguarded: callers are single-threaded.
*/
#pragma once

#include <stdarg.h>
#include <stdio.h>

/* Message types of MSG_Print() and MSG_PrintCode(). */
typedef enum MsgType {
  MSG_TYPE_BUG = 0,
  MSG_TYPE_BUG_LINE = 1,
  MSG_TYPE_ERROR = 2,
  MSG_TYPE_ERROR_LINE = 3,
  MSG_TYPE_WARNING = 4,
  MSG_TYPE_WARNING_LINE = 5,
  MSG_TYPE_CAUTION = 6,
  MSG_TYPE_CAUTION_LINE = 7,
  MSG_TYPE_NOTE = 8,
  MSG_TYPE_NOTE_LINE = 9,
  MSG_TYPE_INFO = 10 /* MSG_PrintCode() in coded mode only, never counted */
} MsgType;

/* One row of the message table: a code and its printf format. */
typedef struct MsgEntry {
  int code;
  const char *text;
} MsgEntry;

/* The message table, in strictly ascending code order; row 0 is the
** fallback text {0, "Error code doesn't exist."}. */
extern const MsgEntry MSG_Table[];
extern const int MSG_TableSize;

/* Size of the formatting buffer, terminator included. A longer message is
** cut to MSG_BUFFER_SIZE - 1 characters. */
#define MSG_BUFFER_SIZE 2208

/* Entry points. The ...Code forms take a message code followed by the
** arguments of that row's text; the others take a printf format. The
** ...Line forms print the current line number of the file being read.
** Each returns 1 when it wrote something and 0 otherwise; callers may
** ignore it. */
int MSG_Bug(const char *fmt, ...);
int MSG_BugLine(const char *fmt, ...);
int MSG_BugCode(int code, ...);
int MSG_BugCodeLine(int code, ...);
int MSG_Error(const char *fmt, ...);
int MSG_ErrorLine(const char *fmt, ...);
int MSG_ErrorCode(int code, ...);
int MSG_ErrorCodeLine(int code, ...);
int MSG_Warning(const char *fmt, ...);
int MSG_WarningLine(const char *fmt, ...);
int MSG_WarningCode(int code, ...);
int MSG_WarningCodeLine(int code, ...);
int MSG_Caution(const char *fmt, ...);
int MSG_CautionLine(const char *fmt, ...);
int MSG_CautionCode(int code, ...);
int MSG_Note(const char *fmt, ...);
int MSG_NoteLine(const char *fmt, ...);
int MSG_NoteCode(int code, ...);
int MSG_NoteCodeLine(int code, ...);

/* A message given by code with its arguments in a va_list, for callers that
** pick the message type at run time; as the ...Code entry points. */
int MSG_CodeV(int type, int code, va_list *args);

/* Writes one message of the given type, counted like the entry points but
** never suppressed. A null argument list prints fmt as plain text (it is
** not interpreted as a format). A type outside 0..9 writes nothing. */
int MSG_Print(int type, const char *fmt, va_list *args);

/* In uncoded mode as MSG_Print(). In coded mode the coded forms with the
** given code for types 0..9, and for type 10 the line "I%04d - %s\n". */
int MSG_PrintCode(int code, int type, const char *fmt, va_list *args);

/* End-of-check summary: counters and "File Passed" / "File Failed". */
void MSG_Summary(void);
/* One more line of the summary, after the counters (cut to 159
** characters); null or empty for none.  MSG_ResetCounts() clears it. */
void MSG_SetSummaryNote(const char *text);

/* Counters; any pointer may be null. */
void MSG_GetCounts(int *bugs, int *errors, int *warnings);

/* Output stream; null restores the default, standard output. */
void MSG_SetOutput(FILE *stream);

/* Suppression switches: any non-zero argument means suppressed (neither
** written nor counted). Cautions are always suppressed. */
void MSG_SuppressBugs(int on);
void MSG_SuppressErrors(int on);
void MSG_SuppressWarnings(int on);

/* Coded mode: messages given by code are written with their code
** ("E1906 - ..."). Off (uncoded) at start; the models never turn it on. */
void MSG_SetCoded(int on);

/* Clears the four counters, for a tool that checks several files in one
** process. The models never call it. */
void MSG_ResetCounts(void);

/* Discard mode: messages are counted (and the repetition limit applied)
** but never formatted nor written, and the summary writes nothing.  For a
** caller that wants only the counts, such as a fuzz target: formatting
** text that nobody reads is most of what a message costs.  Off at start. */
void MSG_SetDiscard(int on);

/* Row index of a code in MSG_Table, or -1. */
int MSG_FindCode(int code);

/* ---- structured capture and repetition limit ------------------------- */

/* Severity classes of a captured message. */
enum {
  MSG_SEV_BUG = 0,
  MSG_SEV_ERROR = 1,
  MSG_SEV_WARNING = 2,
  MSG_SEV_CAUTION = 3,
  MSG_SEV_NOTE = 4,
  MSG_SEV_INFO = 5
};

/* One message as a tool sees it. `text` is the formatted text (it may hold
** newlines), `line` 0 when the message names no line, `code` -1 for a
** message given by format. A record with `hidden` > 0 is not a message but
** the count of messages of `code` the repetition limit kept back in the
** file; `severity` is then that of the messages kept back. The pointers
** are valid during the call only. */
typedef struct MsgRecord {
  int severity;
  char letter; /* 'B', 'E', 'W', 'C', 'N' or 'I' */
  int code;
  int line;
  int hidden;
  const char *file;
  const char *text;
} MsgRecord;

/* A sink receives every message instead of the output stream; the summary
** then writes nothing (the sink's owner reports the verdict). Null
** restores writing to the stream. */
typedef void (*MsgSink)(const MsgRecord *record, void *context);
void MSG_SetSink(MsgSink sink, void *context);

/* The file a check is about (the check driver names it); it is also the
** file the following messages are about, until MSG_SetFileName names
** another.  Copied, cut to 1024 characters. */
void MSG_SetCheckedFile(const char *path);

/* The file the following messages are about: the checked file, or one the
** checker reads because the checked file names it (a package, board,
** component or AMI parameter file).  Captured records carry it; the text
** forms begin with it and a colon while it is not the checked file.
** Copied (cut to 1024 characters). */
void MSG_SetFileName(const char *path);
const char *MSG_GetFileName(void);

/* Repetition limit: after `limit` messages of one code in a file, further
** ones of that code are counted but not written, and the summary (or the
** sink) gets one line saying how many were kept back. 0, the default,
** writes every message. MSG_ResetCounts() starts a new file. */
void MSG_SetRepeatLimit(int limit);
int MSG_GetRepeatLimit(void);
/* Messages of a code kept back in the current file. */
int MSG_HiddenCount(int code);

/* Source of the line number printed by the ...Line forms. The IBIS reader
** installs its own (PARSE_GetLineNumber); until then, or after a null
** argument, the line number is 0. */
typedef int (*MsgLineSource)(void);
void MSG_SetLineSource(MsgLineSource source);
