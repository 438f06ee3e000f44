// Versions and keywords by version: the one version decision, the [IBIS
// Ver] line of each kind of value, the keywords and sub-parameters of IBIS
// 5.1 to 7.2 held to the declared version, the unknown-keyword warning of
// 5.1 and later files, and the routing of the new keywords to their
// modules through their owners.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "IbisFixture.h"
#include "IbisParser/amiver.h"
#include "IbisParser/check.h"
#include "IbisParser/keyword.h"
#include "IbisParser/ver.h"

namespace {

using ::testing::HasSubstr;

// ---- the decision ------------------------------------------------------

TEST(VersionDecision, DecidesDispatchRulesAndKindOfEachValue) {
    const struct {
        const char* value;
        int force, acceptV1;
        int kind, dispatch, level;
        const char* rules;
    } cases[] = {
        {"2.0", 0, 0, VER_KIND_KNOWN, 2, 21, "2.1"},
        {"3.1", 0, 0, VER_KIND_KNOWN, 3, 32, "3.2"},
        {"4.2", 0, 0, VER_KIND_KNOWN, 4, 42, "4.2"},
        {"5.0", 0, 0, VER_KIND_KNOWN, 5, 50, "5.0"},
        {"5.1", 0, 0, VER_KIND_KNOWN, 5, 51, "5.1"},
        {"6.0", 0, 0, VER_KIND_KNOWN, 5, 60, "6.0"},
        {"6.1", 0, 0, VER_KIND_KNOWN, 5, 61, "6.1"},
        {"7.0", 0, 0, VER_KIND_KNOWN, 5, 70, "7.0"},
        {"7.1", 0, 0, VER_KIND_KNOWN, 5, 71, "7.1"},
        {"7.2", 0, 0, VER_KIND_KNOWN, 5, 72, "7.2"},
        // past the newest major version: the newest rules
        {"8.0", 0, 0, VER_KIND_NEWER, 5, 72, "7.2"},
        {"10.3", 0, 0, VER_KIND_NEWER, 5, 72, "7.2"},
        // no IBIS version: the rules of the newest known one below it
        {"5.2", 0, 0, VER_KIND_UNKNOWN, 5, 51, "5.1"},
        {"6.5", 0, 0, VER_KIND_UNKNOWN, 5, 61, "6.1"},
        {"7.3", 0, 0, VER_KIND_UNKNOWN, 5, 72, "7.2"},
        {"5.10", 0, 0, VER_KIND_UNKNOWN, 5, 51, "5.1"},
        // the 1.1 to 5.0 rules: refused, but read by the first digit
        {"3.3", 0, 0, VER_KIND_ILLEGAL, 3, 32, "3.2"},
        {"5.00", 0, 0, VER_KIND_ILLEGAL, 5, 50, "5.0"},
        {"5.1a", 0, 0, VER_KIND_ILLEGAL, 5, 50, "5.0"},
        {"1.1", 0, 0, VER_KIND_NONE, 0, 0, ""},
        {"1.1", 0, 1, VER_KIND_KNOWN, 1, 21, "2.1"},
        {"1x", 0, 1, VER_KIND_ILLEGAL, 1, 21, "2.1"},
        {"x.y", 0, 0, VER_KIND_NONE, 0, 0, ""},
        {"6", 0, 0, VER_KIND_NONE, 0, 0, ""},
        {"7.1.2", 0, 0, VER_KIND_NONE, 0, 0, ""},
        {"", 0, 0, VER_KIND_NONE, 0, 0, ""},
        // --force-v5: the 5.0 rules, whatever was declared
        {"7.1", 1, 0, VER_KIND_FORCED, 5, 50, "5.0"},
        {"x.y", 1, 0, VER_KIND_FORCED, 5, 50, "5.0"},
    };
    for (const auto& c : cases) {
        VerDecision d;
        VER_Decide(c.value, c.force, c.acceptV1, &d);
        EXPECT_EQ(d.kind, c.kind) << c.value;
        EXPECT_EQ(d.dispatch, c.dispatch) << c.value;
        EXPECT_EQ(d.level, c.level) << c.value;
        EXPECT_STREQ(d.rules, c.rules) << c.value;
        EXPECT_STREQ(d.declared, c.value);
    }
    EXPECT_STREQ(VER_KnownList(),
                 "2.0, 2.1, 3.0, 3.1, 3.2, 4.0, 4.1, 4.2, 5.0, 5.1, 6.0, 6.1, 7.0, 7.1 and 7.2");
}

// AMI_Version takes its known versions and the rule for a newer one from
// the IBIS versions: the two sides cannot drift apart.
TEST(VersionDecision, DecidesAmiVersionsByTheSameKnownVersions) {
    const struct {
        const char* value;
        int kind, level;
    } cases[] = {
        {"5.1", AMIVER_KNOWN, 51},
        {"7.1", AMIVER_KNOWN, 71},
        {"7.2", AMIVER_KNOWN, 72},
        // IBIS versions before AMI_Version existed are none of its values
        {"5.0", AMIVER_NOT_A_VERSION, 72},
        {"4.2", AMIVER_NOT_A_VERSION, 72},
        {"7.3", AMIVER_NOT_A_VERSION, 72},
        {"7.10", AMIVER_NOT_A_VERSION, 72},
        {"8.0", AMIVER_NEWER, 72},
        {"08.0", AMIVER_NEWER, 72},
        {"123456789012.0", AMIVER_NEWER, 72},
        {"00.1", AMIVER_NOT_A_VERSION, 72},
        {"8.", AMIVER_NOT_A_VERSION, 72},
        {".8", AMIVER_NOT_A_VERSION, 72},
        {"8.0 ", AMIVER_NOT_A_VERSION, 72},
        {"", AMIVER_NOT_A_VERSION, 72},
    };
    for (const auto& c : cases) {
        int level = 0;
        EXPECT_EQ(AMIVER_Decide(c.value, &level), c.kind) << c.value;
        EXPECT_EQ(level, c.level) << c.value;
        EXPECT_EQ(VER_IsNewerMajor(c.value), c.kind == AMIVER_NEWER) << c.value;
    }
    int level = 0;
    EXPECT_EQ(AMIVER_Decide(nullptr, &level), AMIVER_NOT_A_VERSION);
    EXPECT_STREQ(AMIVER_KnownList(), "5.1, 6.0, 6.1, 7.0, 7.1 and 7.2");
    EXPECT_STREQ(AMIVER_Name(VER_LEVEL_61), "6.1");
    char shortList[12];
    VER_ListFrom(VER_LEVEL_70, shortList, sizeof shortList);
    EXPECT_STREQ(shortList, "7.0, 7.1");  // cut whole, never mid-version
}

// ---- files -------------------------------------------------------------

// A clean file of version `v` whose component ends with `extra` (from line
// 18) and whose input model ends with `model` (after line 24 + extra).
std::string File(const std::string& v, const std::string& extra = "", const std::string& model = "",
                 const std::string& tail = "") {
    return "[IBIS Ver] " + v +
           "\n[File Name] t.ibs\n[File Rev] 1\n[Component] C\n[Manufacturer] M\n"
           "[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
           "[Pin] signal_name model_name\n1 A in\n2 B in\n3 C out\n4 D out\n"
           "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n"
           "1 2 0.1 NA NA NA\n3 4 0.1 NA NA NA\n" +
           extra + "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n" +
           model +
           "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n"
           "[Model] out\nModel_type Output\nVmeas = 1.65\nC_comp 1p NA NA\n"
           "[Voltage Range] 3.3 NA NA\n[Pulldown]\n0 0 NA NA\n1 1m NA NA\n"
           "[Pullup]\n0 0 NA NA\n1 1m NA NA\n"
           "[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n" +
           tail + "[End]\n";
}

const char kRepeater[] = "[Repeater Pin] tx_non_inv_pin\n1 3\n";
const char kClock[] = "[Clock Pins] clocked_pins relationship\n1 2 x\n";
const char kUnknown[] = "[Frobnicate] x\nsome data\n";
const char kInitialDelay[] = "[Initial Delay]\n0 NA NA\n";
const char kSet[] =
    "[Interconnect Model Set] s\n[Interconnect Model] m\nFile_TS t.s4p\n"
    "[End Interconnect Model]\n[End Interconnect Model Set]\n";
const char kExecRx[] =
    "[Algorithmic Model]\nExecutable_Rx linux_gcc_64 a.so a.ami\n[End Algorithmic Model]\n";

class Versions : public IbisFixture {};

TEST_F(Versions, ReadsEachVersionLineByItsOwnRules) {
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {File("5.1"), ""},
        {File("6.0", kRepeater), ""},
        {File("7.1", kRepeater + std::string(kClock)), ""},
        {File("7.2", kClock, kInitialDelay, kSet), ""},
        {File("5.2"),
         "ERROR (line    1) - IBIS_Version '5.2' is not an IBIS version; the known versions are "
         "2.0, 2.1, 3.0, 3.1, 3.2, 4.0, 4.1, 4.2, 5.0, 5.1, 6.0, 6.1, 7.0, 7.1 and 7.2. The file "
         "is checked by the IBIS 5.1 rules.\n"},
        {File("7.3", kClock),
         "ERROR (line    1) - IBIS_Version '7.3' is not an IBIS version; the known versions are "
         "2.0, 2.1, 3.0, 3.1, 3.2, 4.0, 4.1, 4.2, 5.0, 5.1, 6.0, 6.1, 7.0, 7.1 and 7.2. The file "
         "is checked by the IBIS 7.2 rules.\n"},
        {File("8.0", kClock),
         "NOTE (line    1) - IBIS_Version '8.0' is newer than IBIS 7.2, the newest version this "
         "checker knows; the file is checked by the IBIS 7.2 rules.\n"},
        {File("3.3"), "ERROR (line    1) - Illegal IBIS_Version '3.3'.\n"},
    };
    Write("t.s4p", "# GHz S RI R 50\n");  // the interconnect model's file, beside t.ibs
    for (const auto& c : cases) {
        int rc = 0;
        EXPECT_EQ(Parse("t.ibs", c.text, CMN_FILE_IBS, &rc), c.expected) << c.text;
        EXPECT_EQ(rc, 1);
    }
}

