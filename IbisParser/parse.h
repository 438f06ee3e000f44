/*
** parse.h: the IBIS reader.
**
** PARSE_File opens an IBIS-family file by the naming rules of its type,
** finds its IBIS version, reads it line by line with the character and
** length checks, recognises the bracketed keywords and routes every line to
** the section it belongs to (section.h).  For an .ami file it only gathers
** the text into one string, which the AMI checker takes over.
*/
#ifndef IBISPARSER_PARSE_H
#define IBISPARSER_PARSE_H

#include <stddef.h>

/* Size of the line buffer of .ibs, .pkg and .ebd files. */
#define PARSE_LINE_BUFFER 1024

int PARSE_File(const char *path, int fileType);
/* Gathers an .ami file as PARSE_File does, its banner naming `rules`
** ("AMI_Version 7.1"), or the IBIS 5.0 rules when null. */
int PARSE_AmiFile(const char *path, const char *rules);
/* Reads `size` bytes of `text` as PARSE_File reads the file at `path`: the
** path drives the naming and type rules, the directory bookkeeping and the
** messages, and nothing is opened.  The text may hold any byte. */
int PARSE_FileText(const char *path, const char *text, size_t size,
                   int fileType);

int PARSE_GetLineNumber(void);
/* `buffer` holds at least 1025 bytes. */
void PARSE_GetFileName(char *buffer);
void PARSE_GetDirectory(char *buffer);
int PARSE_GetCommentChar(void);
/* `buffer` holds at least 118 bytes.  Returns 1, or 0 for an unknown code. */
int PARSE_KeywordName(int code, char *buffer);
int PARSE_GetCurrentKeyword(void);
int PARSE_GetFileType(void);
void PARSE_Reset(void);

/* Switches; each stores 1 for any non-zero argument and returns it. */
int PARSE_AllowLongLines(int on);
int PARSE_SetSilent(int on);
int PARSE_SetNoFileNameCheck(int on);
int PARSE_SetAcceptVersion1(int on);
int PARSE_SetForceVersion5(int on);
int PARSE_GetSilent(void);
int PARSE_GetNoFileNameCheck(void);
int PARSE_GetAcceptVersion1(void);
int PARSE_GetForceVersion5(void);

/* Dispatch version 1..5: keyword table, routing and line-length limit. */
int PARSE_GetDispatchVersion(void);
void PARSE_SetDispatchVersion(int version);

/* Raised by a section whose keyword was not terminated properly; the next
** keyword line reports it (version 3 and above). */
void PARSE_SetUnterminated(void);
int PARSE_InSubmodel(void);

/* Steps of the reader, exposed for the tests and the benchmarks. */
void PARSE_CheckLine(char *line);
int PARSE_LineType(const char *line);
void PARSE_CommentCharLine(char *line);
int PARSE_FindKeyword(const char *line, int previousCode, int version);
void PARSE_EndLine(char *line);
char *PARSE_StripComment(char *line);

/* The gathered .ami text: PARSE_TakeAmiText hands it over (the caller
** releases it with CMN_Free) and leaves none; null when there is none. */
char *PARSE_TakeAmiText(void);
void PARSE_FreeAmiText(void);
/* Source line of an offset in the gathered .ami text; the map outlives
** PARSE_TakeAmiText and goes with PARSE_FreeAmiText.  0 when none. */
int PARSE_AmiLineAt(long offset);

#endif
