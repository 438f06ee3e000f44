// LintReport: text, gnu and json output of ibislint (see LintReport.h).
#include "tools/ibislint/LintReport.h"

#include "tools/JsonQuote.h"

#include <cstring>

namespace ibislint {

namespace {

const char* SeverityWord(int severity) {
    switch (severity) {
        case MSG_SEV_BUG:
            return "bug";
        case MSG_SEV_ERROR:
            return "error";
        case MSG_SEV_WARNING:
            return "warning";
        case MSG_SEV_CAUTION:
            return "caution";
        case MSG_SEV_NOTE:
            return "note";
        default:
            return "info";
    }
}

// Editors know error, warning and note; a program bug is an error to them
// and a caution a warning.
const char* GnuWord(int severity) {
    switch (severity) {
        case MSG_SEV_BUG:
        case MSG_SEV_ERROR:
            return "error";
        case MSG_SEV_WARNING:
        case MSG_SEV_CAUTION:
            return "warning";
        default:
            return "note";
    }
}

void AppendMessage(std::string& out, const Message& m) {
    out += "{\"severity\": " + JsonQuote(SeverityWord(m.severity));
    out += ", \"code\": ";
    out += m.code >= 0 ? JsonQuote(CodeTag(m)) : "null";
    out += ", \"line\": ";
    out += m.line > 0 ? std::to_string(m.line) : "null";
    out += ", \"file\": " + JsonQuote(m.file);
    if (m.hidden > 0) out += ", \"count\": " + std::to_string(m.hidden);
    // The text as the text output prints it, blanks and line breaks
    // included: a reader of the document sees what a reader of the log does.
    out += ", \"text\": " + JsonQuote(m.text) + "}";
}

void AppendList(std::string& out, const char* key, const std::vector<Message>& list) {
    out += ",\n      \"";
    out += key;
    out += "\": [";
    for (size_t i = 0; i < list.size(); ++i) {
        out += i ? ",\n        " : "\n        ";
        AppendMessage(out, list[i]);
    }
    out += list.empty() ? "]" : "\n      ]";
}

}  // namespace

bool ParseFormat(const std::string& name, Format* format) {
    if (name == "text")
        *format = Format::Text;
    else if (name == "gnu")
        *format = Format::Gnu;
    else if (name == "json")
        *format = Format::Json;
    else
        return false;
    return true;
}

std::string OneLine(const std::string& text) {
    // Only the line breaks go: blanks inside a line are part of the text.
    std::string out;
    size_t i = 0, n = text.size();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (i < n && (blank(text[i]) || text[i] == '\n' || text[i] == '\r')) ++i;
    while (i < n) {
        char c = text[i];
        if (c == '\n' || c == '\r') {
            while (!out.empty() && blank(out.back())) out.pop_back();
            while (i < n && (blank(text[i]) || text[i] == '\n' || text[i] == '\r')) ++i;
            if (i < n) out += ' ';
            continue;
        }
        out += c;
        ++i;
    }
    while (!out.empty() && blank(out.back())) out.pop_back();
    return out;
}

std::string CodeTag(const Message& m) {
    if (m.code < 0) return std::string();
    char tag[16];
    std::snprintf(tag, sizeof tag, "%c%04d", m.letter, m.code);
    return tag;
}

std::string GnuLine(const Message& m) {
    std::string out = m.file;
    if (m.line > 0) out += ":" + std::to_string(m.line);
    out += ": ";
    out += GnuWord(m.severity);
    out += ": ";
    if (m.severity == MSG_SEV_BUG) out += "program bug: ";
    out += OneLine(m.text);
    if (m.code >= 0) out += " [" + CodeTag(m) + "]";
    return out;
}

std::string JsonQuote(const std::string& s) { return ::JsonQuote(s, true); }

std::string JsonDocument(const std::vector<FileResult>& files, int passed, int failed) {
    std::string out = "{\n  \"tool\": \"ibislint\",\n  \"files\": [";
    for (size_t i = 0; i < files.size(); ++i) {
        const FileResult& f = files[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\n      \"path\": " + JsonQuote(f.path);
        out += ",\n      \"type\": " + JsonQuote(f.type);
        if (!f.rulesVersion.empty()) {
            out += ",\n      \"ibis_version\": {\"declared\": " + JsonQuote(f.declaredVersion) +
                   ", \"rules\": " + JsonQuote(f.rulesVersion) + "}";
        }
        out += ",\n      \"verdict\": ";
        out += f.passed ? "\"passed\"" : "\"failed\"";
        out += ",\n      \"counts\": {\"bugs\": " + std::to_string(f.bugs) +
               ", \"errors\": " + std::to_string(f.errors) +
               ", \"warnings\": " + std::to_string(f.warnings) + "}";
        AppendList(out, "messages", f.messages);
        AppendList(out, "hidden", f.hidden);
        out += "\n    }";
    }
    out += files.empty() ? "]" : "\n  ]";
    out += ",\n  \"summary\": {\"files\": " + std::to_string(passed + failed) +
           ", \"passed\": " + std::to_string(passed) + ", \"failed\": " + std::to_string(failed) +
           "}\n}\n";
    return out;
}

void Report::Sink(const MsgRecord* record, void* context) {
    Report* self = static_cast<Report*>(context);
    Message m;
    m.severity = record->severity;
    m.letter = record->letter;
    m.code = record->code;
    m.line = record->line;
    m.hidden = record->hidden;
    m.file = record->file ? record->file : "";
    m.text = record->text ? record->text : "";
    if (self->format_ == Format::Gnu) {
        std::fprintf(self->out_, "%s\n", GnuLine(m).c_str());
        return;
    }
    (m.hidden > 0 ? self->current_.hidden : self->current_.messages).push_back(std::move(m));
}

void Report::BeginFile(const std::string& path, const std::string& type) {
    current_ = FileResult();
    current_.path = path;
    current_.type = type;
    if (format_ != Format::Text) MSG_SetSink(&Report::Sink, this);
}

void Report::SetVersion(const std::string& declared, const std::string& rules) {
    current_.declaredVersion = declared;
    current_.rulesVersion = rules;
}

void Report::EndFile(bool passed) {
    MSG_SetSink(nullptr, nullptr);
    current_.passed = passed;
    MSG_GetCounts(&current_.bugs, &current_.errors, &current_.warnings);
    (passed ? passed_ : failed_)++;
    if (format_ == Format::Gnu) {
        std::fprintf(out_, "%s: note: File %s (bugs %d, errors %d, warnings %d)\n",
                     current_.path.c_str(), passed ? "Passed" : "Failed", current_.bugs,
                     current_.errors, current_.warnings);
    }
    if (format_ == Format::Json) files_.push_back(std::move(current_));
    current_ = FileResult();
}

int Report::Finish(bool closing) {
    if (format_ == Format::Json) {
        std::fputs(JsonDocument(files_, passed_, failed_).c_str(), out_);
    } else if (closing) {
        std::fprintf(out_, "\nibislint: %d file%s checked: %d passed, %d failed\n",
                     passed_ + failed_, passed_ + failed_ == 1 ? "" : "s", passed_, failed_);
    }
    std::fflush(out_);
    return failed_;
}

}  // namespace ibislint