TEST_F(Versions, HoldsEachNewerKeywordToTheDeclaredVersion) {
    const struct {
        const char* version;
        std::string extra, model, tail;
        const char* expected;
    } cases[] = {
        {"5.0", kRepeater, "", "",
         "ERROR (line   18) - Keyword [Repeater Pin] was introduced in IBIS 6.0; the file "
         "declares IBIS 5.0.\n"},
        {"3.2", kRepeater, "", "",
         "ERROR (line   18) - Keyword [Repeater Pin] was introduced in IBIS 6.0; the file "
         "declares IBIS 3.2.\n"},
        {"5.1", kRepeater, "", "",
         "ERROR (line   18) - Keyword [Repeater Pin] was introduced in IBIS 6.0; the file "
         "declares IBIS 5.1.\n"},
        {"7.0", kClock, "", "",
         "ERROR (line   18) - Keyword [Clock Pins] was introduced in IBIS 7.1; the file "
         "declares IBIS 7.0.\n"},
        {"6.0", "", kInitialDelay, "",
         "ERROR (line   23) - Keyword [Initial Delay] was introduced in IBIS 6.1; the file "
         "declares IBIS 6.0.\n"},
        {"6.1", "", "", kSet,
         "ERROR (line   41) - Keyword [Interconnect Model Set] was introduced in IBIS 7.0; the "
         "file declares IBIS 6.1.\n"
         "ERROR (line   42) - Keyword [Interconnect Model] was introduced in IBIS 7.0; the file "
         "declares IBIS 6.1.\n"
         "ERROR (line   44) - Keyword [End Interconnect Model] was introduced in IBIS 7.0; the "
         "file declares IBIS 6.1.\n"
         "ERROR (line   45) - Keyword [End Interconnect Model Set] was introduced in IBIS 7.0; "
         "the file declares IBIS 6.1.\n"},
        // an unknown name: one warning from 5.1 on, the old error before
        {"6.0", kUnknown, "", "",
         "WARNING (line   18) - Keyword [Frobnicate] is not known to this checker (a keyword "
         "newer than IBIS 7.2, or a misspelling); it is skipped with its data.\n"},
        {"5.0", kUnknown, "", "",
         "ERROR (line   18) - Invalid Keyword: Frobnicate\n"
         "ERROR (line   19) - Data for unknown keyword.\nsome data\n"},
        // a sub-parameter
        {"6.0", "", kExecRx, "",
         "ERROR (line   24) - Executable_Rx of [Algorithmic Model] was introduced in IBIS 6.1; "
         "the file declares IBIS 6.0.\n"},
        {"6.1", "", kExecRx, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Parse("t.ibs", File(c.version, c.extra, c.model, c.tail)), c.expected)
            << c.version << "\n"
            << c.extra << c.model << c.tail;
    }
}

