/*
** check.h: the check driver of the IBIS checker.
**
** Checks one file by its extension: .ibs, .pkg and .ebd files are read
** through the IBIS reader into a fresh IbisFile record, followed by the
** cross-checks that need the whole file; .ami files are parsed and their
** parameter tree checked.  Each file ends with the message log's summary.
*/
#ifndef IBISPARSER_CHECK_H
#define IBISPARSER_CHECK_H

/* File type of a path by its extension (case ignored); a path without a
** known extension is checked as an .ibs file, whose naming rules then
** report it. */
int CHECK_FileType(const char *path);

/* Checks one file and writes its summary.  Returns 1 when the file passed
** (no bug and no error), 0 when it failed. */
int CHECK_File(const char *path);

struct IbisFile;
/* A reader of the records a check built. */
typedef void (*CheckUse)(const struct IbisFile *file, void *context);

/* CHECK_File that, for an .ibs, .pkg or .ebd file that was read, hands its
** records to `reader` (when not null) after the after-file checks and before
** they are released: for a tool that works with what the checker read.
** The records are valid during the call only. */
int CHECK_FileWith(const char *path, CheckUse reader, void *context);

struct VerDecision;
/* The version decision that read the file of the last CHECK_File call:
** 1 and the decision for an .ibs, .pkg or .ebd file that was read, 0 for an
** .ami file or a file that could not be read. */
int CHECK_LastVersion(struct VerDecision *out);

struct AmichkVersion;
/* The AMI_Version of the file of the last CHECK_File call: 1 and the
** decision for an .ami file that was read and declares AMI_Version, 0
** otherwise. */
int CHECK_LastAmiVersion(struct AmichkVersion *out);

#endif
