// SeriesFixture: checks a file whose components carry series switch groups,
// series pin mappings, node declarations and circuit calls (reading it and
// running the after-file checks, as the checker does), and hands back the
// messages of those modules as records (severity letter, code, line, text).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisFixture.h"
#include "IbisParser/circuit.h"
#include "IbisParser/cmpnt.h"

struct SeriesMsg {
    char letter;
    int code;
    int line;  // 0 for a message without a line
    std::string text;
    bool operator==(const SeriesMsg& o) const {
        return letter == o.letter && code == o.code && line == o.line && text == o.text;
    }
};

inline std::ostream& operator<<(std::ostream& os, const SeriesMsg& m) {
    return os << m.letter << m.code << " line " << m.line << ": " << m.text;
}

namespace seriesfix {

inline void Sink(const MsgRecord* r, void* context) {
    static_cast<std::vector<SeriesMsg>*>(context)->push_back(
        {r->letter, r->code, r->line > 0 ? r->line : 0, r->text});
}

}  // namespace seriesfix

// The message blocks of these modules, with the common messages they use.
inline bool SeriesCode(int code) {
    return (code >= 1800 && code < 1900) || (code >= 2500 && code < 2700) || code == 3600 ||
           code == 1912 || code == 1916 || code == 909;
}

// Rows of the table tests: a snippet appended to a fixed prologue, and the
// messages it must give.  In expected texts and lines, "@k" / -k stand for
// line k of the snippet.
struct SeriesRow {
    const char* name;
    const char* snippet;
    std::vector<SeriesMsg> expected;
};

class SeriesFixture : public IbisFixture {
protected:
    std::vector<SeriesMsg> got_;

    void SetUp() override {
        IbisFixture::SetUp();
        MSG_SetSink(seriesfix::Sink, &got_);
    }

    void TearDown() override {
        MSG_SetSink(nullptr, nullptr);
        CIRCUIT_SetAnalogCheck(0);
        CIRCUIT_SetDebugTrace(0);
        IbisFixture::TearDown();
    }

    // Reads `text` (a file named t.ibs), runs the after-file checks and
    // returns the messages of these modules (SeriesCode), in order.
    std::vector<SeriesMsg> Check(const std::string& text) {
        got_.clear();
        std::string path = Write("t.ibs", text);
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        PARSE_File(path.c_str(), CMN_FILE_IBS);
        SECTION_RunAfterFileChecks(file);
        IBIS_Free(&file);
        std::vector<SeriesMsg> out;
        for (const SeriesMsg& m : got_)
            if (SeriesCode(m.code)) out.push_back(m);
        return out;
    }

    // Runs one row: line numbers of the snippet are given relative to its
    // start (negative `line` values and "@k" in texts).
    void RunRow(const std::string& prologue, const SeriesRow& row) {
        int base = 0;
        for (char ch : prologue) base += ch == '\n';
        std::vector<SeriesMsg> want;
        for (SeriesMsg m : row.expected) {
            if (m.line < 0) m.line = base - m.line;
            std::string t;
            for (size_t i = 0; i < m.text.size(); i++) {
                if (m.text[i] == '@' && i + 1 < m.text.size() &&
                    isdigit((unsigned char)m.text[i + 1])) {
                    size_t end = i + 1;
                    while (end < m.text.size() && isdigit((unsigned char)m.text[end])) end++;
                    t += std::to_string(base + std::stoi(m.text.substr(i + 1, end - i - 1)));
                    i = end - 1;
                } else {
                    t += m.text[i];
                }
            }
            m.text = t;
            want.push_back(m);
        }
        EXPECT_EQ(Check(prologue + row.snippet), want) << row.name;
    }
};
