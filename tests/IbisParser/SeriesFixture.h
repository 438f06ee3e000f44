// SeriesFixture: checks a file whose components carry series switch groups,
// series pin mappings, node declarations and circuit calls, and hands back
// the messages of those modules as records (severity letter, code, line,
// text).
//
// The file is read by the real reader; a small stand-in component section
// routes [Pin], [Series Switch Groups], [Series Pin Mapping], [Node
// Declarations] and [Circuit Call] lines to the modules under test, and the
// fixture runs their after-file checks against the file's models, model
// selectors and external circuits, as the component check does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "IbisFixture.h"
#include "IbisParser/circuit.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/keyword.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/xckt.h"

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

inline CMPNT_Component*& Current() {
    static CMPNT_Component* c = nullptr;
    return c;
}
inline int& Previous() {
    static int code = 0;
    return code;
}

inline char* Token(char** cursor) {
    char* p = *cursor + std::strspn(*cursor, " \t");
    if (*p == 0) return nullptr;
    char* start = p;
    p += std::strcspn(p, " \t");
    if (*p) *p++ = 0;
    *cursor = p;
    return start;
}

inline void Begin() {
    IbisFile* file = nullptr;
    CMPNT_Component* c = nullptr;
    Current() = nullptr;
    if (!IBIS_Current(&file) || !CMN_Calloc(&c, sizeof(*c))) return;
    IBIS_Append(file, SECTION_COMPONENT, c);
    Current() = c;
    SSWCH_Reset();
}

inline void PinLine(CMPNT_Component* c, char* text) {
    PIN_Pin* pin = nullptr;
    char* cursor = text;
    const char* name = Token(&cursor);
    const char* signal = name ? Token(&cursor) : nullptr;
    const char* model = signal ? Token(&cursor) : nullptr;
    if (!model || !CMN_Calloc(&pin, sizeof(*pin))) return;
    std::strncpy(pin->name, name, PIN_MAX_NAME);
    std::strncpy(pin->model, model, PIN_MAX_MODEL);
    PIN_Pin** tail = &c->pins;
    while (*tail) tail = &(*tail)->next;  // tests keep pin lists short
    *tail = pin;
    NAMEIDX_Add(&c->pinIndex, pin->name, pin);
}

inline void Keyword(CMPNT_Component* c, int code, char* text) {
    char* rest = text;
    CMN_SkipPastBracket(&rest);
    Previous() = code;
    if (code == KW_COMPONENT) {
        std::strncpy(c->name, rest, CMPNT_MAX_NAME);
    } else if (code == KW_SERIES_PIN_MAPPING) {
        c->seriesPinMappingColumns = 1;
        while (Token(&rest)) c->seriesPinMappingColumns++;
    } else if (code == KW_NODE_DECLARATIONS) {
        NODE_NewList(&c->nodes);
    } else if (code == KW_CIRCUIT_CALL) {
        CIRCUIT_Call* call = nullptr;
        if (!CIRCUIT_New(&call)) return;
        std::strncpy(call->name, rest, CIRCUIT_MAX_NAME);
        call->line = PARSE_GetLineNumber();
        call->next = c->circuitCalls;
        c->circuitCalls = call;
    }
}

inline void Line(int type, int code, char* text) {
    CMPNT_Component* c = Current();
    if (c == nullptr) return;
    if (type == SECTION_LINE_KEYWORD) return Keyword(c, code, text);
    switch (Previous()) {
        case KW_PIN:
            return PinLine(c, text);
        case KW_SERIES_SWITCH_GROUPS: {
            SSWCH_Group* g = nullptr;
            if (!SSWCH_ReadLine(text, &g) || g == nullptr) return;
            SSWCH_Group** tail = &c->switchGroups;
            while (*tail && *tail != g) tail = &(*tail)->next;
            if (*tail == nullptr) *tail = g;
            return;
        }
        case KW_SERIES_PIN_MAPPING: {
            SPINMPG_Entry* e = nullptr;
            if (!SPINMPG_ReadLine(text, c->seriesPinMappingColumns, &e)) return;
            SPINMPG_Entry** tail = &c->seriesPinMappings;
            while (*tail) tail = &(*tail)->next;
            *tail = e;
            return;
        }
        case KW_NODE_DECLARATIONS:
            if (c->nodes) NODE_ReadLine(text, c->nodes);
            return;
        case KW_CIRCUIT_CALL:
            if (c->circuitCalls) CIRCUIT_ReadLine(text, c->circuitCalls);
            return;
        default:
            return;
    }
}

