// EmiScript: drives the EMI entries line by line, the way the component and
// model sections do, and turns the coded message log into one compact row
// per message ("E4801@3 text"; "@line" only for messages that carry one).
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "IbisParser/cmpntemi.h"
#include "IbisParser/keyword.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"
#include "MsgCapture.h"

namespace emiscript {

// The line number the log prints while a script runs.
inline int& CurrentLine() {
    static int line = 0;
    return line;
}
inline int LineSource() {
    return CurrentLine();
}

// The lines of a script, split at '\n'.
inline std::vector<std::string> Lines(const std::string& script) {
    std::vector<std::string> out;
    std::istringstream in(script);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

// Coded log output, one row per message joined by '\n'.
inline std::string Compact(const std::string& log) {
    std::vector<std::string> rows;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("    ", 0) == 0 && !rows.empty()) {
            rows.back() += line.substr(4);
            continue;
        }
        // A message about another file than the checked one begins with
        // its path: the row keeps the file's name.
        std::string file;
        size_t colon = line.find(": ");
        if (colon != std::string::npos && colon < line.find(" -") && colon + 3 < line.size() &&
            isupper(static_cast<unsigned char>(line[colon + 2])) &&
            isdigit(static_cast<unsigned char>(line[colon + 3]))) {
            file = line.substr(0, colon);
            file = file.substr(file.rfind('/') + 1) + ": ";
            line = line.substr(colon + 2);
        }
        std::string row = file + line.substr(0, 5);
        size_t at = line.find("(line ");
        size_t dash = line.find(" -", 5);
        if (at != std::string::npos && at < dash) {
            row += "@" + std::to_string(std::stoi(line.substr(at + 6)));
        }
        std::string rest = dash == std::string::npos ? "" : line.substr(dash + 2);
        if (!rest.empty() && rest[0] == ' ') rest = rest.substr(1);
        rows.push_back(row + " " + rest);
    }
    std::string out;
    for (const std::string& r : rows) out += (out.empty() ? "" : "\n") + r;
    return out;
}

inline bool IsComponentEmiCode(int code) {
    return code >= KW_BEGIN_EMI_COMPONENT && code <= KW_PIN_DOMAIN_EMI;
}

// Feeds a script of version 5 component lines to the EMI block the way the
// component section routes them: close when a keyword follows one of the
// block's keywords, then the keyword line; data lines of the block's
// keywords without their leading white space.  Other keywords only close.
inline void RunComponentScript(const std::string& script, CmpntEmi** slot) {
    int code = KW_NOT_KEY;
    std::vector<std::string> lines = Lines(script);
    for (size_t i = 0; i < lines.size(); i++) {
        CurrentLine() = static_cast<int>(i) + 1;
        std::string text = lines[i];
        if (!text.empty() && text[0] == '[') {
            int next = PARSE_FindKeyword(text.c_str(), code, 5);
            if (IsComponentEmiCode(code)) CMPNTEMI_Close(next);
            code = next;
            if (IsComponentEmiCode(code)) CMPNTEMI_Line(SECTION_LINE_KEYWORD, code, &text[0], slot);
        } else if (IsComponentEmiCode(code)) {
            size_t start = text.find_first_not_of(" \t");
            std::string data = start == std::string::npos ? "" : text.substr(start);
            CMPNTEMI_Line(SECTION_LINE_DATA, code, &data[0], slot);
        }
    }
}

// Coded messages with the script's line numbers.
class Fixture : public MsgCapture {
protected:
    void SetUp() override {
        MsgCapture::SetUp();
        MSG_SetCoded(1);
        CurrentLine() = 0;
        MSG_SetLineSource(LineSource);
        CMPNTEMI_Reset();
    }
    std::string Messages() { return Compact(Output()); }
};

}  // namespace emiscript