// From 7.0 on a file name may hold upper-case letters and 256 characters.
TEST_F(Versions, AppliesTheFileNameRulesOfTheDeclaredVersion) {
    const std::string longName = std::string(60, 'n') + ".ibs";
    const struct {
        const char* version;
        std::string name;
        std::string expected;
    } cases[] = {
        {"7.0", "Big.ibs", ""},
        {"6.1", "Big.ibs",
         "ERROR (line    2) - File_name 'Big.ibs' contains an upper case character 'B'.\n"},
        {"7.2", longName, ""},
        {"6.1", longName,
         "ERROR (line    2) - File_name string '" + longName +
             "' is too long, maximum length 44 allowed.\n"},
    };
    for (const auto& c : cases) {
        std::string text = std::string("[IBIS Ver] ") + c.version + "\n[File Name] " + c.name +
                           "\n[File Rev] 1\n[End]\n";
        EXPECT_EQ(Parse(c.name, text), c.expected) << c.version << " " << c.name;
    }
}

TEST_F(Versions, ForceV5KeepsTheFiveRulesAndSaysSo) {
    PARSE_SetForceVersion5(1);
    EXPECT_EQ(Parse("t.ibs", File("7.1", kRepeater)),
              "ERROR (line   18) - Keyword [Repeater Pin] was introduced in IBIS 6.0; --force-v5 "
              "checks the file by the IBIS 5.0 rules.\n");
    EXPECT_EQ(PARSE_GetDispatchVersion(), 5);
    EXPECT_EQ(VER_Rules(), VER_LEVEL_50);
}

