// Reading a file's text from memory: every message, the return value and
// the gathered .ami text are the same as reading the file itself, for the
// project's own files, the shared corpus and texts whose ends exercise the
// reader's look-ahead (carriage return, Ctrl-Z, NUL, no final newline).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "IbisFixture.h"
#include "IbisParser/amichk.h"
#include "IbisParser/check.h"
#include "IbisParser/msg.h"
#include "amiparam/amiparam.h"

namespace {

class TextVersusFile : public IbisFixture {
protected:
    struct Result {
        int rc;
        std::string messages;
        std::string ami;
    };

    Result Read(const std::string& path, const std::string* text, int type) {
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        Result r;
        r.rc = text ? PARSE_FileText(path.c_str(), text->data(), text->size(), type)
                    : PARSE_File(path.c_str(), type);
        IBIS_Free(&file);
        char* ami = PARSE_TakeAmiText();
        r.ami = ami ? ami : "<none>";
        if (ami) CMN_Free(&ami);
        int bugs = 0, errors = 0, warnings = 0;
        MSG_GetCounts(&bugs, &errors, &warnings);
        r.messages = Output() + " counts " + std::to_string(bugs) + "/" + std::to_string(errors) +
                     "/" + std::to_string(warnings);
        MSG_ResetCounts();
        return r;
    }

    void ExpectSame(const std::string& path, const std::string& text) {
        int type = CHECK_FileType(path.c_str());
        Result fromFile = Read(path, nullptr, type);
        Result fromText = Read(path, &text, type);
        EXPECT_EQ(fromText.rc, fromFile.rc) << path;
        EXPECT_EQ(fromText.messages, fromFile.messages) << path;
        EXPECT_EQ(fromText.ami, fromFile.ami) << path;
    }
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(TextVersusFile, ProjectAndSharedFilesReportTheSame) {
    const char* files[] = {
        "tests/data/ibis/hdr32.ibs",
        "tests/data/ibis/crlf.ibs",
        "tests/data/ibis/binary.ibs",
        "tests/data/ibis/long_lines.ibs",
        "tests/data/ibis/board.ebd",
        "tests/data/ibis/package.pkg",
        "tests/data/ibis/good.ami",
        "tests/data/ibis/broken_parens.ami",
        "../shared/corpus/ibisami/example_tx.ibs",
        "../shared/corpus/pybis2spice/max232.ibs",
        "../shared/corpus/kicad/ibis_v2_1.pkg",
    };
    const char* root = std::getenv("CORVIN_SOURCE_DIR");
    for (const char* f : files) {
        std::string path = std::string(root ? root : ".") + "/" + f;
        std::string text = Slurp(path);
        if (text.empty()) {
            // The shared corpus may be absent from a checkout; our own files not.
            EXPECT_EQ(std::string(f).rfind("../", 0), 0u) << path;
            continue;
        }
        ExpectSame(path, text);
    }
}

TEST_F(TextVersusFile, AwkwardTextsReportTheSame) {
    const std::string hdr = Header32("e.ibs");
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"e.ibs", ""},
        {"e.ibs", hdr + "[End]"},
        {"e.ibs", hdr + "[Notes] a\r"},
        {"e.ibs", hdr + "[Notes] a\rb\r\n[End]\r\n\x1a"},
        {"e.ibs", hdr + "[Notes] a\x1a"
                        "b\n"},
        {"e.ibs", hdr + std::string("[Notes] a\0b\n[End]\n", 18)},
        {"e.ibs", hdr + "[Notes] " + std::string(1500, 'x') + "\x80\n[End]\n"},
        {"e.ibs", "no version here\n"},
        {"e.pkg", "[IBIS Ver] 2.1\n[File Name] e.pkg\n"},
        {"e.txt", hdr},
        {"e.ami",
         "(m (Reserved_Parameters (AMI_Version (Usage Info)(Type String)"
         "(Value \"7.0\")) | note\r\n(Init_Returns_Impulse (Usage Info)"
         "(Type Boolean)(Value True)))\x1a"},
        {"e.ami", ""},
    };
    for (const auto& c : cases) {
        std::string path = Write(c.name, c.text);
        ExpectSame(path, c.text);
    }
}

TEST_F(TextVersusFile, TextIsReadWithoutAnyFileOnDisk) {
    std::string text = Header32("t.ibs") + "[End]\n";
    std::string path = Path("absent/t.ibs");
    IbisFile* file = nullptr;
    ASSERT_EQ(IBIS_New(&file), 1);
    EXPECT_EQ(PARSE_FileText(path.c_str(), text.data(), text.size(), CMN_FILE_IBS), 1);
    EXPECT_EQ(PARSE_FileText(path.c_str(), nullptr, 0, CMN_FILE_IBS), 0);
    IBIS_Free(&file);
    // Only the empty text fails, and only for want of a version: nothing was
    // looked for on disk.
    EXPECT_EQ(Errors(), 1);
    EXPECT_NE(Output().find("Could not determine Version"), std::string::npos);
}

}  // namespace
