// [Algorithmic Model] Executable lines and the AMI parameter file checks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisFixture.h"
#include "IbisParser/algmod.h"
#include "IbisParser/amichk.h"
#include "amiparam/amiparam.h"

using ::testing::HasSubstr;

namespace {

// ---- Executable lines ----------------------------------------------------

class Algmod : public IbisFixture {
protected:
    AlgExecList* list_ = nullptr;
    void TearDown() override {
        ALGMOD_Free(&list_);
        IbisFixture::TearDown();
    }
    void Begin(const char* line = "[Algorithmic Model]") {
        PARSE_Reset();
        std::string l = line;
        ALGMOD_Begin(&l[0], &list_);
    }
    void Line(const std::string& line) {
        std::string l = line;
        ALGMOD_Line(&l[0], &list_);
    }
    int Count() const {
        int n = 0;
        for (AlgExecutable* r = list_ ? list_->first : nullptr; r; r = r->next) ++n;
        return n;
    }
};

TEST_F(Algmod, BuildsARecordPerExecutableLine) {
    Begin();
    Line("Executable Host_Cc_32 model.dll model.ami");
    ALGMOD_Close(list_);
    EXPECT_EQ(Output(), "");
    ASSERT_EQ(Count(), 1);
    AlgExecutable* r = list_->first;
    EXPECT_STREQ(r->platform, "Host");
    EXPECT_STREQ(r->compiler, "Cc");
    EXPECT_EQ(r->bits, 32);
    EXPECT_STREQ(r->codeFile, "model.dll");
    EXPECT_STREQ(r->paramFile, "model.ami");
}

TEST_F(Algmod, ChecksBitsAndDuplicatesWhenTheSectionCloses) {
    Begin();
    Line("Executable Host_Cc_16 a.dll a.ami");
    Line("Executable Host_Cc_64 b.dll b.ami");
    Line("Executable host_CC_64 c.dll c.ami");
    ALGMOD_Close(list_);
    std::string out = Output();
    EXPECT_THAT(out, HasSubstr("The Number of Bits should be 32 or 64 for Platform Host and "
                               "Compiler Cc for Algorithmic Model defined on line 0"));
    EXPECT_THAT(out, HasSubstr("Duplicate Sub-Parameter: Platform host Compiler CC Bits 64 for "
                               "Algorithmic Model defined on line 0"));
    EXPECT_EQ(Errors(), 2);
}

// One message for each line that repeats an earlier one, not one per pair:
// n copies give n - 1.
TEST_F(Algmod, ReportsEachRepeatedExecutableOnce) {
    Begin();
    for (int i = 0; i < 2000; ++i) Line("Executable Host_Cc_64 a.dll a.ami");
    ALGMOD_Close(list_);
    EXPECT_EQ(Errors(), 1999);
}

TEST_F(Algmod, RejectsMalformedLines) {
    Begin("[Algorithmic Model] extra");
    EXPECT_THAT(Output(), HasSubstr("Incorrect Number of Line Items (2) For Algorithmic Model: Expecting 1"));
    Line("Executable Host_Cc a.dll a.ami");
    EXPECT_THAT(Output(), HasSubstr("Could not parse Platform, Compiler, Bits  for [Algorithmic Model] "
                                    "Executable Sub-parameter"));
    Line("Executable _a_b_ a.dll a.ami");
    EXPECT_THAT(Output(), HasSubstr("Could not parse Platform, Compiler, Bits"));
    Line("Executable Host_Cc_x64 a.dll a.ami");
    EXPECT_THAT(Output(), HasSubstr("Could not parse the Bits in Host_Cc_x64 for [Algorithmic Model]"));
    Line("Library Host_Cc_32 a.dll a.ami");
    EXPECT_THAT(Output(), HasSubstr("Unknown Line in Algorithmic Model"));
    Line("Executable Host_Cc_32 a.dll");
    EXPECT_THAT(Output(), HasSubstr("Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 4"));
    EXPECT_EQ(Count(), 2);
}

TEST_F(Algmod, CutsOverlongNames) {
    Begin();
    std::string longName(50, 'p');
    Line("Executable " + longName + "_" + longName + "_64 " + longName + ".so " + longName + ".ami");
    std::string out = Output();
    EXPECT_THAT(out, HasSubstr("Platform name too long " + longName));
    EXPECT_THAT(out, HasSubstr("Compiler name too long " + longName));
    EXPECT_THAT(out, HasSubstr("Filename too long " + longName + ".so"));
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(std::string(list_->first->platform).size(), 44u);
    EXPECT_EQ(std::string(list_->first->paramFile).size(), 44u);
}

TEST_F(Algmod, ReplacesASecondSectionOfTheSameModel) {
    Begin();
    Line("Executable Host_Cc_32 a.dll a.ami");
    Begin();
    EXPECT_THAT(Output(), HasSubstr("Algorithmic Model: Already Defined for this model"));
    EXPECT_EQ(Count(), 0);
}

// ---- tree checks ---------------------------------------------------------

const char kGood[] =
    "(m (Reserved_Parameters"
    " (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description \"x\"))"
    " (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"x\")))"
    " (Model_Specific (eq (Usage In) (Type Integer) (Format Range 0 0 2) (Default 0))))";

class AmiTree : public IbisFixture {
protected:
    std::string Check(const std::string& text) {
        AmiParamTree* tree = nullptr;
        EXPECT_EQ(AMIPARAM_Parse(text.c_str(), &tree), 0) << text;
        AMICHK_CheckTree(tree);
        AMIPARAM_FreeTree(&tree);
        return Output();
    }
    // kGood with `extra` added to Reserved_Parameters.
    std::string WithReserved(const std::string& extra) {
        std::string t = kGood;
        size_t at = t.find(" (Model_Specific") - 1;
        return Check(t.substr(0, at) + " " + extra + t.substr(at));
    }
};

TEST_F(AmiTree, AcceptsAWellFormedFile) { EXPECT_EQ(Check(kGood), ""); }

TEST_F(AmiTree, RequiresReservedParameters) {
    EXPECT_EQ(Check("(m (Model_Specific (eq (Usage In))))"),
              "ERROR - No Reserved_Parameters found\n");
    EXPECT_EQ(Check("(m (Other (a 1)) (Reserved_Parameters (x 1)))"),
              "ERROR - Unknown branch Other found\n"
              "ERROR - Expected a branch but found 'x'  as a leaf of 'Reserved_Parameters'\n"
              "ERROR - Init_Returns_Impulse parameter is mandatory\n"
              "ERROR - GetWave_Exists parameter is mandatory\n");
}

TEST_F(AmiTree, RequiresBothMandatoryParameters) {
    EXPECT_EQ(Check("(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) "
                    "(Default True) (Description \"x\"))))"),
              "ERROR - GetWave_Exists parameter is mandatory\n");
}

TEST_F(AmiTree, ChecksLeavesOfModelSpecificParameters) {
    EXPECT_EQ(Check("(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) "
                    "(Default 1) (Description x)) (GetWave_Exists (Usage Info) (Type Boolean) "
                    "(Default 1) (Description x))) (Model_Specific (p (Usage Sometimes) "
                    "(Type Real) (Format Range 0 2) (Labels a b)) (g (q (Format Odd 1)) "
                    "(r (Format List)) (s (Format Steps 1 2 3 4)) (t (Format Table x)) "
                    "(u (Format Value 1.5e-3)) (v (Format List a)))))"),
              "ERROR - Illegal Usage value Sometimes specified for p\n"
              "ERROR - Illegal Type value Real specified for p\n"
              "ERROR - Range: Illegal Format for p. Expected 3 number(s)\n"
              "ERROR - Illegal Format value Odd specified for q\n"
              "ERROR - List: Illegal Format for r. Expected 1 number(s)\n");
    EXPECT_EQ(Check("(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) "
                    "(Default 1) (Description x)) (GetWave_Exists (Usage Info) (Type Boolean) "
                    "(Default 1) (Description x))) (Usage Bad))"),
              "ERROR - Illegal Usage value Bad specified for m\n");
}

TEST_F(AmiTree, ChecksEachRuleOfTheReservedTable) {
    EXPECT_EQ(WithReserved("(Max_Init_Aggressors (Usage Info) (Type Integer) (Default 2.5) "
                           "(Description \"x\"))"),
              "ERROR - Illegal Default value 2.5 specified for Max_Init_Aggressors\n"
              "ERROR - Parameter Default is mandatory for Max_Init_Aggressors\n");
    EXPECT_EQ(WithReserved("(Tx_Jitter (Usage Info) (Type Float) (Format Gaussian 0) "
                           "(Description \"x\"))"),
              "ERROR - Gaussian: Illegal Format for Tx_Jitter. Expected 2 number(s)\n"
              "ERROR - Parameter Format is mandatory for Tx_Jitter\n");
    EXPECT_EQ(WithReserved("(Use_Init_Output (Usage In) (Type Float) (Format Value 1) "
                           "(Default yes) (Labels x) (Sub (a 1)))"),
              "ERROR - Illegal Usage value In specified for Use_Init_Output\n"
              "ERROR - Illegal Type value Float specified for Use_Init_Output\n"
              "ERROR - Unexpected parameter Format specified for Use_Init_Output\n"
              "ERROR - Illegal Default value yes specified for Use_Init_Output\n"
              "ERROR - Unknown parameter Labels found as a child of Use_Init_Output\n"
              "ERROR - Found a branch Sub expecting a leaf for Use_Init_Output\n"
              "ERROR - Parameter Default is mandatory for Use_Init_Output\n"
              "ERROR - Parameter Description is mandatory for Use_Init_Output\n");
    EXPECT_EQ(WithReserved("(Tx_DCD (Usage Out) (Type UI) (Format Gaussian 1 2))"),
              "ERROR - Illegal Format value Gaussian specified for Tx_DCD\n"
              "ERROR - Parameter Format is mandatory for Tx_DCD\n"
              "ERROR - Parameter Description is mandatory for Tx_DCD\n");
    EXPECT_EQ(WithReserved("(Rx_Receiver_Sensitivity (Usage Info) (Type Float) (Format Corner 1 2 3) "
                           "(Default x) (Description \"d\"))"),
              "ERROR - Illegal Default value x specified for Rx_Receiver_Sensitivity\n");
    EXPECT_EQ(WithReserved("(Ignore_Bits (Usage Out) (Type Integer) (Default 3) (Description \"d\")) "
                           "(Rx_Clock_PDF (Usage Info) (Type UI) (Format DjRj 1 2 3) (Description \"d\")) "
                           "(Tx_Jitter (Usage Info) (Type UI) (Format Table x y) (Description \"d\"))"),
              "");
    EXPECT_EQ(WithReserved("(My_Param (Usage In) (Type Tap) (Format Value x))"),
              "ERROR - Unknown parameter My_Param found as a child of Reserved_Parameters\n"
              "ERROR - Value: Illegal Format for My_Param. Expected 1 number(s)\n");
}

// Files declaring AMI_Version may give a parameter's format as a leaf named
// by the format word, and use the reserved parameters of later releases.
TEST_F(AmiTree, AcceptsTheFormsOfTheDeclaredAmiVersion) {
    const std::string v51 =
        "(AMI_Version (Usage Info) (Type String) (Value \"5.1\") (Description \"v\"))";
    const std::string v60 =
        "(AMI_Version (Usage Info) (Type String) (Value \"6.0\") (Description \"v\"))";
    const std::string mandatory51 =
        "(Init_Returns_Impulse (Usage Info) (Type Boolean) (Value True) (Description \"x\"))"
        " (GetWave_Exists (Usage Info) (Type Boolean) (Value False) (Description \"x\"))";
    auto file = [&](const std::string& reserved, const std::string& specific) {
        return "(m (Reserved_Parameters " + reserved + ") (Model_Specific " + specific + "))";
    };
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {file(v51 + " " + mandatory51,
              "(eq (Usage In) (Type Integer) (Range 0 0 9) (Description x))"),
         ""},
        {file(v60 + " " + mandatory51 + " (Tx_Rj (Usage Info) (Type Float) (Value 1e-12))",
              "(mode (Usage In) (Type String) (List \"a\" \"b\"))"),
         ""},
        {file(v51 + " " + mandatory51, "(eq (Usage In) (Type Integer) (Range 0 9))"),
         "ERROR - Range: Illegal Format for eq. Expected 3 number(s)\n"},
        {file(v51 + " " + mandatory51 +
                  " (Tx_DCD (Usage Info) (Type Float) (Value x) (Description d))",
              "(a (Usage In) (Type Float) (Value 1))"),
         "ERROR - Value: Illegal Format for Tx_DCD. Expected 1 number(s)\n"
         "ERROR - Parameter Format is mandatory for Tx_DCD\n"},
        {file(v51 +
                  " (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value True) (Description x))"
                  " (GetWave_Exists (Usage Info) (Type Boolean) (Range 0 0 1) (Description x))"
                  " (Use_Init_Output (Usage Info) (Type Boolean) (Value 3) (Description x))",
              "(a (Usage In) (Type Float) (Value 1))"),
         "ERROR - Unexpected parameter Range specified for GetWave_Exists\n"
         "ERROR - Parameter Default is mandatory for GetWave_Exists\n"
         "ERROR - Use_Init_Output was removed in AMI_Version 5.1; it is not allowed in a file "
         "of AMI_Version 5.1\n"},
        {file("(AMI_Version (Usage In) (Type Float) (Value \"4.2\")) " + mandatory51,
              "(a (Usage In))"),
         "ERROR - Illegal Usage value In specified for AMI_Version\n"
         "ERROR - Illegal Type value Float specified for AMI_Version\n"
         "ERROR - AMI_Version 4.2 is not an AMI version; the known versions are 5.1, 6.0, 6.1, "
         "7.0, 7.1 and 7.2\n"},
        {file("(AMI_Version (Usage Info) (Type String) (Value \"9.1\")) " + mandatory51,
              "(a (Usage In))"),
         "NOTE - AMI_Version 9.1 is newer than 7.2, the newest AMI version this checker knows; "
         "its parameters are checked by the 7.2 rules.\n"},
        // Without AMI_Version the older rules apply, with a hint naming what
        // would make the form legal, given once.
        {file(mandatory51 + " (Tx_Rj (Usage Info) (Type Float) (Value 1e-12))", "(a (Usage In))"),
         "ERROR - Unknown parameter Value found as a child of Init_Returns_Impulse\n"
         "NOTE - Value as a leaf of its own is a form of AMI_Version 5.1 and later; declare "
         "AMI_Version in Reserved_Parameters to use it.\n"
         "ERROR - Parameter Default is mandatory for Init_Returns_Impulse\n"
         "ERROR - Unknown parameter Value found as a child of GetWave_Exists\n"
         "ERROR - Parameter Default is mandatory for GetWave_Exists\n"
         "ERROR - Unknown parameter Tx_Rj found as a child of Reserved_Parameters\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Check(c.text), c.expected) << c.text;
}

// ---- rules by AMI_Version -------------------------------------------------

// A receiver's parameter file declaring `version`, with `extra` on line 6.
std::string VersionedFile(const std::string& version, const std::string& extra,
                          const std::string& root = "rx") {
    return "(" + root +
           "\n"
           " (Reserved_Parameters\n"
           "  (AMI_Version (Usage Info) (Type String) (Value \"" +
           version +
           "\") (Description \"v\"))\n"
           "  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value True) (Description \"i\"))\n"
           "  (GetWave_Exists (Usage Info) (Type Boolean) (Value True) (Description \"g\"))\n"
           "  " +
           extra +
           "\n"
           " )\n"
           " (Model_Specific (gain (Usage In) (Type Float) (Range 0.0 -6.0 6.0))))\n";
}

class AmiVersion : public IbisFixture {
protected:
    std::string CheckFile(const std::string& text) {
        std::string path = Write("v.ami", text);
        EXPECT_EQ(AMICHK_CheckAmiFile(path.c_str()), 1);
        return Output();
    }
};

TEST_F(AmiVersion, ChecksReservedParametersByTheDeclaredVersion) {
    const struct {
        const char* version;
        const char* extra;
        const char* expected;
    } cases[] = {
        {"7.1", "(DC_Offset (Usage In) (Type Float) (Value 0.45) (Description \"mid\"))", ""},
        {"7.0", "(DC_Offset (Usage In) (Type Float) (Value 0.45) (Description \"mid\"))",
         "ERROR (line    6) - DC_Offset was introduced in AMI_Version 7.1; this file "
         "declares AMI_Version 7.0\n"},
        {"7.1", "(DC_Offset (Usage Out) (Type Integer) (Value 0))",
         "ERROR (line    6) - Illegal Usage value Out specified for DC_Offset\n"
         "ERROR (line    6) - Illegal Type value Integer specified for DC_Offset\n"},
        {"7.2", "(Repeater_Type (Usage Info) (Type Float) (Value Redriver))",
         "ERROR (line    6) - Illegal Type value Float specified for Repeater_Type\n"
         "ERROR (line    6) -\n    Value: Illegal Format for Repeater_Type. Expected 1 "
         "number(s)\n"},
        {"6.0", "(Repeater_Type (Usage Info) (Type String) (List Redriver Retimer Relay))",
         "ERROR (line    6) - List value Relay is not allowed for Repeater_Type; expected "
         "Redriver or Retimer\n"},
        {"7.2", "(Modulation (Usage Info) (Type String) (Value \"QAM16\"))",
         "ERROR (line    6) -\n    Value value QAM16 is not allowed for Modulation; expected NRZ, "
         "PAM4 or PAMn\n"},
        {"7.1", "(Modulation (Usage Info) (Type String) (List NRZ PAMn))",
         "ERROR (line    6) - Modulation PAMn was introduced in AMI_Version 7.2; this file "
         "declares AMI_Version 7.1\n"},
        {"7.2", "(Modulation_Levels (Usage Info) (Type Integer) (Value 1))",
         "ERROR (line    6) - Value value 1 is not allowed for Modulation_Levels; expected "
         "an integer of 2 or more\n"},
        {"7.2",
         "(Modulation_Levels (Usage Info) (Type Integer) (Range 4 2 8)) "
         "(PAM_Thresholds (Usage Out) (Type String) (Value \"0 0 0\"))",
         ""},
        {"7.2", "(PAM_Thresholds (Usage In) (Type Float) (Value 0))",
         "ERROR (line    6) - Illegal Usage value In specified for PAM_Thresholds\n"
         "ERROR (line    6) - Illegal Type value Float specified for PAM_Thresholds\n"},
        {"7.2", "(Rx_Use_Clock_Input (Usage In) (Type String) (List None Wave Times Clock))",
         "ERROR (line    6) - List value Clock is not allowed for Rx_Use_Clock_Input; "
         "expected None, Wave or Times\n"},
        {"6.1", "(Rx_Dj (Usage Dep) (Type UI) (Value 0.05)) (Tx_Rj (Usage In) (Type UI) (Value 0))",
         "ERROR (line    6) - Illegal Usage value In specified for Tx_Rj\n"},
        {"6.0", "(Rx_Dj (Usage Dep) (Type UI) (Value 0.05))",
         "ERROR (line    6) - Usage Dep was introduced in AMI_Version 6.1; this file "
         "declares AMI_Version 6.0\n"},
        {"6.0", "(Ts4file (Usage Info) (Type String) (Value \"tx.s4p\"))",
         "ERROR (line    6) - Ts4file was introduced in AMI_Version 7.0; this file declares "
         "AMI_Version 6.0\n"},
        {"5.1", "(Use_Init_Output (Usage Info) (Type Boolean) (Value True) (Description \"x\"))",
         "ERROR (line    6) - Use_Init_Output was removed in AMI_Version 5.1; it is not "
         "allowed in a file of AMI_Version 5.1\n"},
        {"7.3", "",
         "ERROR (line    3) - AMI_Version 7.3 is not an AMI version; the known versions are "
         "5.1, 6.0, 6.1, 7.0, 7.1 and 7.2\n"},
        {"8.0", "(Modulation_Levels (Usage Info) (Type Integer) (Value 8))",
         "NOTE (line    3) - AMI_Version 8.0 is newer than 7.2, the newest AMI version this "
         "checker knows; its parameters are checked by the 7.2 rules.\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckFile(VersionedFile(c.version, c.extra)), c.expected)
            << c.version << " " << c.extra;
}

TEST_F(AmiVersion, NeedsANamedRootAndReservedParametersFirst) {
    // An unnamed root is reported where its name should stand.
    EXPECT_EQ(CheckFile(VersionedFile("6.1", "", "")),
              "ERROR (line    2) - The root name of the AMI parameter file is empty; "
              "AMI_Version 6.1 files need one\n");
    EXPECT_EQ(CheckFile(VersionedFile("7.2", "", "\"\"")),
              "ERROR (line    1) - The root name of the AMI parameter file is empty; "
              "AMI_Version 7.2 files need one\n");
    EXPECT_EQ(CheckFile(VersionedFile("6.0", "", "")), "");
    std::string text = VersionedFile("5.1", "");
    std::string specific = " (Model_Specific (gain (Usage In) (Type Float) (Range 0.0 -6.0 6.0)))";
    text.erase(text.find(specific), specific.size());
    text.insert(text.find(" (Reserved_Parameters"), specific.substr(1) + "\n");
    EXPECT_EQ(CheckFile(text),
              "ERROR (line    2) - Reserved_Parameters must come before Model_Specific in a "
              "file of AMI_Version 5.1\n");
}

// Files without AMI_Version keep the rules of the first release: the later
// parameters are unknown to them, whatever release introduced them.
TEST_F(AmiVersion, LeavesFilesWithoutAmiVersionToTheFirstRules) {
    std::string text = VersionedFile("7.1", "(DC_Offset (Usage In) (Type Float) (Default 0))");
    text.erase(text.find("  (AMI_Version"), text.find("  (Init_") - text.find("  (AMI_Version"));
    EXPECT_THAT(CheckFile(text), HasSubstr("(line    5) -\n    Unknown parameter DC_Offset found "
                                           "as a child of Reserved_Parameters"));
}

// ---- files ---------------------------------------------------------------

TEST_F(AmiTree, ReportsEachParseFailureOfAFile) {
    const struct { const char* text; const char* message;
    } cases[] = {
        {"(a (b 1)", "ERROR (line    1) - The AMI parameter file has mismatched parenthesis\n"},
        {"a (b 1)", "ERROR (line    1) - The AMI parameter file should start with a parenthesis\n"},
        {"(a 1)", "ERROR (line    1) - Too few nodes in branches or leaves\n"},
        {"(a (b ) (c 1))",
         "ERROR (line    1) -\n    Invalid syntax of branch or leaf. At least 2 elements expected "
         "in a list\n"},
        {"(a (b) (c 1))", "ERROR (line    1) - Too few nodes in branches or leaves\n"},
        {"| nothing\n", "ERROR - The AMI parameter file should start with a parenthesis\n"},
        {"(a (b 1)) (c (d 2))",
         "ERROR (line    1) -\n    The AMI parameter file has a second top-level list; only one "
         "is allowed\n"},
        {"(a\n (b 1))\n\n(c\n (d 2))\n",
         "ERROR (line    4) -\n    The AMI parameter file has a second top-level list; only one "
         "is allowed\n"},
        // Each failure names the line where the text went wrong, not the
        // first or the last line of the file.
        {"(a\n (b 1)\n (c\n",
         "ERROR (line    3) - The AMI parameter file has mismatched parenthesis\n"},
        {"(a\n (b 1))\n)\n",
         "ERROR (line    3) - The AMI parameter file has mismatched parenthesis\n"},
        {"(a\n (b 1)\n (c)\n (d 2))\n",
         "ERROR (line    3) - Too few nodes in branches or leaves\n"},
        {"(a\n (b 1)\n\n (c )\n (d 2))\n",
         "ERROR (line    4) -\n    Invalid syntax of branch or leaf. At least 2 elements expected "
         "in a list\n"},
        {"| c\n\n  x (b 1)\n",
         "ERROR (line    3) - The AMI parameter file should start with a parenthesis\n"},
    };
    for (auto& c : cases) {
        std::string path = Write("x.ami", c.text);
        EXPECT_EQ(AMICHK_CheckAmiFile(path.c_str()), 1);
        EXPECT_EQ(Output(), c.message) << c.text;
    }
    EXPECT_EQ(AMICHK_CheckAmiFile(Path("none.ami").c_str()), 0);
    EXPECT_THAT(Output(), HasSubstr("Unable To Open File"));
}

struct FakeModel {
    const char* name;
    AlgExecList* execs;
};
const char* FakeName(void* m) { return static_cast<FakeModel*>(m)->name; }
AlgExecList* FakeExecs(void* m) { return static_cast<FakeModel*>(m)->execs; }

TEST_F(AmiTree, LooksUpTheFilesAModelNames) {
    Write("good.ami", kGood);
    Write("bad.ami", "(m (Model_Specific (a (Usage In))))");
    Write("code.so", "");
    std::string ibs = Write("t.ibs", Header32() + "[End]\n");
    ASSERT_EQ(PARSE_File(ibs.c_str(), CMN_FILE_IBS), 1);  // sets the directory
    Output();

    AlgExecList* empty = nullptr;
    AlgExecList* list = nullptr;
    ASSERT_EQ(CMN_Calloc(&empty, sizeof *empty), 1);
    std::string begin = "[Algorithmic Model]";
    ALGMOD_Begin(&begin[0], &list);
    for (const char* l : {"Executable A_B_32 code.so good.ami", "Executable A_B_64 none.so bad.ami",
                          "Executable C_D_64 code.so missing.ami", "Executable E_F_64 code.so noext",
                          "Executable G_H_64 code.so good.ami"}) {
        std::string s = l;
        ALGMOD_Line(&s[0], &list);
    }
    FakeModel models[] = {{"empty", empty}, {"m1", list}, {"none", nullptr}};
    IbisItem items[3] = {{&items[1], &models[0]}, {&items[2], &models[1]}, {nullptr, &models[2]}};
    // A kit run learns which parameter files were checked on the way, and
    // their findings name the parameter file, not the .ibs file.  A file that
    // several platforms of one model share is checked once.
    static std::vector<std::string> reached;
    reached.clear();
    AMICHK_SetReached([](const char* path) { reached.push_back(path); });
    MSG_SetCheckedFile(ibs.c_str());
    AMICHK_CheckModelFiles(items, FakeName, FakeExecs, nullptr);
    AMICHK_SetReached(nullptr);
    EXPECT_EQ(reached, (std::vector<std::string>{Path("good.ami"), Path("bad.ami")}));
    EXPECT_EQ(std::string(MSG_GetFileName()), ibs);
    EXPECT_EQ(Output(),
              "ERROR - Empty [Algorithmic Model] defined for Model empty\n"
              "ERROR - AMI Parameter file noext should have '.ami' extension. It was defined in "
              "[Algorithmic Model] for Model m1\n"
              "ERROR - AMI parameter file missing.ami not found. It was defined in "
              "[Algorithmic Model] for Model m1\n"
              "ERROR - Code file none.so not found. It was defined in [Algorithmic Model] for "
              "Model m1\n" +
                  Path("bad.ami") + ": ERROR (line    1) - No Reserved_Parameters found\n");
    int trees = 0;
    for (AlgExecutable* r = list->first; r; r = r->next) trees += r->tree != nullptr;
    EXPECT_EQ(trees, 2);
    ALGMOD_Free(&list);
    ALGMOD_Free(&empty);
}

int fakeDirection = AMICHK_EITHER;
int FakeDirection(void*) {
    return fakeDirection;
}

// Only a file that a receiver model names is known to be a receiver's.
TEST_F(AmiTree, NeedsTheThresholdsOfAPam4Receiver) {
    Write("rx.ami", VersionedFile("6.1",
                                  "(Modulation (Usage Info) (Type String) (List NRZ PAM4)) "
                                  "(PAM4_UpperThreshold (Usage Info) (Type Float) (Value 0.2))"));
    Write("code.so", "");
    std::string ibs = Write("t.ibs", Header32() + "[End]\n");
    ASSERT_EQ(PARSE_File(ibs.c_str(), CMN_FILE_IBS), 1);
    Output();
    AlgExecList* list = nullptr;
    std::string begin = "[Algorithmic Model]", line = "Executable A_B_64 code.so rx.ami";
    ALGMOD_Begin(&begin[0], &list);
    ALGMOD_Line(&line[0], &list);
    FakeModel model = {"m", list};
    IbisItem item = {nullptr, &model};
    // A finding about the .ami file names that file.
    const struct {
        int direction;
        std::string expected;
    } cases[] = {
        {AMICHK_RX, Path("rx.ami") +
                        ": ERROR (line    6) - Parameter PAM4_LowerThreshold is required in a "
                        "receiver model whose Modulation is PAM4\n"},
        {AMICHK_TX, ""},
        {AMICHK_EITHER, ""},
    };
    for (const auto& c : cases) {
        fakeDirection = c.direction;
        AMICHK_CheckModelFiles(&item, FakeName, FakeExecs, FakeDirection);
        EXPECT_EQ(Output(), c.expected) << c.direction;
    }
    ALGMOD_Free(&list);
}

}  // namespace