TEST_F(Versions, ChecksAValidRepeaterPinFileWholeAndPassesIt) {
    PARSE_SetSilent(1);
    std::string path = Write("t.ibs", File("6.0", kRepeater));
    EXPECT_EQ(CHECK_File(path.c_str()), 1);
    EXPECT_THAT(Output(), HasSubstr("Errors  : 0\n"
                                    "Version : IBIS 6.0 declared, checked by the IBIS 6.0 rules\n"
                                    "\nFile Passed\n"));
    VerDecision d;
    ASSERT_EQ(CHECK_LastVersion(&d), 1);
    EXPECT_STREQ(d.declared, "6.0");
    // The summaries of the 1.1 to 5.0 rules stay as they were.
    path = Write("t.ibs", File("5.0"));
    EXPECT_EQ(CHECK_File(path.c_str()), 1);
    EXPECT_EQ(Output(), "Errors  : 0\n\nFile Passed\n");
}

// A tool that works with what the checker read gets the records before
// they are released; an .ami file has none to give.
void CountComponents(const IbisFile* file, void* context) {
    IbisItem* item = nullptr;
    for (IBIS_GetComponents(file, &item); item != nullptr; item = item->next)
        ++*static_cast<int*>(context);
}

TEST_F(Versions, HandsTheCheckedRecordsToTheirReader) {
    int components = 0;
    EXPECT_EQ(CHECK_FileWith(Write("t.ibs", File("6.0", kRepeater)).c_str(), CountComponents,
                             &components),
              1);
    EXPECT_EQ(components, 1);
    components = 0;
    CHECK_FileWith(Write("t.ami", "(m (Reserved_Parameters))").c_str(), CountComponents,
                   &components);
    EXPECT_EQ(components, 0);
}

// ---- routing -----------------------------------------------------------

std::vector<std::string> g_calls;

