// Fuzz target: the IBIS checker on arbitrary .ibs, .pkg, .ebd and .ami
// content, read from memory as the check driver reads a file: a fresh
// IbisFile, the reader, the after-file checks, the summary.
//
// The first input byte selects the file type and the reader's switches; the
// rest is the file's text:
//   bit 0     .ami file (the other type bits are then ignored)
//   bit 1     no character check
//   bit 2     long lines allowed
//   bit 3     version 1 accepted
//   bits 4-5  0 .ibs, 1 .pkg, 2 .ebd, 3 .ibs
//   bit 6     version 5 forced
//   bit 7     no [File Name] check
// The file is named f.<type> in a directory that does not exist, so that
// files it names (.ami, .pkg) are never found on disk and every run of an
// input reports the same.
#include <cstddef>
#include <cstdint>

#include "IbisParser/amichk.h"
#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"
#include "amiparam/amiparam.h"

namespace {

const char* const kPath[] = {"/nonexistent-ibisfuzz/f.ibs", "/nonexistent-ibisfuzz/f.pkg",
                             "/nonexistent-ibisfuzz/f.ebd", "/nonexistent-ibisfuzz/f.ibs"};
const int kType[] = {CMN_FILE_IBS, CMN_FILE_PKG, CMN_FILE_EBD, CMN_FILE_IBS};

// Messages are counted under ibislint's default repetition limit but, as
// nothing reads them, not formatted: formatting text nobody reads cost
// about a tenth of the run time (writing it to /dev/null another tenth).
// Every kFormatEvery-th input by length has its messages formatted all the
// same and handed to a sink that drops them, so that a format that reads
// past its arguments still shows up here; the choice depends on the input
// alone, so a finding reproduces.
const int kRepeatLimit = 20;
const size_t kFormatEvery = 16;

void DropMessage(const MsgRecord* record, void*) {
    (void)record;
}

void Setup() {
    MSG_SetSink(DropMessage, nullptr);
    MSG_SetRepeatLimit(kRepeatLimit);
    PARSE_SetSilent(1);
}

void SetSwitches(int flags) {
    CMN_SetNoCharCheck(flags & 2);
    PARSE_AllowLongLines(flags & 4);
    PARSE_SetAcceptVersion1(flags & 8);
    PARSE_SetForceVersion5(flags & 64);
    PARSE_SetNoFileNameCheck(flags & 128);
}

void CheckAmi(const char* text, size_t size) {
    if (PARSE_FileText("/nonexistent-ibisfuzz/f.ami", text, size, CMN_FILE_AMI)) {
        AmiParamTree* tree = AMICHK_ParseGathered();
        AMIPARAM_FreeTree(&tree);
    }
    PARSE_FreeAmiText();
}

// As the check driver does, the sections let go of what they keep of the
// file once it is checked: an input that left allocations behind would
// look like a leak to libFuzzer, which then runs it a second time.
void CheckIbis(int which, const char* text, size_t size) {
    IbisFile* file = nullptr;
    if (!IBIS_New(&file)) return;
    if (PARSE_FileText(kPath[which], text, size, kType[which])) SECTION_RunAfterFileChecks(file);
    IBIS_Free(&file);
    SECTION_ResetFileState();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        Setup();
        ready = true;
    }
    if (size == 0) return 0;
    int flags = data[0];
    const char* text = reinterpret_cast<const char*>(data + 1);
    SetSwitches(flags);
    MSG_SetDiscard(size % kFormatEvery != 0);
    MSG_ResetCounts();
    if (flags & 1)
        CheckAmi(text, size - 1);
    else
        CheckIbis((flags >> 4) & 3, text, size - 1);
    MSG_Summary();
    MSG_ResetCounts();
    return 0;
}
