// The IBIS reader: version pre-scan, line checks, classification, comment
// character, keyword recognition and remapping, routing, [End] and the
// gathering of .ami text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisFixture.h"
#include "IbisParser/keyword.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// What the sections received, as "begin S", "close S p>n" and "line S t c text".
std::vector<std::string> g_calls;

template <int S>
struct Recorder {
    static void Begin() { g_calls.push_back("begin " + std::to_string(S)); }
    static void Close(int p, int n) {
        g_calls.push_back("close " + std::to_string(S) + " " + std::to_string(p) +
                          ">" + std::to_string(n));
    }
    static void Line(int t, int c, char* text) {
        g_calls.push_back("line " + std::to_string(S) + " " + std::to_string(t) +
                          " " + std::to_string(c) + " " + text);
    }
    static void Install() {
        ParseSection s = {Begin, Close, Line, nullptr, nullptr};
        SECTION_Install(S, &s);
    }
};

class Reader : public IbisFixture {
protected:
    void SetUp() override {
        IbisFixture::SetUp();
        g_calls.clear();
    }
    bool Called(const std::string& call) const {
        for (auto& c : g_calls)
            if (c == call) return true;
        return false;
    }
};

// ---- version pre-scan and banners --------------------------------------

TEST_F(Reader, RefusesAFileWhoseFirstKeywordIsNotIbisVer) {
    int rc = 1;
    std::string out = Parse("t.ibs", "[Component] x\n[IBIS Ver] 3.2\n", CMN_FILE_IBS, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_THAT(out, HasSubstr("Could not determine Version for file " + Path("t.ibs")));
}

TEST_F(Reader, RefusesVersion1UnlessAccepted) {
    int rc = 1;
    std::string text = "[IBIS Ver] 1.1\n[File Name] t.ibs\n[File Rev] 1\n[End]\n";
    EXPECT_THAT(Parse("t.ibs", text, CMN_FILE_IBS, &rc), HasSubstr("Could not determine Version"));
    EXPECT_EQ(rc, 0);
    PARSE_SetAcceptVersion1(1);
    EXPECT_EQ(Parse("t.ibs", text, CMN_FILE_IBS, &rc), "");
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(PARSE_GetDispatchVersion(), 1);
}

// A file the pre-scan cannot check by any rules it knows keeps the coded
// error and gets a note at the line it looked at, saying why and what to do;
// --force-v5 checks any declared version by the 5.0 rules.  (Versions 5.1
// and later are checked by their own rules: VersionTest.cpp.)
TEST_F(Reader, ExplainsEachVersionItCannotCheckAndForceV5ChecksAnyVersion) {
    const struct {
        const char* text;
        const char* note;  // expected note line, or "" when the file is read
        int forced;        // PARSE_File's result with --force-v5
    } cases[] = {
        {"| c\n[IBIS Ver] 9\n",
         "NOTE (line    2) - [IBIS Ver] 9 is newer than IBIS 7.2, the newest version this "
         "checker knows; --force-v5 checks the file by the IBIS 5.0 rules.\n",
         1},
        {"[IBIS Ver] 1.1\n",
         "NOTE (line    1) - [IBIS Ver] 1.1 is IBIS 1.x; --accept-v1 checks the file by the "
         "IBIS 2.1 rules.\n",
         1},
        {"[IBIS Ver] x.y\n",
         "NOTE (line    1) - [IBIS Ver] value 'x.y' is not a version number such as 5.0.\n", 1},
        {"\n\n[Component] x\n",
         "NOTE (line    3) - The first keyword, [Component], must be [IBIS Ver].\n", 0},
        {"| only a comment\n", "NOTE - No keyword found: the file must begin with [IBIS Ver].\n",
         0},
    };
    for (auto& c : cases) {
        int rc = 1;
        std::string out = Parse("t.ibs", c.text, CMN_FILE_IBS, &rc);
        EXPECT_EQ(rc, 0) << c.text;
        EXPECT_EQ(out,
                  "ERROR - Could not determine Version for file " + Path("t.ibs") + "\n" + c.note)
            << c.text;
        PARSE_SetForceVersion5(1);
        Parse("t.ibs", c.text, CMN_FILE_IBS, &rc);
        EXPECT_EQ(rc, c.forced) << c.text;
        if (c.forced) {
            EXPECT_EQ(PARSE_GetDispatchVersion(), 5) << c.text;
        }
        PARSE_SetForceVersion5(0);
    }
    // A file that cannot be opened says so, and nothing about versions.
    EXPECT_EQ(PARSE_File(Path("none.ibs").c_str(), CMN_FILE_IBS), 0);
    EXPECT_THAT(Output(), Not(HasSubstr("NOTE")));
}

TEST_F(Reader, PrintsTheBannerOfTheDetectedVersion) {
    PARSE_SetSilent(0);
    ::testing::internal::CaptureStdout();
    Parse("t.ibs", "[ibis_ver]   4.2\n[File Name] t.ibs\n[File Rev] 1\n[End]\n");
    std::string banner = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(banner, "\nChecking " + Path("t.ibs") + " for IBIS 4.2 Compatibility...\n\n");
    EXPECT_EQ(PARSE_GetDispatchVersion(), 4);
}

TEST_F(Reader, StartsEachFileAtItsOwnVersion) {
    Parse("a.ibs", "[IBIS Ver] 5.0\n[File Name] a.ibs\n[File Rev] 1\n[End]\n");
    // The 5.1 value is illegal, but the file is still read by version 3 rules.
    std::string out = Parse("t.ibs", "[IBIS Ver] 3.3\n[File Name] t.ibs\n[File Rev] 1\n"
                            "| " + std::string(90, 'x') + "\n[End]\n");
    EXPECT_THAT(out, HasSubstr("ERROR (line    1) - Illegal IBIS_Version '3.3'."));
    EXPECT_THAT(out, HasSubstr("ERROR (line    4) - Exceeds 80 chararacters."));
}

// ---- line checks -------------------------------------------------------

TEST_F(Reader, LimitsLinesTo80CharactersBeforeVersion4And120After) {
    std::string l81 = "| " + std::string(79, 'x');
    std::string l121 = "| " + std::string(119, 'x');
    std::string out = Parse("t.ibs", Header32() + l81 + "\n| " + std::string(78, 'y') + "\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    4) - Exceeds 80 chararacters.\n");
    out = Parse("t.ibs", "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n" + l81 + "\n" +
                             l121 + "\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    5) - Exceeds 120 chararacters.\n");
    PARSE_AllowLongLines(1);
    EXPECT_EQ(Parse("t.ibs", Header32() + l121 + "\n[End]\n"), "");
}

TEST_F(Reader, ReportsLinesOfAnyLengthOnce) {
    std::string huge = "| " + std::string(5000, 'x') + "\n";
    std::string out = Parse("t.ibs", Header32() + huge + huge + "[End]\n");
    EXPECT_EQ(out, "ERROR (line    4) - Exceeds 80 chararacters.\n"
                   "ERROR (line    5) - Exceeds 80 chararacters.\n");
}

TEST_F(Reader, WarnsAboutTabsOncePerFile) {
    std::string text = Header32() + "|\tone\n|\ttwo\n[End]\n";
    EXPECT_EQ(Parse("t.ibs", text),
              "WARNING (line    4) - IBIS files should not contain tab characters.\n");
    EXPECT_EQ(Parse("t.ibs", text),
              "WARNING (line    4) - IBIS files should not contain tab characters.\n");
}

TEST_F(Reader, ReportsIllegalCharactersAtTheirOwnLine) {
    std::string out = Parse("t.ibs", Header32() + std::string("| a\0b\r\n", 7) + "[End]\n");
    EXPECT_EQ(out, "ERROR (line    4) - Found illegal NUL character (code 0).  Converting to space.\n");
}

TEST_F(Reader, ReadsCrLfFilesAsUsual) {
    std::string text = "[IBIS Ver] 3.2\r\n[File Name] t.ibs\r\n[File Rev] 1\r\n[End]\r\n";
    EXPECT_EQ(Parse("t.ibs", text), "");
}

// ---- classification ----------------------------------------------------

TEST_F(Reader, TreatsAnIndentedKeywordAsKeywordWithAnError) {
    Recorder<SECTION_MODEL>::Install();
    std::string out = Parse("t.ibs", Header32() + "  [Model] m\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    4) - Keywords Must Begin In Column 1.\n");
    EXPECT_TRUE(Called("begin 2"));
    EXPECT_TRUE(Called("line 2 1 32   [Model] m"));
}

TEST_F(Reader, KeepsIndentedBracketsInNotesAsText) {
    std::string out = Parse("t.ibs", Header32() + "[Notes] first\n  [not a keyword] here\n[End]\n");
    EXPECT_EQ(out, "");
}

TEST_F(Reader, ChangesTheCommentCharacterFromTheNextLine) {
    std::string out = Parse("t.ibs", Header32() + "[Comment Char] #_char\n# | comment\n"
                                                  "| not a comment now\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    6) - Orphan Data Line.\n");
    EXPECT_EQ(PARSE_GetCommentChar(), '#');
}

TEST_F(Reader, ChecksTheCommentCharacterDefinition) {
    EXPECT_EQ(Parse("t.ibs", Header32() + "[Comment Char] a_char\n[End]\n"),
              "ERROR (line    4) - Invalid Comment Character 'a'.\n");
    EXPECT_EQ(Parse("t.ibs", Header32() + "[Comment Char] #\n[End]\n"),
              "ERROR (line    4) - Invalid Comment Character Definition.\n");
    EXPECT_EQ(Parse("t.ibs", Header32() + "[Comment Char] #_char x\n[End]\n"),
              "ERROR (line    4) - Too Many Line Items For Keyword COMMENT_CHAR.\n");
    EXPECT_EQ(Parse("t.ibs", Header32() + "[comment_char] !_char ! fine\n[End]\n"), "");
}

// ---- keywords ----------------------------------------------------------

TEST_F(Reader, RecognisesKeywordsWhateverTheirCaseAndBlanks) {
    Recorder<SECTION_MODEL>::Install();
    Parse("t.ibs", Header32() + "[Model] m\n[Model Spec]\n[model_spec]\n[MODEL SPEC]\n[End]\n");
    EXPECT_TRUE(Called("line 2 1 53 [Model Spec]"));
    EXPECT_TRUE(Called("line 2 1 53 [model_spec]"));
    EXPECT_TRUE(Called("line 2 1 53 [MODEL SPEC]"));
}

TEST_F(Reader, ReportsMalformedAndUnknownKeywords) {
    std::string out = Parse("t.ibs", Header32() + "[Model\n[]\n[" + std::string(70, 'k') +
                                         "]\n[Modle Spec] x\ndata\n[End]\n");
    EXPECT_THAT(out, HasSubstr("ERROR (line    4) - Keyword Missing Ending Bracket (']')."));
    EXPECT_THAT(out, HasSubstr("ERROR (line    5) - Invalid Keyword.\n"));
    EXPECT_THAT(out, HasSubstr("ERROR (line    7) - Invalid Keyword: Modle_Spec"));
    EXPECT_THAT(out, HasSubstr("ERROR (line    8) - Data for unknown keyword.\ndata\n"));
    // A keyword the version does not know is unknown too.
    out = Parse("t.ibs", Header32() + "[Receiver Thresholds]\n[End]\n");
    EXPECT_THAT(out, HasSubstr("Invalid Keyword: Receiver_Thresholds"));
}

TEST_F(Reader, RefusesKeywordNamesOver117Characters) {
    std::string name(118, 'k');
    PARSE_AllowLongLines(1);
    EXPECT_THAT(Parse("t.ibs", Header32() + "[" + name + "]\n[End]\n"),
                HasSubstr("ERROR (line    4) - Invalid Keyword.\n"));
}

TEST_F(Reader, RemapsManufacturerByItsSection) {
    Recorder<SECTION_COMPONENT>::Install();
    Recorder<SECTION_PACKAGE_MODEL>::Install();
    Parse("t.ibs", Header32() + "[Component] c\n[Manufacturer] a\n[Define Package Model] p\n"
                                "[Manufacturer] b\n[End]\n");
    EXPECT_TRUE(Called("line 1 1 10 [Manufacturer] a"));
    EXPECT_TRUE(Called("line 5 1 75 [Manufacturer] b"));
}

TEST_F(Reader, RemapsBoardKeywordsInEbdFiles) {
    Recorder<SECTION_BOARD>::Install();
    Parse("t.ebd", "[IBIS Ver] 3.2\n[File Name] t.ebd\n[File Rev] 1\n"
                   "[Begin Board Description] b\n[Manufacturer] m\n[Number of Pins] 2\n[End]\n",
          CMN_FILE_EBD);
    EXPECT_TRUE(Called("begin 6"));
    EXPECT_TRUE(Called("line 6 1 90 [Manufacturer] m"));
    EXPECT_TRUE(Called("line 6 1 91 [Number of Pins] 2"));
}

TEST_F(Reader, RemapsModelTablesInsideASubmodel) {
    Recorder<SECTION_MODEL>::Install();
    Recorder<SECTION_SUBMODEL>::Install();
    Parse("t.ibs", Header32() + "[Submodel] s\n[Pullup]\n1 2 3 4\n[Model] m\n[Pullup]\n[End]\n");
    EXPECT_TRUE(Called("begin 4"));
    EXPECT_TRUE(Called("line 4 1 102 [Pullup]"));
    EXPECT_TRUE(Called("line 4 4 102 1 2 3 4"));
    EXPECT_TRUE(Called("line 2 1 41 [Pullup]"));
    EXPECT_FALSE(PARSE_InSubmodel());
}

// ---- routing -----------------------------------------------------------

TEST_F(Reader, ClosesThePreviousSectionBeforeBeginningTheNext) {
    Recorder<SECTION_COMPONENT>::Install();
    Recorder<SECTION_MODEL>::Install();
    Parse("t.ibs", Header32() + "[Component] c\n  1  2  | comment\n[Model] m\n[End]\n");
    std::vector<std::string> want = {
        "begin 1", "line 1 1 9 [Component] c", "line 1 4 9 1  2",
        "close 1 9>32", "begin 2", "line 2 1 32 [Model] m", "close 2 32>118"};
    EXPECT_EQ(g_calls, want);
}

TEST_F(Reader, SkipsSectionsThatTheFileTypeDoesNotHold) {
    Recorder<SECTION_COMPONENT>::Install();
    Recorder<SECTION_PACKAGE_MODEL>::Install();
    std::string out = Parse("t.pkg", "[IBIS Ver] 3.2\n[File Name] t.pkg\n[File Rev] 1\n"
                                     "[Component] c\n[Define Package Model] p\n[End]\n",
                            CMN_FILE_PKG);
    EXPECT_EQ(out, "ERROR (line    4) - Illegal keyword for a '.pkg' file.\n");
    EXPECT_FALSE(Called("begin 1"));
    EXPECT_TRUE(Called("begin 5"));
}

TEST_F(Reader, RefusesBoardAndComponentKeywordsInTheWrongFiles) {
    std::string out = Parse("t.ibs", Header32() + "[Begin Board Description] b\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    4) - Illegal keyword for a '.ibs' file.\n");
    out = Parse("t.ebd", "[IBIS Ver] 3.2\n[File Name] t.ebd\n[File Rev] 1\n[Model] m\n"
                         "[Define Package Model] p\n[End]\n",
                CMN_FILE_EBD);
    EXPECT_EQ(out, "ERROR (line    4) - Illegal keyword for a '.ebd' file.\n"
                   "ERROR (line    5) - Illegal keyword for a '.ebd' file.\n");
}

TEST_F(Reader, ReportsAnUnterminatedKeywordFromVersion3) {
    struct Unterminated {
        static void Line(int, int code, char*) {
            if (code == KW_MODEL) PARSE_SetUnterminated();
        }
    };
    ParseSection s = {nullptr, nullptr, Unterminated::Line, nullptr, nullptr};
    SECTION_Install(SECTION_MODEL, &s);
    std::string out = Parse("t.ibs", Header32() + "[Model] m\n[Ramp]\n[End]\n");
    EXPECT_EQ(out, "ERROR (line    5) -\n    Previous keyword not terminated properly. "
                   "Possibly missing a \"/\"\n\n");
}

TEST_F(Reader, ReportsADuplicateIbisVer) {
    std::string out = Parse("t.ibs", Header32() + "[IBIS Ver] 3.2\n[End]\n");
    EXPECT_THAT(out, HasSubstr("ERROR (line    4) - Duplicate IBIS_Ver keyword\n"));
    EXPECT_THAT(out, HasSubstr("ERROR (line    4) - Duplicate IBIS_Ver keyword.\n"));
}

// ---- [End] ---------------------------------------------------------------

TEST_F(Reader, SuppliesAMissingEndOnce) {
    int rc = 0;
    std::string out = Parse("t.ibs", "[IBIS Ver] 3.2\n[File Name] t.ibs\n", CMN_FILE_IBS, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out, "ERROR (line    2) - Required keyword 'End' not found.\n"
                   "ERROR (line    2) - Required keyword 'File_Rev' not found in file 't.ibs'.\n");
}

TEST_F(Reader, ReportsLinesAfterEndAndDataOnTheEndLine) {
    std::string out = Parse("t.ibs", Header32() + "[End] x\n| fine\ndata\n[Model] m\n");
    EXPECT_EQ(out, "ERROR (line    4) - Extraneous data on End keyword line.\n"
                   "ERROR (line    6) - Non-comment line exists after 'End' keyword.\n"
                   "ERROR (line    7) - Non-comment line exists after 'End' keyword.\n");
}

TEST_F(Reader, NamesKeywordCodes) {
    char buf[KEYWORD_MAX_NAME + 1];
    EXPECT_EQ(PARSE_KeywordName(KW_MODEL_SPEC, buf), 1);
    EXPECT_STREQ(buf, "MODEL_SPEC");
    EXPECT_EQ(PARSE_KeywordName(500, buf), 0);
    EXPECT_STREQ(buf, "Unknown enumerated keyword code");
    EXPECT_THAT(Output(), HasSubstr("PROGRAM BUG - Unknown enumerated keyword code."));
}

// ---- .ami gathering ------------------------------------------------------

TEST_F(Reader, GathersAnAmiFileIntoOneLine) {
    int rc = 0;
    std::string out = Parse("m.ami", "(Name\n  (Reserved_Parameters (AMI_Version 5.1))\n)\n",
                            CMN_FILE_AMI, &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(out, "");
    char* text = PARSE_TakeAmiText();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "(Name(Reserved_Parameters (AMI_Version 5.1)))");
    CMN_Free(&text);
    EXPECT_EQ(PARSE_TakeAmiText(), nullptr);
}

TEST_F(Reader, ChecksAmiDescriptionLinesAndTabs) {
    std::string longText(130, 'd');
    std::string ami = "(m | comment\n\t(Description \"" + longText + "\"\n" + longText +
                      "\n)\n(x 1)" + longText + "\n)\n";
    std::string out = Parse("m.ami", ami, CMN_FILE_AMI);
    EXPECT_EQ(out,
              "WARNING (line    2) - IBIS files should not contain tab characters.\n"
              "ERROR -\n    Description line in AMI file (at line no 2) is greater than 120 characters\n"
              "ERROR -\n    Description line in AMI file (at line no 3) is greater than 120 characters\n");
}

TEST_F(Reader, HandsOverAnEmptyTextForAnEmptyAmiFile) {
    int rc = 0;
    Parse("e.ami", "| only a comment\n", CMN_FILE_AMI, &rc);
    EXPECT_EQ(rc, 1);
    char* text = PARSE_TakeAmiText();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    CMN_Free(&text);
}

}  // namespace

