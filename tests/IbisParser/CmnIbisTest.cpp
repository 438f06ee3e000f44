// The IBIS reader's common routines: tokens, numbers, bounded copies, name
// checks, file opening and the line readers' character rules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "IbisFixture.h"

using ::testing::HasSubstr;

namespace {

class CmnIbis : public IbisFixture {};

TEST_F(CmnIbis, SplitTokensCountsAllAndKeepsTheExpected) {
    CmnTokens t;
    ASSERT_EQ(CMN_SplitTokens("  a\tbb  ccc d", 2, 0, &t), 1);
    EXPECT_EQ(t.found, 4);
    EXPECT_STREQ(t.token[0], "a");
    EXPECT_STREQ(t.token[1], "bb");
    CMN_FreeTokens(&t);

    ASSERT_EQ(CMN_SplitTokens("x", 3, 0, &t), 1);
    EXPECT_EQ(t.found, 1);
    EXPECT_EQ(t.token[1], nullptr);
    EXPECT_EQ(t.token[2], nullptr);
    CMN_FreeTokens(&t);
}

TEST_F(CmnIbis, SplitTokensMakesTheStopCharacterAToken) {
    CmnTokens t;
    ASSERT_EQ(CMN_SplitTokens("Host_Cc_32", 5, '_', &t), 1);
    ASSERT_EQ(t.found, 5);
    EXPECT_STREQ(t.token[0], "Host");
    EXPECT_STREQ(t.token[1], "_");
    EXPECT_STREQ(t.token[2], "Cc");
    EXPECT_STREQ(t.token[4], "32");
    CMN_FreeTokens(&t);
    ASSERT_EQ(CMN_SplitTokens("a__b", 0, '_', &t), 1);
    EXPECT_EQ(t.found, 4);
    CMN_FreeTokens(&t);
}

TEST_F(CmnIbis, ParseNumberAppliesScaleSuffixes) {
    double v = 0;
    EXPECT_EQ(CMN_ParseNumber("1.5n", &v), 1);
    EXPECT_DOUBLE_EQ(v, 1.5e-9);
    EXPECT_EQ(CMN_ParseNumber("2k", &v), 1);
    EXPECT_DOUBLE_EQ(v, 2e3);
    EXPECT_EQ(CMN_ParseNumber("3M", &v), 1);
    EXPECT_DOUBLE_EQ(v, 3e6);
    EXPECT_EQ(CMN_ParseNumber("3m", &v), 1);
    EXPECT_DOUBLE_EQ(v, 3e-3);
    EXPECT_EQ(CMN_ParseNumber("10pF", &v), 1);
    EXPECT_DOUBLE_EQ(v, 10e-12);
    EXPECT_EQ(CMN_ParseNumber("3.3V", &v), 1);
    EXPECT_DOUBLE_EQ(v, 3.3);
    EXPECT_EQ(CMN_ParseNumber("-1e-3", &v), 1);
    EXPECT_DOUBLE_EQ(v, -1e-3);
    EXPECT_EQ(CMN_ParseNumber("5mA2", &v), 2);
    EXPECT_EQ(CMN_ParseNumber("5/", &v), 0);
    EXPECT_EQ(CMN_ParseNumber("abc", &v), 0);
    EXPECT_EQ(CMN_ParseNumber("0x10", &v), 0);
    EXPECT_EQ(CMN_ParseNumber("nan", &v), 0);
    EXPECT_EQ(CMN_ParseNumber("1e999", &v), 0);
    v = 7;
    EXPECT_EQ(CMN_ParseNumber("1e300T", &v), 0);
    EXPECT_EQ(CMN_ParseNumber("-1e300T", &v), 0);
    EXPECT_EQ(v, 7.0) << "a refused value leaves the output alone";
    EXPECT_EQ(CMN_ParseNumber("1e300m", &v), 1);
}

TEST_F(CmnIbis, ParseUnsignedAndDoubleTellWholeFromPartial) {
    unsigned long u = 0;
    double d = 0;
    EXPECT_EQ(CMN_ParseUnsigned("64", &u), 1);
    EXPECT_EQ(u, 64u);
    EXPECT_EQ(CMN_ParseUnsigned("64x", &u), 2);
    EXPECT_EQ(CMN_ParseUnsigned("-1", &u), 0);
    EXPECT_EQ(CMN_ParseUnsigned("x", &u), 0);
    EXPECT_EQ(CMN_ParseUnsigned("99999999999999999999999", &u), 0);
    EXPECT_EQ(CMN_ParseDouble("2.5", &d), 1);
    EXPECT_EQ(CMN_ParseDouble("2.5e", &d), 2);
    EXPECT_EQ(CMN_ParseDouble("", &d), 0);
}

TEST_F(CmnIbis, TypMinMaxReaderReportsInvalidAndSuspiciousValues) {
    PARSE_Reset();
    double v = 1;
    int state = 0;
    EXPECT_EQ(CMN_ReadTypMinMax("na", "typ", "Rgnd", &v, &state), 1);
    EXPECT_EQ(state, CMN_VALUE_NA);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(CMN_ReadTypMinMax("1k", "typ", "Rgnd", &v, &state), 1);
    EXPECT_EQ(state, CMN_VALUE_GIVEN);
    EXPECT_EQ(Output(), "");
    state = 0;
    EXPECT_EQ(CMN_ReadTypMinMax("x1", "min", "Rgnd", &v, &state), 0);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(Output(), "ERROR (line    0) - Invalid min Value (\"x1\")\n");
    EXPECT_EQ(CMN_ReadTypMinMax("1m2", "max", "Rgnd", &v, &state), 1);
    EXPECT_EQ(state, CMN_VALUE_GIVEN);
    EXPECT_EQ(Output(), "WARNING (line    0) - Suspicious Rgnd max Value (\"1m2\"); Numeric in Scale\n");
}

TEST_F(CmnIbis, CopyRoutinesBoundTheirFields) {
    char f[8] = "";
    EXPECT_EQ(CMN_CopyTruncate(f, "abcdefghij", 5, "Date"), 1);
    EXPECT_STREQ(f, "abcde");
    EXPECT_THAT(Output(), HasSubstr("Date string 'abcdefghij' is too long, truncating to 5 characters."));
    EXPECT_EQ(CMN_CopyTruncate(f, "", 5, "Date"), 0);
    EXPECT_THAT(Output(), HasSubstr("Zero length value for keyword 'Date'."));
    EXPECT_EQ(CMN_CopyOnce(f, "x", 5, "Date"), 1);
    EXPECT_EQ(CMN_CopyOnce(f, "y", 5, "Date"), 0);
    EXPECT_STREQ(f, "x");
    EXPECT_THAT(Output(), HasSubstr("Duplicate 'Date' keyword."));

    char big[CMN_MAX_PATH + 1] = "";
    std::string longName(2000, 'a');
    EXPECT_EQ(CMN_CopyOnceMax(big, longName.c_str(), 44, "File_name"), 1);
    EXPECT_EQ(std::string(big).size(), size_t(CMN_MAX_PATH));
    EXPECT_THAT(Output(), HasSubstr("is too long, maximum length 44 allowed."));
}

TEST_F(CmnIbis, NameChecksReportByCode) {
    CMN_SetFileName("f.ibs");
    EXPECT_EQ(CMN_RequireKeyword("File_Rev", 0), 0);
    EXPECT_EQ(CMN_RequireKeyword("File_Rev", 1), 1);
    EXPECT_THAT(Output(), HasSubstr("Required keyword 'File_Rev' not found in file 'f.ibs'."));
    for (const char* w : {"gnd", "NC", "Power", "circuitcall", "NA"})
        EXPECT_EQ(CMN_CheckReservedWord(w), 0) << w;
    EXPECT_EQ(CMN_CheckReservedWord("GND1"), 1);
    EXPECT_THAT(Output(), HasSubstr("Illegal use of Reserved Word 'gnd'."));
    EXPECT_EQ(Errors(), 6);
}

TEST_F(CmnIbis, KeywordCompareTurnsBlanksIntoUnderscores) {
    char a[] = "Model Spec";
    EXPECT_EQ(CMN_KeywordEqual("MODEL_SPEC", a), 1);
    EXPECT_STREQ(a, "Model_Spec");
    char b[] = "model_specs";
    EXPECT_EQ(CMN_KeywordEqual("MODEL_SPEC", b), 0);
    EXPECT_EQ(CMN_StrNEqualNoCase("[IBIS Ver]x", "[ibis ver]y", 10), 1);
}

TEST_F(CmnIbis, CursorAndNameHelpers) {
    char line[] = "[Date]   today ";
    char* p = line;
    EXPECT_EQ(CMN_SkipPastBracket(&p), 1);
    EXPECT_STREQ(p, "today ");
    CMN_SkipToSpace(&p);
    EXPECT_STREQ(p, " ");
    char none[] = "no bracket";
    p = none;
    EXPECT_EQ(CMN_SkipPastBracket(&p), 0);
    char ws[400];
    std::string run = "]" + std::string(300, ' ') + "x";
    std::snprintf(ws, sizeof ws, "%s", run.c_str());
    p = ws;
    EXPECT_EQ(CMN_SkipPastBracket(&p), 1);
    EXPECT_STREQ(p, "x");
    char path1[] = "dir/sub\\model.v2.ami";
    EXPECT_STREQ(CMN_BaseName(path1), "model.v2");
    char t[] = "ab \t\n";
    EXPECT_STREQ(CMN_TrimRight(t), "ab");
    EXPECT_STREQ(CMN_ULongToStr(4096ul), "4096");
}

// ---- file opening ------------------------------------------------------

TEST_F(CmnIbis, OpenRefusesAWrongExtensionPerType) {
    FILE* fp = nullptr;
    char name[CMN_MAX_PATH + 1];
    const struct { int type; const char* text; } cases[] = {
        {CMN_FILE_IBS, "File Name Requires '.ibs' Extension."},
        {CMN_FILE_PKG, "File Name Requires '.pkg' Extension."},
        {CMN_FILE_EBD, "File Name Requires '.ebd' Extension."},
        {CMN_FILE_AMI, "File Name Requires '.ami' Extension."},
    };
    for (auto& c : cases) {
        EXPECT_EQ(CMN_OpenIbisFile(Path("x.txt").c_str(), c.type, &fp, name), 0);
        EXPECT_THAT(Output(), HasSubstr(c.text));
    }
}

TEST_F(CmnIbis, OpenAppendsTheExtensionAndRetriesInOtherCase) {
    Write("lower.ibs", "x");
    Write("UPPER.IBS", "x");
    FILE* fp = nullptr;
    char name[CMN_MAX_PATH + 1];
    ASSERT_EQ(CMN_OpenIbisFile(Path("lower").c_str(), CMN_FILE_IBS, &fp, name), 1);
    EXPECT_STREQ(name, "lower.ibs");
    std::fclose(fp);
    ASSERT_EQ(CMN_OpenIbisFile(Path("LOWER.IBS").c_str(), CMN_FILE_IBS, &fp, name), 1);
    std::fclose(fp);
    ASSERT_EQ(CMN_OpenIbisFile(Path("Missing.ibs").c_str(), CMN_FILE_IBS, &fp, name), 0);
    EXPECT_THAT(Output(), HasSubstr("Unable To Open File '" + dir_ + "/Missing.ibs'"));
    // A bare name is looked for in the directory of the last path.
    ASSERT_EQ(CMN_OpenIbisFile("lower.ibs", CMN_FILE_IBS, &fp, name), 1);
    std::fclose(fp);
    EXPECT_EQ(std::string(CMN_GetDirectory()), dir_ + "/");
}

TEST_F(CmnIbis, OpenRefusesOverlongPathsInAnOrderlyWay) {
    FILE* fp = nullptr;
    char name[CMN_MAX_PATH + 1];
    std::string longName(1030, 'a');
    EXPECT_EQ(CMN_OpenIbisFile((longName + ".ibs").c_str(), CMN_FILE_IBS, &fp, name), 0);
    EXPECT_THAT(Output(), HasSubstr("Unable to assemble filename."));
    std::string longDir = "/" + std::string(1100, 'd') + "/x.ibs";
    EXPECT_EQ(CMN_OpenIbisFile(longDir.c_str(), CMN_FILE_IBS, &fp, name), 0);
    EXPECT_THAT(Output(), HasSubstr("Unable to assemble filename."));
    std::string name1022(1022, 'b');
    EXPECT_EQ(CMN_OpenIbisFile(name1022.c_str(), CMN_FILE_IBS, &fp, name), 0);
    EXPECT_THAT(Output(), HasSubstr("Unable to append filename extension."));
}

TEST_F(CmnIbis, VersionPrescanReadsTheFirstKeyword) {
    struct { const char* text; int version; } cases[] = {
        {"| c\n\n[IBIS Ver] 3.2\n", 3},
        {"  [ibis_ver]   4.2\n", 4},
        {"[Component] x\n[IBIS Ver] 3.2\n", 0},
        {"[IBIS Ver] 1.1\n", 1},
        {"[IBIS Ver] 7.1\n", 0},
        {"", 0},
    };
    for (auto& c : cases) {
        std::string path = Write("v.ibs", c.text);
        EXPECT_EQ(CMN_GetIbisVersion(path.c_str(), CMN_FILE_IBS), c.version) << c.text;
    }
}

// ---- line readers ------------------------------------------------------

class LineReader : public IbisFixture {
protected:
    FILE* Open(const std::string& content) {
        std::string path = Write("r.txt", content);
        return std::fopen(path.c_str(), "rb");
    }
};

TEST_F(LineReader, TreatsCrLfAsNewlineAndDropsAFinalCtrlZ) {
    FILE* fp = Open("ab\r\ncd\x1a");
    char buf[16];
    ASSERT_NE(CMN_ReadLine(buf, sizeof buf, fp), nullptr);
    EXPECT_STREQ(buf, "ab\n");
    ASSERT_NE(CMN_ReadLine(buf, sizeof buf, fp), nullptr);
    EXPECT_STREQ(buf, "cd");
    EXPECT_EQ(CMN_ReadLine(buf, sizeof buf, fp), nullptr);
    std::fclose(fp);
    EXPECT_EQ(Output(), "");
}

TEST_F(LineReader, ReportsAndBlanksIllegalCharacters) {
    FILE* fp = Open(std::string("a\rb\x1a" "c", 5) + std::string(1, '\0') + "\x80\x01z\n");
    char buf[32];
    ASSERT_NE(CMN_ReadLine(buf, sizeof buf, fp), nullptr);
    EXPECT_STREQ(buf, "a b c   z\n");
    std::fclose(fp);
    std::string out = Output();
    EXPECT_THAT(out, HasSubstr("Found illegal control character (code d).  Converting to space."));
    EXPECT_THAT(out, HasSubstr("Found illegal control character (code 1a).  Converting to space."));
    EXPECT_THAT(out, HasSubstr("Found illegal NUL character (code 0).  Converting to space."));
    EXPECT_THAT(out, HasSubstr("Found illegal non-7-bit ASCII character (code 80).  Converting to space."));
    EXPECT_THAT(out, HasSubstr("Found illegal control character (code 1).  Converting to space."));
    EXPECT_EQ(Errors(), 5);
}

TEST_F(LineReader, DropsTheRestOfALongLineAndStillReportsIt) {
    FILE* fp = Open("abcdefgh\x01\nnext\n");
    char buf[5];
    ASSERT_NE(CMN_ReadLine(buf, sizeof buf, fp), nullptr);
    EXPECT_STREQ(buf, "abcd");
    ASSERT_NE(CMN_ReadLine(buf, sizeof buf, fp), nullptr);
    EXPECT_STREQ(buf, "next");
    std::fclose(fp);
    EXPECT_THAT(Output(), HasSubstr("Found illegal control character (code 1).\n"));
}

TEST_F(LineReader, KeepsCharactersUncheckedWhenAsked) {
    CMN_SetNoCharCheck(1);
    FILE* fp = Open("a\x01\x80\n");
    char buf[16];
    ASSERT_NE(CMN_ReadLine(buf, sizeof buf, fp), nullptr);
    EXPECT_STREQ(buf, "a\x01\x80\n");
    std::fclose(fp);
    CMN_SetNoCharCheck(0);
    EXPECT_EQ(Output(), "");
}

TEST_F(LineReader, LongLineReaderHasNoLimit) {
    std::string big(100000, 'x');
    FILE* fp = Open(big + "\nshort");
    size_t size = 0;
    char* line = CMN_ReadLongLine(&size, fp);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(size, big.size() + 2);
    EXPECT_EQ(std::string(line), big + "\n");
    CMN_Free(&line);
    line = CMN_ReadLongLine(&size, fp);
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "short");
    EXPECT_EQ(size, 6u);
    CMN_Free(&line);
    EXPECT_EQ(CMN_ReadLongLine(&size, fp), nullptr);
    std::fclose(fp);
}

}  // namespace
