/*
** hdr.cpp: the file header section.
**
** A header opens at [IBIS Ver] and closes at the first keyword of another
** section, when the required keywords are checked.  [Source], [Notes],
** [Disclaimer] and [Copyright] collect their keyword line and the data lines
** after it as one text.
*/
#include "IbisParser/hdr.h"

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"
#include "IbisParser/parse.h"
#include "IbisParser/ver.h"

#include <ctype.h>
#include <string.h>

#define HDR_SRC "IbisParser/hdr"

static FileHeader *hdrOpen; /* null when no header is open */
static int hdrSeen[KW_COPYRIGHT + 1];
static int hdrKeyword = KW_NOT_KEY;

/* The text last appended to, with its length and capacity, so that a long
** [Notes] text grows in linear time. */
static char *hdrTextBuf;
static size_t hdrTextLen, hdrTextCap;

static int hdrIsHeaderCode(int code) {
  return code == KW_IBIS_VER || (code >= KW_FILE_NAME && code <= KW_COPYRIGHT);
}

void HDR_Reset(void) {
  hdrOpen = NULL;
  hdrKeyword = KW_NOT_KEY;
  memset(hdrSeen, 0, sizeof(hdrSeen));
}

void HDR_Free(FileHeader **header) {
  FileHeader *h;
  CMN_ASSERT(header != NULL, HDR_SRC);
  if( (h = *header) == NULL ) return;
  if( hdrOpen == h ) hdrOpen = NULL;
  hdrTextBuf = NULL;
  if( h->source ) CMN_Free((void **)&h->source);
  if( h->notes ) CMN_Free((void **)&h->notes);
  if( h->disclaimer ) CMN_Free((void **)&h->disclaimer);
  if( h->copyright ) CMN_Free((void **)&h->copyright);
  CMN_Free((void **)header);
}

void HDR_Begin(void) {
  IbisFile *file;
  FileHeader *h = NULL;
  if( !IBIS_Current(&file) ) {
    MSG_BugCodeLine(MSGC_HDR_NO_IBIS);
    return;
  }
  if( !CMN_Calloc((void **)&h, sizeof(*h)) ) {
    MSG_ErrorCodeLine(MSGC_HDR_NO_HEADER);
    return;
  }
  /* A repeated [IBIS Ver] (already reported) starts over. */
  HDR_Free(&file->header);
  file->header = h;
  hdrOpen = h;
  hdrKeyword = KW_NOT_KEY;
  memset(hdrSeen, 0, sizeof(hdrSeen));
}

void HDR_Close(int previousCode, int newCode) {
  (void)previousCode;
  if( hdrOpen == NULL ) return;
  if( newCode == KW_IBIS_VER ) {
    MSG_ErrorCodeLine(MSGC_HDR_DUPLICATE_IBIS_VER);
    return;
  }
  if( hdrIsHeaderCode(newCode) ) return;
  CMN_RequireKeyword("IBIS_Version", hdrSeen[KW_IBIS_VER]);
  CMN_RequireKeyword("File_name", hdrSeen[KW_FILE_NAME]);
  CMN_RequireKeyword("File_Rev", hdrSeen[KW_FILE_REV]);
  hdrOpen = NULL;
}

int HDR_AddText(char **text, const char *line) {
  size_t old, add, need;
  CMN_ASSERT(text != NULL && line != NULL, HDR_SRC);
  add = strlen(line);
  if( *text == NULL ) {
    if( (*text = CMN_StrDup(line)) == NULL ) {
      MSG_ErrorCodeLine(MSGC_HDR_ADD_TEXT_FAILED);
      return 0;
    }
    hdrTextBuf = *text;
    hdrTextLen = add;
    hdrTextCap = add + 1;
    return 1;
  }
  if( *text != hdrTextBuf ) {
    hdrTextBuf = *text;
    hdrTextLen = strlen(*text);
    hdrTextCap = hdrTextLen + 1;
  }
  old = hdrTextLen;
  need = old + add + 2;
  if( need > hdrTextCap ) {
    size_t cap = hdrTextCap * 2 > need ? hdrTextCap * 2 : need;
    if( !CMN_Realloc((void **)text, cap) ) {
      hdrTextBuf = NULL;
      MSG_ErrorCodeLine(MSGC_HDR_ADD_TEXT_FAILED);
      return 0;
    }
    hdrTextBuf = *text;
    hdrTextCap = cap;
  }
  (*text)[old] = '\n';
  memcpy(*text + old + 1, line, add + 1);
  hdrTextLen = old + 1 + add;
  return 1;
}