TEST_F(Reader, ResetsEverySectionBeforeEachFileAndNeverInside) {
    struct Counting {
        static void Reset() { g_calls.push_back("reset"); }
    };
    ParseSection s = {nullptr, nullptr, nullptr, nullptr, Counting::Reset};
    SECTION_Install(SECTION_MODEL, &s);
    Parse("a.ibs", Header32() + "[Model] m\n[End]\n");
    Parse("b.ibs", Header32() + "[End]\n");
    EXPECT_EQ(g_calls, (std::vector<std::string>{"reset", "reset"}));
}

TEST_F(Reader, FindsEveryKeywordOfEachVersionByItsNameInAnyCase) {
    Parse("k.ibs", Header32() + "[End]\n");  // an .ibs file, outside any submodel
    for (int version = 1; version <= 6; ++version) {
        int n = 0;
        const KeywordRow* table = KEYWORD_Table(version, &n);
        for (int i = 0; i < n && table[i].code != KW_NOT_KEY; ++i) {
            int first = 0;  // a name listed twice is found at its first row
            while (std::string(table[first].name) != table[i].name) ++first;
            std::string line = std::string("[") + table[i].name + "] x";
            for (size_t k = 1; k < line.size(); k += 2)
                line[k] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[k])));
            for (char& c : line)
                if (c == '_') c = ' ';
            EXPECT_EQ(PARSE_FindKeyword(line.c_str(), KW_NOT_KEY, version), table[first].code)
                << line << " in version " << version;
        }
    }
    EXPECT_EQ(Output(), "");
}