template <int S>
struct Recorder {
    static void Begin() { g_calls.push_back(std::to_string(S) + " begin"); }
    static void Close(int p, int n) {
        g_calls.push_back(std::to_string(S) + " close " + std::to_string(p) + " " +
                          std::to_string(n));
    }
    static void Line(int t, int c, char* text) {
        g_calls.push_back(std::to_string(S) + " line " + std::to_string(t) + " " +
                          std::to_string(c) + " " + text);
    }
    static void Install() {
        ParseSection s = {Begin, Close, Line, nullptr, nullptr};
        SECTION_Install(S, &s);
    }
};

// The owner stays open around a nested keyword (a component ended by
// [Repeater Pin] would report its [Package] as an orphan), and the module
// sees its keyword line, its data lines and the keyword after them.
TEST_F(Versions, RoutesNewerKeywordsToTheirModulesThroughTheirOwners) {
    g_calls.clear();
    Recorder<SECTION_REPEATER_PIN>::Install();
    Recorder<SECTION_INITIAL_DELAY>::Install();
    Recorder<SECTION_INTERCONNECT_MODEL>::Install();
    std::string out =
        Parse("t.ibs",
              "[IBIS Ver] 7.0\n[File Name] t.ibs\n[File Rev] 1\n[Component] C\n[Manufacturer] M\n"
              "[Repeater Pin] tx_non_inv_pin\n1 3\n"
              "[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
              "[Pin] signal_name model_name\n1 A POWER\n"
              "[Submodel] s\nSubmodel_type Dynamic_clamp\n[Initial Delay]\n0 NA NA\n"
              "[Interconnect Model Set] set\n[Interconnect Model] m\nFile_TS t.s2p\n"
              "[End Interconnect Model]\n[End Interconnect Model Set]\n[End]\n");
    EXPECT_THAT(out, Not(HasSubstr("Orphan")));
    const std::vector<std::string> expected = {
        "10 begin",
        "10 line 1 120 [Repeater Pin] tx_non_inv_pin",
        "10 line 4 120 1 3",
        "10 close 120 11",
        "12 begin",
        "12 line 1 122 [Initial Delay]",
        "12 line 4 122 0 NA NA",
        "12 close 122 127",
        "17 begin",
        "17 line 1 129 [Interconnect Model] m",
        "17 line 4 129 File_TS t.s2p",
        "17 close 129 130",
        "17 line 1 130 [End Interconnect Model]",
        "17 close 130 128",
    };
    EXPECT_EQ(g_calls, expected);
}

// ---- the facts ---------------------------------------------------------

TEST(KeywordFacts, KeepsNewerKeywordsOutOfTheDispatchTablesAndSourcesEachRow) {
    int n = 0;
    const KeywordRow* t = KEYWORD_Table(5, &n);
    for (int code = KW_FIRST_NEWER; code < KW_COUNT; ++code) {
        const KeywordNewer* row = KEYWORD_Newer(code);
        ASSERT_NE(row, nullptr) << code;
        EXPECT_EQ(row->code, code);
        EXPECT_STREQ(KEYWORD_Name(code), row->name);
        EXPECT_GE(row->level, VER_LEVEL_51) << row->name;
        EXPECT_LE(row->level, VER_LEVEL_NEWEST) << row->name;
        EXPECT_GT(std::strlen(row->source), 10u) << row->name;
        for (int i = 0; i < n; ++i) EXPECT_NE(t[i].code, code) << row->name;
    }
    int count = 0;
    const KeywordSubparam* sub = KEYWORD_Subparams(&count);
    for (int i = 0; i < count; ++i) {
        EXPECT_GE(sub[i].level, VER_LEVEL_51) << sub[i].name;
        EXPECT_GT(std::strlen(sub[i].source), 5u) << sub[i].name;
    }
    EXPECT_EQ(KEYWORD_FindNewer("Clock Pins")->code, KW_CLOCK_PINS);
    EXPECT_EQ(KEYWORD_FindNewer("interconnect_model_set")->code, KW_INTERCONNECT_MODEL_SET);
    EXPECT_EQ(KEYWORD_FindNewer("Begin Interconnect Model"), nullptr);
    EXPECT_EQ(KEYWORD_FindSubparam(KW_ALGORITHMIC_MODEL, "executable_tx")->level, VER_LEVEL_61);
    EXPECT_EQ(KEYWORD_FindSubparam(KW_ALGORITHMIC_MODEL, "Executable"), nullptr);
}

}  // namespace
