// LintReport: what ibislint prints for a run, in one of three formats.
//
// text: the checker's own messages and summary per file, as it writes them.
// gnu:  one line per message, "FILE:LINE: error: TEXT [E1234]" (the form
//       editors and CI log parsers jump from), and a verdict line per file.
// json: one document at the end of the run: per file its verdict, counts and
//       messages, each text as the text output prints it (see
//       tools/ibislint.schema.json).
//
// For gnu and json the report takes the message log's records through its
// sink while a file is checked; the text format leaves the log writing to
// standard output as it always has.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "IbisParser/msg.h"

namespace ibislint {

enum class Format { Text, Gnu, Json };

// Parses "text", "gnu" or "json"; false for anything else.
bool ParseFormat(const std::string& name, Format* format);

// One captured message (or, with hidden > 0, a count of held-back ones).
struct Message {
    int severity = MSG_SEV_ERROR;
    char letter = 'E';
    int code = -1;
    int line = 0;
    int hidden = 0;
    std::string file;
    std::string text;
};

struct FileResult {
    std::string path;
    std::string type;  // "ibs", "pkg", "ebd" or "ami"
    // The [IBIS Ver] value and the version whose rules checked the file;
    // empty when the file was not read by the IBIS reader (.ami, refused).
    std::string declaredVersion, rulesVersion;
    bool passed = false;
    int bugs = 0, errors = 0, warnings = 0;
    std::vector<Message> messages;  // in the order written
    std::vector<Message> hidden;    // per code held back by the repeat limit
};

// A message text on one line, for the gnu format: each line break, with the
// blanks around it, becomes one blank, and the ends are trimmed.
std::string OneLine(const std::string& text);

// "E1234"-style tag of a message, empty for a message without a code.
std::string CodeTag(const Message& m);

// One gnu-format line, without the newline.
std::string GnuLine(const Message& m);

// A JSON string literal of s (quotes included).
std::string JsonQuote(const std::string& s);

// The whole JSON document of a run.
std::string JsonDocument(const std::vector<FileResult>& files, int passed, int failed);

class Report {
public:
    Report(Format format, std::FILE* out) : format_(format), out_(out) {}

    // Brackets the check of one file; `type` as FileResult::type.
    void BeginFile(const std::string& path, const std::string& type);
    void EndFile(bool passed);
    // The version the file declared and the rules that checked it, for the
    // file between BeginFile and EndFile.
    void SetVersion(const std::string& declared, const std::string& rules);

    // Ends the run: the JSON document, or the closing count line when
    // `closing` (text and gnu). Returns the number of failed files.
    int Finish(bool closing);

    int Passed() const { return passed_; }
    int Failed() const { return failed_; }

private:
    static void Sink(const MsgRecord* record, void* context);

    Format format_;
    std::FILE* out_;
    std::vector<FileResult> files_;
    FileResult current_;
    int passed_ = 0, failed_ = 0;
};

}  // namespace ibislint
