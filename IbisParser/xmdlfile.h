/*
** xmdlfile.h: the files that the corners of an [External Model] or an
** [External Circuit] name, for the languages whose files the checker
** reads: IBIS-ISS and Touchstone.
*/
#ifndef IBISPARSER_XMDLFILE_H
#define IBISPARSER_XMDLFILE_H

struct XmdlRecord;

/* When the block ends: each corner's file found beside the .ibs file and,
** for Touchstone, its port count against its name and the Ports lines.
** `keyword` ("[External Model]") and `name` name the block in the
** messages. */
void XMDLFILE_Check(const struct XmdlRecord *x, const char *keyword,
                    const char *name);

#endif