inline void Release(void* record) {
    CMPNT_Component* c = static_cast<CMPNT_Component*>(record);
    if (c == Current()) Current() = nullptr;
    while (c->pins) {
        PIN_Pin* p = c->pins;
        c->pins = p->next;
        CMN_FreeBlock(p);
    }
    NAMEIDX_Free(&c->pinIndex);
    SSWCH_FreeList(&c->switchGroups);
    SPINMPG_FreeList(&c->seriesPinMappings);
    NODE_FreeList(&c->nodes);
    CIRCUIT_FreeList(&c->circuitCalls);
    CMN_FreeBlock(c);
}

inline void Reset() {
    Current() = nullptr;
    Previous() = 0;
    SSWCH_Reset();
}

inline void Sink(const MsgRecord* r, void* context) {
    static_cast<std::vector<SeriesMsg>*>(context)->push_back(
        {r->letter, r->code, r->line > 0 ? r->line : 0, r->text});
}

}  // namespace seriesfix

// The message blocks of these modules, with the common messages they use.
inline bool SeriesCode(int code) {
    return (code >= 1800 && code < 1900) || (code >= 2500 && code < 2700) || code == 3600 ||
           code == 1912 || code == 1916;
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
        static const ParseSection section = {seriesfix::Begin, nullptr, seriesfix::Line,
                                             seriesfix::Release, seriesfix::Reset};
        SECTION_Install(SECTION_COMPONENT, &section);
        MSG_SetSink(seriesfix::Sink, &got_);
    }

    void TearDown() override {
        MSG_SetSink(nullptr, nullptr);
        CIRCUIT_SetAnalogCheck(0);
        CIRCUIT_SetDebugTrace(0);
        IbisFixture::TearDown();
    }

    static void Index(const IbisFile* file, int section, NameIndex* index) {
        IbisItem* item = nullptr;
        for (IBIS_GetList(file, section, &item); item; item = item->next) {
            // Every record listed here starts with its name.
            NAMEIDX_Add(index, static_cast<const char*>(item->record), item->record);
        }
    }

    // Reads `text` (a file named t.ibs), runs the series, node and
    // circuit-call checks on each component and returns the messages of
    // these modules (SeriesCode), in order.
    std::vector<SeriesMsg> Check(const std::string& text) {
        got_.clear();
        std::string path = Write("t.ibs", text);
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        PARSE_File(path.c_str(), CMN_FILE_IBS);
        NameIndex models{}, selectors{}, circuits{};
        Index(file, SECTION_MODEL, &models);
        Index(file, SECTION_MODEL_SELECTOR, &selectors);
        Index(file, SECTION_EXTERNAL_CIRCUIT, &circuits);
        IbisItem* item = nullptr;
        for (IBIS_GetComponents(file, &item); item; item = item->next) {
            const CMPNT_Component* c = static_cast<const CMPNT_Component*>(item->record);
            if (c->seriesPinMappings) SPINMPG_Check(c, &models, &selectors);
            if (c->switchGroups) SSWCH_Check(c);
            CIRCUIT_Check(c, &circuits);
        }
        NAMEIDX_Free(&models);
        NAMEIDX_Free(&selectors);
        NAMEIDX_Free(&circuits);
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
