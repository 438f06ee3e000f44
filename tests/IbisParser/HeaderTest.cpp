// The file header section: field rules and their messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "IbisFixture.h"

using ::testing::HasSubstr;

namespace {

class HeaderSection : public IbisFixture {};

// A component that the component section accepts, for tests of other keywords.
const char* const kComponent =
    "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n";

TEST_F(HeaderSection, AcceptsACompleteHeader) {
    std::string text = Header32() +
                       "[Date] today\n[Source] src\n[Notes] one\ntwo\n[Disclaimer] a\n"
                       "[Disclaimer] b\n[Copyright] c\n[End]\n";
    EXPECT_EQ(Parse("t.ibs", text), "");
}

TEST_F(HeaderSection, KeepsHeaderTextsJoinedByNewlines) {
    std::string path = Write("t.ibs", Header32() + "[Notes] one\n  two [x]\nthree\n[Disclaimer] a\n"
                                                   "[Disclaimer] b\n" +
                                     std::string(kComponent) + "[End]\n");
    IbisFile* file = nullptr;
    ASSERT_EQ(IBIS_New(&file), 1);
    ASSERT_EQ(PARSE_File(path.c_str(), CMN_FILE_IBS), 1);
    ASSERT_NE(file->header, nullptr);
    EXPECT_STREQ(file->header->notes, "one\ntwo [x]\nthree");
    EXPECT_STREQ(file->header->disclaimer, "a\nb");
    EXPECT_STREQ(file->header->ibisVersion, "3.2");
    EXPECT_STREQ(file->header->fileRev, "1.0");
    IBIS_Free(&file);
    EXPECT_EQ(Output(), "");
}

TEST_F(HeaderSection, ReportsMissingRequiredKeywordsWhenTheHeaderCloses) {
    std::string out = Parse("t.ibs", "[IBIS Ver] 3.2\n" + std::string(kComponent) + "[End]\n");
    EXPECT_EQ(out,
              "ERROR (line    2) - Required keyword 'File_name' not found in file 't.ibs'.\n"
              "ERROR (line    2) - Required keyword 'File_Rev' not found in file 't.ibs'.\n");
}

TEST_F(HeaderSection, RejectsIllegalVersionsAndAcceptsForcedOnes) {
    std::string out = Parse("t.ibs", "[IBIS Ver] 4.5\n[File Name] t.ibs\n[File Rev] 1\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    1) - Illegal IBIS_Version '4.5'.\n");
    PARSE_SetForceVersion5(1);
    EXPECT_EQ(Parse("t.ibs", "[IBIS Ver] 3.2\n[File Name] t.ibs\n[File Rev] 1\n[End]\n"), "");
    EXPECT_EQ(PARSE_GetDispatchVersion(), 5);
}

TEST_F(HeaderSection, ReportsDuplicatesAndOrphans) {
    std::string out = Parse("t.ibs", "[IBIS Ver] 3.2\n[File Rev] 0\n[File Name] t.ibs\n"
                                     "[File Name] t.ibs\n[File Rev] 1\n[File Rev] 2\n"
                                     "[Date] d\n[Date] e\n[Source] a\n[Source] b\n"
                                     "[Notes] a\n[Notes] b\n[Copyright] a\n[Copyright] b\n"
                                     "[Component] c\n[Date] late\n[End]\n");
    EXPECT_THAT(out, HasSubstr("ERROR (line   16) - Orphan File Header keyword."));
    EXPECT_THAT(out, HasSubstr("ERROR (line    4) - Duplicate File_name keyword."));
    EXPECT_THAT(out, HasSubstr("ERROR (line    5) - Duplicate File_Rev keyword."));
    EXPECT_THAT(out, HasSubstr("ERROR (line    6) - Duplicate File_Rev keyword."));
    EXPECT_THAT(out, HasSubstr("ERROR (line    8) - Duplicate Date keyword."));
    EXPECT_THAT(out, HasSubstr("ERROR (line   10) - Duplicate Source keyword."));
    EXPECT_THAT(out, HasSubstr("ERROR (line   12) - Duplicate Notes keyword."));
    EXPECT_THAT(out, HasSubstr("ERROR (line   14) - Duplicate Copyright keyword."));
    // and the component without [Manufacturer] and [Package]
    EXPECT_EQ(Errors(), 10);
    out = Parse("t.ibs", Header32() + "data\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    4) - Orphan Data Line.\n");
}

TEST_F(HeaderSection, ChecksTheFileNameCharacters) {
    std::string out = Parse("t.ibs", "[IBIS Ver] 3.2\n[File Name] A+b.c.ibs\n[File Rev] 1\n[End]\n");
    EXPECT_EQ(out,
              "ERROR (line    2) - File_name 'A+b.c.ibs' contains an upper case character 'A'.\n"
              "ERROR (line    2) -\n    File_name 'A+b.c.ibs' contains a character '+' that is illegal for DOS.\n"
              "ERROR (line    2) - File_name 'A+b.c.ibs' contains more than one period.\n"
              "ERROR (line    2) -\n    File name opened 't.ibs' not the same as File_name 'A+b.c.ibs'.\n");
    out = Parse("t.ibs", "[IBIS Ver] 3.2\n[File Name] nodot\n[File Rev] 1\n[End]\n");
    EXPECT_THAT(out, HasSubstr("File_name 'nodot' must contain one period."));
    PARSE_SetNoFileNameCheck(1);
    EXPECT_EQ(Parse("t.ibs", "[IBIS Ver] 3.2\n[File Name] Other.IBS\n[File Rev] 1\n[End]\n"), "");
}

TEST_F(HeaderSection, LimitsTheFileNameLengthByVersion) {
    std::string out = Parse("abcdefghijk.ibs",
                            "[IBIS Ver] 2.1\n[File Name] abcdefghijk.ibs\n[File Rev] 1\n[End]\n");
    EXPECT_THAT(out, HasSubstr("File_name string 'abcdefghijk.ibs' is too long, truncating to 12 characters."));
    std::string name = std::string(41, 'n') + ".ibs";
    out = Parse(name, "[IBIS Ver] 4.2\n[File Name] " + name + "\n[File Rev] 1\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    2) - File_name string '" + name +
                       "' is too long, maximum length 44 allowed.\n");
}

TEST_F(HeaderSection, ChecksReservedWordsAndEmptyValues) {
    std::string out = Parse("t.ibs", "[IBIS Ver] 3.2\n[File Name] t.ibs\n[File Rev] NA\n[Date]\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    3) - Illegal use of Reserved Word 'NA'.\n"
                   "ERROR (line    4) - Zero length value for keyword 'Date'.\n");
}

}  // namespace
