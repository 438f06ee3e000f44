// QuietCheck: the checker run over one file as ibislint runs it, with its
// messages counted but written nowhere, for the benchmarks that time whole
// checks. The counts are read before the QuietCheck goes; it resets them.
#pragma once

#include <cstdio>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"

class QuietCheck {
public:
    QuietCheck() : null_(std::fopen("/dev/null", "w")) {
        MSG_SetOutput(null_);
        PARSE_SetSilent(1);
    }
    ~QuietCheck() {
        MSG_SetOutput(nullptr);
        MSG_ResetCounts();
        if (null_ != nullptr) std::fclose(null_);
    }
    QuietCheck(const QuietCheck&) = delete;
    QuietCheck& operator=(const QuietCheck&) = delete;

    // One .ibs file read and, when it could be read, its after-file checks.
    void Run(const char* path) const {
        IbisFile* file = nullptr;
        IBIS_New(&file);
        if (PARSE_File(path, CMN_FILE_IBS)) SECTION_RunAfterFileChecks(file);
        IBIS_Free(&file);
    }

private:
    FILE* null_;
};
