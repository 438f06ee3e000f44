/*
** amichk.h: checks of the AMI parameter files that [Algorithmic Model]
** sections name, and of standalone .ami files.
**
** A referenced file is looked up in the directory of the .ibs file, its
** text gathered by the IBIS reader, parsed into a parameter tree and the
** tree checked against the IBIS-AMI rules for Reserved_Parameters and
** Model_Specific parameters, by the rules of the AMI_Version the file
** declares (amiver).  The examined tree is attached to its Executable
** record.
*/
#ifndef IBISPARSER_AMICHK_H
#define IBISPARSER_AMICHK_H

#include "IbisParser/algmod.h"
#include "IbisParser/ibis.h"

struct AmiParamTree;

/* How the checker reads a model record of the model section: its name and
** its executable list (null when the model has no [Algorithmic Model]). */
typedef const char *(*AmichkModelName)(void *model);
typedef AlgExecList *(*AmichkModelExecs)(void *model);

/* What a model is to its parameter file: some rules hold for a receiver
** only.  A standalone file, or one an I/O model names, may be either. */
enum { AMICHK_EITHER, AMICHK_RX, AMICHK_TX };
typedef int (*AmichkModelDirection)(void *model);

/* Checks the files of every model of the list that has an executable list.
** `direction` may be null (every model is then either).  A file that an
** Executable_Rx or Executable_Tx line names is checked as that direction's,
** whatever the model. */
void AMICHK_CheckModelFiles(IbisItem *models, AmichkModelName name,
                            AmichkModelExecs execs,
                            AmichkModelDirection direction);
/* Parses the text the IBIS reader gathered (and releases it); returns the
** checked tree, or null when there was no text or it did not parse. */
struct AmiParamTree *AMICHK_ParseGathered(void);

/* Checks a standalone .ami file.  Returns 1 when it was read, 0 when it
** could not be opened. */
int AMICHK_CheckAmiFile(const char *path);

/* Told the path of every parameter file an .ibs file's models reach, just
** before it is checked, so that a run over a whole kit checks each file
** once.  Null (the default) tells no one. */
typedef void (*AmichkReached)(const char *path);
void AMICHK_SetReached(AmichkReached reached);

/* The tree checks alone. */
void AMICHK_CheckTree(const struct AmiParamTree *tree);

/* The AMI_Version a parameter file declares and the rules it was checked
** by. */
typedef struct AmichkVersion {
  int declared;   /* its Reserved_Parameters hold AMI_Version */
  int kind;       /* AMIVER_KNOWN, AMIVER_NEWER or AMIVER_NOT_A_VERSION */
  int level;      /* the rules level; AMIVER_NONE without AMI_Version */
  char value[41]; /* the declared value, cut; empty when it gives none */
} AmichkVersion;

/* The version of the tree the last check looked at: 1 when that file
** declared AMI_Version, 0 when it did not or did not parse. */
int AMICHK_LastVersion(AmichkVersion *out);

#endif
