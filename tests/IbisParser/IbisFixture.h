// IbisFixture: the message capture of MsgCapture plus a scratch directory
// for test files, the reader's switches restored around each test, and a
// helper that checks a file and hands back what the log wrote.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"
#include "MsgCapture.h"

class IbisFixture : public MsgCapture {
protected:
    std::string dir_;

    void SetUp() override {
        MsgCapture::SetUp();
        // Lower case only, so that the reader's case retries can be tested.
        static int serial = 0;
        dir_ = "/tmp/ibistest-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
        ASSERT_EQ(mkdir(dir_.c_str(), 0700), 0);
        PARSE_SetSilent(1);
        PARSE_AllowLongLines(0);
        PARSE_SetNoFileNameCheck(0);
        PARSE_SetAcceptVersion1(0);
        PARSE_SetForceVersion5(0);
        CMN_SetNoCharCheck(0);
        SECTION_ResetAll();
        MSG_SetLineSource(PARSE_GetLineNumber);
    }

    void TearDown() override {
        PARSE_FreeAmiText();
        PARSE_SetSilent(0);
        PARSE_AllowLongLines(0);
        SECTION_ResetAll();
        std::string cmd = "rm -rf '" + dir_ + "'";
        if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << cmd;
        MsgCapture::TearDown();
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& content) {
        std::string path = Path(name);
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
        return path;
    }

    // Writes the file, reads it through PARSE_File inside a fresh IbisFile
    // record and returns the log's output; *rc receives PARSE_File's result.
    std::string Parse(const std::string& name, const std::string& content, int type = CMN_FILE_IBS,
                      int* rc = nullptr) {
        std::string path = Write(name, content);
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        int r = PARSE_File(path.c_str(), type);
        if (rc) *rc = r;
        IBIS_Free(&file);
        return Output();
    }

    // Writes the file, reads it as an .ibs file and runs the after-file
    // checks as the checker does, then returns the log's output.
    std::string CheckIbs(const std::string& name, const std::string& content) {
        std::string path = Write(name, content);
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        PARSE_File(path.c_str(), CMN_FILE_IBS);
        SECTION_RunAfterFileChecks(file);
        IBIS_Free(&file);
        return Output();
    }
};

// A valid IBIS 3.2 header for a file named "t.ibs"; tests append lines.
inline std::string Header32(const std::string& name = "t.ibs") {
    return "[IBIS Ver] 3.2\n[File Name] " + name + "\n[File Rev] 1.0\n";
}
