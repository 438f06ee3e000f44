// Fuzz target: the parameter string a simulator hands to AMI_Init.
// The input is "<parameter text>\0<dotted path>": the text is parsed by an
// AmiParameterReader, then looked up with the given path and with the
// paths the models use, through every getter. Parse results are checked
// for the invariants callers rely on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "amiparam/AmiParameterReader.h"
#include "amiparam/amiparam.h"

namespace {

void Check(bool cond) {
    if (!cond) std::abort();
}

void Lookups(const AmiParameterReader& r, const char* path) {
    double d = 0;
    int i = 0;
    bool b = false;
    char* s = nullptr;
    const AmiNode* n = r.GetNode(path);
    bool gotD = r.GetDouble(d, path);
    r.GetInt(i, path);
    r.GetBool(b, path);
    if (r.GetString(s, path)) Check(s != nullptr);
    delete[] s;
    Check(!gotD || n != nullptr);
    Check(r.ok || n == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    const char* text = input.c_str();  // stops at the first zero byte
    size_t textLen = std::strlen(text);
    const char* path = textLen < size ? text + textLen + 1 : "corvin_rx1.eq";

    AmiParamTree* tree = nullptr;
    int rc = AMIPARAM_Parse(text, &tree);
    Check(rc >= 0 && rc <= 8);
    Check((rc == AMIPARAM_OK) == (tree != nullptr));
    if (tree) {
        int lists = -1;
        Check(AMIPARAM_CountLists(text, &lists) == 1 && lists == tree->count);
        Check(tree->entries[0].kind == AMIPARAM_BRANCH && tree->entries[0].node != nullptr);
        AMIPARAM_FreeTree(&tree);
        Check(tree == nullptr);
    }

    AmiParameterReader reader(text);
    Check(reader.ok == (rc == AMIPARAM_OK));
    Lookups(reader, path);
    Lookups(reader, "corvin_rx1.eq");
    Lookups(reader, "corvin_tx1.de_code");
    return 0;
}
