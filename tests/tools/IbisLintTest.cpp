// ibislint's output formats and kit expansion.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "tools/ibislint/KitFiles.h"
#include "tools/ibislint/LintReport.h"

namespace {

using ibislint::Message;

Message Make(int severity, char letter, int code, int line, const char* text) {
    Message m;
    m.severity = severity;
    m.letter = letter;
    m.code = code;
    m.line = line;
    m.file = "kit/a.ibs";
    m.text = text;
    return m;
}

TEST(IbisLintFormat, GnuLinesAreWhatEditorsJumpFrom) {
    const struct {
        Message m;
        const char* line;
    } cases[] = {
        {Make(MSG_SEV_ERROR, 'E', 1008, 3, "Illegal IBIS_Version '5.1'."),
         "kit/a.ibs:3: error: Illegal IBIS_Version '5.1'. [E1008]"},
        {Make(MSG_SEV_ERROR, 'E', 907, 12, "Data for unknown keyword.\n[Foo] bar"),
         "kit/a.ibs:12: error: Data for unknown keyword. [Foo] bar [E0907]"},
        {Make(MSG_SEV_ERROR, 'E', 900, 0, "Could not determine Version"),
         "kit/a.ibs: error: Could not determine Version [E0900]"},
        {Make(MSG_SEV_WARNING, 'W', -1, 0, "plain"), "kit/a.ibs: warning: plain"},
        {Make(MSG_SEV_NOTE, 'N', 924, 1, "newer"), "kit/a.ibs:1: note: newer [N0924]"},
        {Make(MSG_SEV_BUG, 'B', 4621, 0, "Internal error"),
         "kit/a.ibs: error: program bug: Internal error [B4621]"},
        {Make(MSG_SEV_CAUTION, 'C', 5, 2, "c"), "kit/a.ibs:2: warning: c [C0005]"},
    };
    for (const auto& c : cases) EXPECT_EQ(ibislint::GnuLine(c.m), c.line);
}

TEST(IbisLintFormat, OneLineJoinsLinesAndTrims) {
    EXPECT_EQ(ibislint::OneLine("Previous keyword not terminated.\n"),
              "Previous keyword not terminated.");
    EXPECT_EQ(ibislint::OneLine("  a \r\n\n  b\tc  "), "a b\tc");
    EXPECT_EQ(ibislint::OneLine("found 'x'  as a leaf"), "found 'x'  as a leaf");
    EXPECT_EQ(ibislint::OneLine(""), "");
}

TEST(IbisLintFormat, JsonStringsAreEscapedWhateverTheFileHeld) {
    EXPECT_EQ(ibislint::JsonQuote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(ibislint::JsonQuote(std::string("x\n\t\x01", 4)), "\"x\\n\\t\\u0001\"");
    EXPECT_EQ(ibislint::JsonQuote("\xe9"), "\"\\u00e9\"");
}

TEST(IbisLintFormat, JsonDocumentCarriesVerdictsCountsAndMessages) {
    ibislint::FileResult f;
    f.path = "a.ibs";
    f.type = "ibs";
    f.errors = 25;
    f.messages.push_back(Make(MSG_SEV_ERROR, 'E', 907, 4, "Data"));
    f.messages.push_back(Make(MSG_SEV_WARNING, 'W', 807, 5, "Typ value is not in between "));
    f.messages.push_back(Make(MSG_SEV_ERROR, 'E', 909, 6, " missing a \"/\"\n"));
    Message hidden = Make(MSG_SEV_ERROR, 'E', 907, 0, "5 more");
    hidden.hidden = 5;
    f.hidden.push_back(hidden);
    f.declaredVersion = "8.0";
    f.rulesVersion = "7.2";
    std::string doc = ibislint::JsonDocument({f}, 0, 1);
    EXPECT_NE(doc.find("\"ibis_version\": {\"declared\": \"8.0\", \"rules\": \"7.2\"}"),
              std::string::npos);
    EXPECT_NE(doc.find("\"verdict\": \"failed\""), std::string::npos);
    EXPECT_NE(doc.find("\"errors\": 25"), std::string::npos);
    EXPECT_NE(doc.find("\"code\": \"E0907\", \"line\": 4"), std::string::npos);
    EXPECT_NE(doc.find("\"count\": 5"), std::string::npos);
    // Texts are kept as the text output prints them.
    EXPECT_NE(doc.find("\"text\": \"Typ value is not in between \"}"), std::string::npos) << doc;
    EXPECT_NE(doc.find("\"text\": \" missing a \\\"/\\\"\\n\"}"), std::string::npos) << doc;
    EXPECT_NE(doc.find("\"summary\": {\"files\": 1, \"passed\": 0, \"failed\": 1}"),
              std::string::npos);
    ibislint::Format format;
    EXPECT_TRUE(ibislint::ParseFormat("gnu", &format));
    EXPECT_EQ(format, ibislint::Format::Gnu);
    EXPECT_FALSE(ibislint::ParseFormat("xml", &format));
}

class KitDirectory : public ::testing::Test {
protected:
    std::string dir_;
    void SetUp() override {
        static int serial = 0;
        dir_ = "/tmp/ibislint-kit-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
        ASSERT_EQ(mkdir(dir_.c_str(), 0700), 0);
    }
    void TearDown() override {
        std::string cmd = "rm -rf '" + dir_ + "'";
        if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << cmd;
    }
    std::string Touch(const std::string& name) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path) << "x";
        return path;
    }
};

TEST_F(KitDirectory, ListsEveryKitFileBelowItOnceWithAmiFilesLast) {
    ASSERT_EQ(mkdir((dir_ + "/sub").c_str(), 0700), 0);
    Touch("b.ibs");
    Touch("a.AMI");
    Touch("sub/c.pkg");
    Touch("sub/d.ebd");
    Touch("readme.txt");
    Touch("sub/e.ami");
    bool fromDirectory = false;
    std::vector<std::string> problems;
    std::vector<std::string> files =
        ibislint::ExpandArguments({dir_, "single.ibs"}, &problems, &fromDirectory);
    EXPECT_TRUE(fromDirectory);
    EXPECT_TRUE(problems.empty());
    std::vector<std::string> expected = {dir_ + "/b.ibs", dir_ + "/sub/c.pkg", dir_ + "/sub/d.ebd",
                                         dir_ + "/a.AMI", dir_ + "/sub/e.ami", "single.ibs"};
    EXPECT_EQ(files, expected);
}

TEST_F(KitDirectory, ChecksAFileOnceWhateverPathNamesIt) {
    std::string a = Touch("a.ami");
    ibislint::CheckedFiles checked;
    EXPECT_TRUE(checked.Add(a));
    EXPECT_FALSE(checked.Add(dir_ + "/./a.ami"));
    EXPECT_FALSE(checked.Add(dir_ + "/../" + dir_.substr(dir_.rfind('/') + 1) + "/a.ami"));
    EXPECT_TRUE(checked.Contains(a));
    EXPECT_FALSE(checked.Contains(dir_ + "/b.ami"));
}

}  // namespace
