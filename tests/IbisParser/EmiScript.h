// EmiScript: drives the EMI entries line by line, the way the component and
// model sections do, and turns the coded message log into one compact row
// per message ("E4801@3 text"; "@line" only for messages that carry one).
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "IbisParser/msg.h"
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
        std::string row = line.substr(0, 5);
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

// Coded messages with the script's line numbers.
class Fixture : public MsgCapture {
protected:
    void SetUp() override {
        MsgCapture::SetUp();
        MSG_SetCoded(1);
        CurrentLine() = 0;
        MSG_SetLineSource(LineSource);
    }
    std::string Messages() { return Compact(Output()); }
};

}  // namespace emiscript