static void hdrVersion(FileHeader *h, const char *value) {
  VerDecision d;
  int i;
  for( i = KW_FILE_NAME; i <= KW_COPYRIGHT; i++ ) {
    if( hdrSeen[i] ) {
      MSG_ErrorCodeLine(MSGC_HDR_VERSION_NOT_FIRST);
      break;
    }
  }
  if( hdrSeen[KW_IBIS_VER] ) {
    MSG_ErrorCodeLine(MSGC_HDR_DUPLICATE_IBIS_VER);
    return;
  }
  hdrSeen[KW_IBIS_VER] = 1;
  CMN_CopyOnce(h->ibisVersion, value, HDR_MAX_VERSION, "IBIS_Version");
  VER_Decide(value, PARSE_GetForceVersion5(), PARSE_GetAcceptVersion1(), &d);
  switch( d.kind ) {
    case VER_KIND_KNOWN:
    case VER_KIND_FORCED:
      break;
    case VER_KIND_NEWER:
      MSG_NoteCodeLine(MSGC_VER_NEWER_VERSION, value, VER_NEWEST, d.rules);
      break;
    case VER_KIND_UNKNOWN:
      MSG_ErrorCodeLine(MSGC_VER_UNKNOWN_VERSION, value, VER_KnownList(),
                        d.rules);
      break;
    default:
      /* The file goes on by the rules its pre-scan chose. */
      MSG_ErrorCodeLine(MSGC_HDR_ILLEGAL_VERSION, value);
      return;
  }
  PARSE_SetDispatchVersion(d.dispatch);
  VER_SetCurrent(&d);
}

/* Characters a DOS file name may hold besides letters, digits and '.'. */
static int hdrDosChar(int c) {
  return isalnum(c) || c == '.' || (c && strchr("!#$%&'()-@^_`{}~", c) != NULL);
}

/* IBIS 7.0 (BIRD 186.4) lets file names grow to 256 characters and hold
** upper-case letters. */
#define HDR_FILE_NAME_MAX_70 256

static void hdrFileName(FileHeader *h, const char *value) {
  int version = PARSE_GetDispatchVersion();
  int since70 = VER_Rules() >= VER_LEVEL_70;
  int stored, periods = 0, upperSeen = 0, dosSeen = 0;
  const char *p;
  if( hdrSeen[KW_FILE_NAME] ) {
    MSG_ErrorCodeLine(MSGC_HDR_DUPLICATE_FILE_NAME);
    return;
  }
  hdrSeen[KW_FILE_NAME] = 1;
  if( version <= 2 ) {
    stored = CMN_CopyOnce(h->fileName, value, 12, "File_name");
  } else if( version == 3 ) {
    stored = CMN_CopyOnce(h->fileName, value, 24, "File_name");
  } else {
    stored = CMN_CopyOnceMax(h->fileName, value,
                             since70 ? HDR_FILE_NAME_MAX_70 : 44, "File_name");
  }
  if( !stored || h->fileName[0] == 0 || PARSE_GetNoFileNameCheck() ) return;
  for( p = h->fileName; *p; p++ ) {
    int c = (unsigned char)*p;
    /* One fault of each kind per name: an upper-case name is one mistake,
    ** not one per letter. */
    if( isupper(c) ) {
      if( !since70 && !upperSeen++ )
        MSG_ErrorCodeLine(MSGC_HDR_FILE_NAME_UPPER, h->fileName, c);
    } else if( !hdrDosChar(c) ) {
      if( !dosSeen++ )
        MSG_ErrorCodeLine(MSGC_HDR_FILE_NAME_DOS_CHAR, h->fileName, c);
    }
    if( c == '.' && ++periods == 2 )
      MSG_ErrorCodeLine(MSGC_HDR_FILE_NAME_PERIODS, h->fileName);
  }
  if( periods == 0 )
    MSG_ErrorCodeLine(MSGC_HDR_FILE_NAME_NO_PERIOD, h->fileName);
  if( !CMN_StrEqualNoCase(CMN_GetFileName(), h->fileName) ) {
    MSG_ErrorCodeLine(MSGC_HDR_FILE_NAME_MISMATCH, CMN_GetFileName(),
                      h->fileName);
  }
  CMN_CheckReservedWord(h->fileName);
}

