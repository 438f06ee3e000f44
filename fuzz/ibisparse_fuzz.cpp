// Fuzz target: PARSE_File on arbitrary .ibs and .ami content.
// The first input byte selects the file type and the reader's switches
// (bit 0: .ami instead of .ibs, bit 1: no character check, bit 2: long
// lines allowed, bit 3: version 1 accepted, bit 4: .pkg instead of .ibs);
// the rest is the file.  An .ibs or .pkg file also goes through the checks
// that run after a file; an .ami text is then parsed and its tree checked as
// the checker does.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "IbisParser/amichk.h"
#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"
#include "amiparam/amiparam.h"

namespace {

std::string g_dir;

void Setup() {
    char tmpl[] = "/tmp/ibisfuzz-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) std::abort();
    g_dir = tmpl;
    static FILE* null = std::fopen("/dev/null", "w");
    MSG_SetOutput(null);
    PARSE_SetSilent(1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (g_dir.empty()) Setup();
    if (size == 0) return 0;
    int flags = data[0];
    bool ami = flags & 1;
    bool pkg = !ami && (flags & 16);
    std::string path = g_dir + (ami ? "/f.ami" : pkg ? "/f.pkg" : "/f.ibs");
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);

    CMN_SetNoCharCheck(flags & 2);
    PARSE_AllowLongLines(flags & 4);
    PARSE_SetAcceptVersion1(flags & 8);
    if (ami) {
        if (PARSE_File(path.c_str(), CMN_FILE_AMI)) {
            AmiParamTree* tree = AMICHK_ParseGathered();
            AMIPARAM_FreeTree(&tree);
        }
        PARSE_FreeAmiText();
    } else {
        IbisFile* file = nullptr;
        if (IBIS_New(&file)) {
            if (PARSE_File(path.c_str(), pkg ? CMN_FILE_PKG : CMN_FILE_IBS))
                SECTION_RunAfterFileChecks(file);
            IBIS_Free(&file);
        }
    }
    MSG_ResetCounts();
    return 0;
}
