// Fuzz target: the EMI blocks of components and models fed line by line,
// routed as the component and model sections route them, then the
// end-of-component EMI check.  Lines starting with '[' are keyword lines of
// a version 5 file; the pin look-up of the check answers a reserved model
// for pins starting with 'g' and "not on the component" for pins starting
// with 'x'.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "IbisParser/cmpntemi.h"
#include "IbisParser/ibis.h"
#include "IbisParser/keyword.h"
#include "IbisParser/mdlemi.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/pinemi.h"
#include "IbisParser/section.h"

namespace {

const char* PinModel(void*, const char* pin) {
    if (pin[0] == 'x') return nullptr;
    return pin[0] == 'g' ? "GND" : "buf";
}

bool IsComponentEmi(int code) {
    return code >= KW_BEGIN_EMI_COMPONENT && code <= KW_PIN_DOMAIN_EMI;
}

struct Records {
    CmpntEmi* component = nullptr;
    MdlEmi* model = nullptr;
};

void KeywordLine(std::string& line, int& code, Records& r) {
    int next = PARSE_FindKeyword(line.c_str(), code, 5);
    if (IsComponentEmi(code)) CMPNTEMI_Close(next);
    code = next;
    if (IsComponentEmi(code)) {
        CMPNTEMI_Line(SECTION_LINE_KEYWORD, code, &line[0], &r.component);
    } else if (code == KW_BEGIN_EMI_MODEL) {
        size_t end = line.find(']');
        MDLEMI_Begin(&line[end + 1], &r.model);
    }
}

void DataLine(std::string& line, int code, Records& r) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return;
    std::string data = line.substr(start);
    if (IsComponentEmi(code)) {
        CMPNTEMI_Line(SECTION_LINE_DATA, code, &data[0], &r.component);
    } else if (code == KW_BEGIN_EMI_MODEL) {
        MDLEMI_Line(&data[0], r.model);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* null = std::fopen("/dev/null", "w");
    MSG_SetOutput(null);
    std::string text(reinterpret_cast<const char*>(data), size);
    Records r;
    int code = KW_NOT_KEY;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        line = line.c_str();  // the reader's lines hold no NUL
        if (!line.empty() && line[0] == '[') {
            KeywordLine(line, code, r);
        } else {
            DataLine(line, code, r);
        }
    }
    if (IsComponentEmi(code)) CMPNTEMI_Close(KW_END);
    IbisFile* file = nullptr;
    if (IBIS_New(&file)) {
        PINEMI_CheckComponent("fuzz", r.component, PinModel, nullptr);
        IBIS_Free(&file);
    }
    CMPNTEMI_Free(&r.component);
    MDLEMI_Free(&r.model);
    CMPNTEMI_Reset();
    return 0;
}