static void hdrKeywordLine(FileHeader *h, int code, char *value) {
  switch( code ) {
    case KW_IBIS_VER:
      hdrVersion(h, value);
      break;
    case KW_FILE_NAME:
      hdrFileName(h, value);
      break;
    case KW_FILE_REV:
      if( hdrSeen[code] ) {
        MSG_ErrorCodeLine(MSGC_HDR_DUPLICATE_FILE_REV);
        break;
      }
      hdrSeen[code] = 1;
      if( CMN_CopyOnce(h->fileRev, value, HDR_MAX_REV, "File_Rev") ) {
        CMN_CheckReservedWord(h->fileRev);
      }
      break;
    case KW_DATE:
      if( hdrSeen[code] ) {
        MSG_ErrorCodeLine(MSGC_HDR_DUPLICATE_DATE);
        break;
      }
      hdrSeen[code] = 1;
      if( CMN_CopyOnce(h->date, value, HDR_MAX_DATE, "Date") ) {
        CMN_CheckReservedWord(h->date);
      }
      break;
    case KW_SOURCE:
      if( hdrSeen[code] ) MSG_ErrorCodeLine(MSGC_HDR_DUPLICATE_SOURCE);
      hdrSeen[code] = 1;
      if( value[0] ) HDR_AddText(&h->source, value);
      break;
    case KW_NOTES:
      if( hdrSeen[code] ) MSG_ErrorCodeLine(MSGC_HDR_DUPLICATE_NOTES);
      hdrSeen[code] = 1;
      if( value[0] ) HDR_AddText(&h->notes, value);
      break;
    case KW_DISCLAIMER:
      hdrSeen[code] = 1;
      if( value[0] ) HDR_AddText(&h->disclaimer, value);
      break;
    case KW_COPYRIGHT:
      if( hdrSeen[code] ) MSG_ErrorCodeLine(MSGC_HDR_DUPLICATE_COPYRIGHT);
      hdrSeen[code] = 1;
      if( value[0] ) HDR_AddText(&h->copyright, value);
      break;
  }
}

void HDR_Line(int lineType, int code, char *text) {
  CMN_ASSERT(text != NULL, HDR_SRC);
  if( !hdrIsHeaderCode(code) ) {
    MSG_BugCodeLine(MSGC_HDR_BAD_KEYWORD);
    return;
  }
  if( lineType == SECTION_LINE_KEYWORD ) {
    char *p = text;
    if( hdrOpen == NULL ) {
      MSG_ErrorCodeLine(MSGC_HDR_ORPHAN_KEYWORD);
      return;
    }
    hdrKeyword = code;
    CMN_SkipPastBracket(&p);
    hdrKeywordLine(hdrOpen, code, p);
  } else if( lineType == SECTION_LINE_DATA ) {
    if( hdrOpen == NULL || hdrKeyword < KW_SOURCE
        || hdrKeyword > KW_COPYRIGHT ) {
      MSG_ErrorCodeLine(MSGC_HDR_ORPHAN_DATA);
      return;
    }
    switch( hdrKeyword ) {
      case KW_SOURCE:
        HDR_AddText(&hdrOpen->source, text);
        break;
      case KW_NOTES:
        HDR_AddText(&hdrOpen->notes, text);
        break;
      case KW_DISCLAIMER:
        HDR_AddText(&hdrOpen->disclaimer, text);
        break;
      default:
        HDR_AddText(&hdrOpen->copyright, text);
        break;
    }
  } else {
    MSG_BugCodeLine(MSGC_HDR_BAD_LINE_TYPE);
  }
}

const ParseSection HDR_ParseSection = { HDR_Begin, HDR_Close, HDR_Line, NULL,
                                        HDR_Reset };
