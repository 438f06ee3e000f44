// The model keywords and lines of IBIS 5.1 to 7.2: [Initial Delay] in
// models and submodels, the Executable_Rx and Executable_Tx lines of
// [Algorithmic Model], and the IBIS-ISS and Touchstone languages of
// [External Model] and [External Circuit] with the files they name.  Each
// row is a piece of a 7.2 file (NewerFixture.h) and every message the
// whole check gives, coded and with its line when it carries one.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/tsport.h"
#include "NewerFixture.h"

namespace {

struct Row {
    const char* name;
    NewerParts parts;
    std::string expected;
};

// Files written beside t.ibs before each check.
struct Side {
    const char* name;
    const char* text;
};

const char kAmi[] =
    "(m (Reserved_Parameters"
    " (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description \"x\"))"
    " (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"x\"))))\n";
const char kS2p[] =
    "! two ports\n# GHz S RI R 50\n1 0.1 0 0.9 0 0.9 0 0.1 0\n2 0.2 0 0.8 0 0.8 0 0.2 0\n";
// Four ports in the 1.x layout: a point spans four lines.
const char kS4p[] =
    "# GHz S RI R 50\n"
    "1 1 0 2 0 3 0 4 0\n 5 0 6 0 7 0 8 0\n 9 0 1 0 2 0 3 0\n 4 0 5 0 6 0 7 0\n"
    "2 1 0 2 0 3 0 4 0\n 5 0 6 0 7 0 8 0\n 9 0 1 0 2 0 3 0\n 4 0 5 0 6 0 7 0\n";
const char kTs2[] =
    "[Version] 2.0\n# GHz S RI R 50\n[Number of Ports] 2\n[Two-Port Data Order] 12_21\n"
    "[Number of Frequencies] 1\n[Network Data]\n1 0.1 0 0.9 0 0.9 0 0.1 0\n[End]\n";
const char kOptionOnly[] = "# GHz S RI R 50\n";

const Side kSides[] = {{"rx.so", "x"},
                       {"tx.so", "x"},
                       {"rx.ami", kAmi},
                       {"tx.ami", kAmi},
                       {"buf.iss", ".subckt buf a b\n.ends\n"},
                       {"buf.s2p", kS2p},
                       {"buf4.s4p", kS4p},
                       {"buf.ts", kTs2},
                       {"four.s4p", kS2p},
                       {"none.ts", kOptionOnly}};

class SideFiles : public NewerFixture {
protected:
    void SetUp() override {
        NewerFixture::SetUp();
        for (const Side& s : kSides) Write(s.name, s.text);
    }
};

class NewerModelRows : public SideFiles, public ::testing::WithParamInterface<Row> {};

TEST_P(NewerModelRows, ReportsEachFaultAtItsLine) {
    const Row& r = GetParam();
    EXPECT_EQ(Check(NewerFile(r.parts)), r.expected) << r.name;
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// Model "in" ends at line 27: its rows start at line 28.
NewerParts In(const std::string& lines, const std::string& version = "7.2") {
    NewerParts p;
    p.version = version;
    p.inModel = lines;
    return p;
}

const std::string ID = "[Initial Delay]\n";
const std::string kSub =
    "[Submodel] s\nSubmodel_type Dynamic_clamp\n[GND Clamp]\n-1 -1m -1m -1m\n1 1m 1m 1m\n";

NewerParts Sub(const std::string& lines) {
    NewerParts p = In("[Add Submodel]\ns All\n");
    p.tail = kSub + lines;  // the submodel's rows start at line 49
    return p;
}

const Row kInitialDelayRows[] = {
    {"ValuesAlone", In(ID + "1n 0.8n 1.2n\n"), ""},
    {"NamedRows", In(ID + "Rising 1n NA NA\nFalling 2n 1n 3n\n"), ""},
    {"ValuesOnTheKeywordLine", In("[Initial Delay] 1n NA NA\n"), ""},
    {"InASubmodel", Sub(ID + "1n NA NA\n"), ""},
    {"WithoutValues", In(ID),
     "E5203 Model 'in': no delay values for [Initial Delay] beginning at line 28"},
    {"SubmodelWithoutValues", Sub(ID),
     "E5203 Submodel 's': no delay values for [Initial Delay] beginning at line 49"},
    {"TypicalNA", In(ID + "NA 1n 2n\n"), "E0178@29 'NA' Not Allowed For Typical Value"},
    {"NegativeDelays", In(ID + "Rising -1n -2n 0\n"),
     "E5202@29 [Initial Delay] Rising typical value is less than zero\n"
     "E5202@29 [Initial Delay] Rising minimum value is less than zero"},
    {"TypicalOutsideMinAndMax", In(ID + "1n 2n 3n\n"),
     "W3903@29 Typ value is not in between Min and Max "},
    {"OneValue", In(ID + "Rising 1n\n"),
     "E3901@29 No minimum Value Was Provided for Rising\n"
     "E3901@29 No maximum Value Was Provided for Rising"},
    {"FourValues", In(ID + "1n 1n 1n 1n\n"),
     "E3902@29 Incorrect Number of Line Items (4) For [Initial Delay]: Expecting 3"},
    {"ValueNoNumber", In(ID + "Rising 1n 1#n NA\n"), "E1909@29 Invalid min Value (\"1#n\")"},
    {"RowNamedTwice", In(ID + "Rising 1n NA NA\nRising 2n NA NA\n"),
     "E5201@30 Rising Already Defined For [Initial Delay]"},
    {"UnnamedRowTwice", In(ID + "1n NA NA\n2n NA NA\n"),
     "E5201@30 Delay Already Defined For [Initial Delay]"},
    {"KeywordTwice", In(ID + "1n NA NA\n" + ID),
     "E5200@30 [Initial Delay] Already Defined For Model 'in'"},
};

INSTANTIATE_TEST_SUITE_P(InitialDelay, NewerModelRows, ::testing::ValuesIn(kInitialDelayRows),
                         RowName);

std::string Alg(const std::string& lines) {
    return "[Algorithmic Model]\n" + lines + "[End Algorithmic Model]\n";
}

const std::string RX = "Executable_Rx linux_gcc_64 rx.so rx.ami\n";
const std::string TX = "Executable_Tx linux_gcc_64 tx.so tx.ami\n";

const Row kDirectionRows[] = {
    {"ReceiverAndDriverOfOneModel", In(Alg(RX + TX)), ""},
    {"BesideAnExecutableOfTheSamePlatform", In(Alg("Executable linux_gcc_64 tx.so tx.ami\n" + RX)),
     ""},
    {"FilesMissing", In(Alg("Executable_Tx linux_gcc_64 no.so no.ami\n")),
     "E4616 Code file no.so not found. It was defined in [Algorithmic Model] for Model in\n"
     "E4618 AMI parameter file no.ami not found. It was defined in [Algorithmic Model] for "
     "Model in"},
    {"SameDirectionTwice", In(Alg(RX + RX)),
     "E4607@31 Duplicate Sub-Parameter: Platform linux Compiler gcc Bits 64 for Algorithmic "
     "Model defined on line 28"},
    {"BitsOfNeitherWordSize", In(Alg("Executable_Rx linux_gcc_16 rx.so rx.ami\n")),
     "E4606@30 The Number of Bits should be 32 or 64 for Platform linux and Compiler gcc for "
     "Algorithmic Model defined on line 28"},
    {"PlatformWithoutBits", In(Alg("Executable_Rx linux_gcc rx.so rx.ami\n")),
     "E4610@29 Could not parse Platform, Compiler, Bits  for [Algorithmic Model] Executable "
     "Sub-parameter\n"
     "E4615 Empty [Algorithmic Model] defined for Model in"},
    {"NameInTheWrongCase", In(Alg("Executable_rx linux_gcc_64 rx.so rx.ami\n")),
     "E4609@29 Unknown Line in Algorithmic Model\n"
     "E4615 Empty [Algorithmic Model] defined for Model in"},
};

INSTANTIATE_TEST_SUITE_P(ExecutableDirections, NewerModelRows, ::testing::ValuesIn(kDirectionRows),
                         RowName);

// Model "out" ends at line 41: its [External Model] starts at line 42.
NewerParts Ext(const std::string& language, const std::string& corner,
               const std::string& ports = "A_signal drive A_gnd", const std::string& v = "7.2") {
    NewerParts p;
    p.version = v;
    p.outModel = "[External Model]\nLanguage " + language + "\nCorner Typ " + corner + "\nPorts " +
                 ports + "\nD_to_A D_drive drive A_gnd 0 1 1n 1n Typ\n" + "[End External Model]\n";
    return p;
}

const Row kLanguageRows[] = {
    {"IbisIssFileBeside", Ext("IBIS-ISS", "buf.iss buf"), ""},
    {"TouchstoneOfTwoPortsAndItsReference", Ext("Touchstone", "buf.s2p"), ""},
    {"TouchstoneWithoutItsReference", Ext("Touchstone", "buf.s2p", "A_signal drive"), ""},
    {"TouchstoneWithACircuitName", Ext("Touchstone", "buf.s2p x"), ""},
    {"TouchstoneFourPortsOverFourLines",
     Ext("Touchstone", "buf4.s4p", "A_signal drive A_gnd p4 ref"), ""},
    {"TouchstoneTwoByItsKeyword", Ext("Touchstone", "buf.ts"), ""},
    {"LanguageOfAFiveZeroFile", Ext("IBIS-ISS", "buf.iss buf", "A_signal drive A_gnd", "5.0"),
     "E0158@43 Invalid Language (\"IBIS-ISS\")\n"
     "E0144@46 Language must be defined before D2A\n"
     "E0138@47 Missing Language sub-parameter. Language must be defined\n"
     "E0222 [External Model] <out> corner <ALL> type <Output> does not contain reserved port "
     "<D_drive> REQUIRED"},
    {"LanguageInTheWrongCase", Ext("touchstone", "buf.s2p"),
     "E0136@43 Invalid Language (\"touchstone\") (try \"Touchstone\")\n"
     "E0137@44 Incorrect Number of Line Items (2) For Corner: Expecting 3\n"
     "E0144@46 Language must be defined before D2A\n"
     "E0138@47 Missing Language sub-parameter. Language must be defined\n"
     "E0231@47 No Typ Corner Defined for [External Model](required)\n"
     "E0222 [External Model] <out> corner <ALL> type <Output> does not contain reserved port "
     "<D_drive> REQUIRED"},
    {"IbisIssFileMissing", Ext("IBIS-ISS", "gone.iss buf"),
     "E5204 [External Model] <out> corner Typ: IBIS-ISS file 'gone.iss' not found"},
    {"TouchstoneFileMissing", Ext("Touchstone", "gone.s2p"),
     "E5204 [External Model] <out> corner Typ: Touchstone file 'gone.s2p' not found"},
    {"TouchstoneNameSaysFour", Ext("Touchstone", "four.s4p"),
     "E5205 [External Model] <out> corner Typ: Touchstone file 'four.s4p' holds 2 ports, but "
     "its name says 4"},
    {"TouchstonePortsMiscounted", Ext("Touchstone", "buf.s2p", "A_signal drive A_gnd p4 p5"),
     "E5206 [External Model] <out> corner Typ: Touchstone file 'buf.s2p' has 2 ports, but the "
     "Ports lines name 5 (expected 2, or 3 with the reference terminal)"},
    {"TouchstoneWithoutData", Ext("Touchstone", "none.ts"),
     "E5207 [External Model] <out> corner Typ: the port count of Touchstone file 'none.ts' "
     "could not be read"},
    {"SpiceFilesAreNotLookedFor", Ext("SPICE", "gone.sp buf"), ""},
};

INSTANTIATE_TEST_SUITE_P(Languages, NewerModelRows, ::testing::ValuesIn(kLanguageRows), RowName);

// An [External Circuit] names its files as an [External Model] does.
TEST_F(SideFiles, ChecksTheCornerFilesOfAnExternalCircuit) {
    NewerParts p;
    p.tail =
        "[External Circuit] xc\nLanguage Touchstone\nCorner Typ gone.s2p\nPorts a b c\n"
        "[End External Circuit]\n";
    EXPECT_EQ(Check(NewerFile(p)),
              "E5204 [External Circuit] <xc> corner Typ: Touchstone file 'gone.s2p' not found");
}

TEST(TouchstonePorts, ReadsTheCountFromTheNameAndTheData) {
    EXPECT_EQ(TSPORT_FromName("a.s4p"), 4);
    EXPECT_EQ(TSPORT_FromName("dir.v1/A.S12P"), 12);
    EXPECT_EQ(TSPORT_FromName("a.sp"), 0);
    EXPECT_EQ(TSPORT_FromName("a.s4x"), 0);
    EXPECT_EQ(TSPORT_FromName("a.ts"), 0);
    EXPECT_EQ(TSPORT_FromName("a.s99999999p"), 0);
    const struct {
        const char* text;
        int ports;
    } cases[] = {
        {"# Hz S MA R 50\n1 0.5 0\n2 0.5 0\n", 1},
        {kS2p, 2},
        {kS4p, 4},
        {"1 1 0 2 0 3 0\n 4 0 5 0 6 0\n 7 0 8 0 9 0\n", 3},  // one point only
        {"! c\n1 1 0 2 0 ! trailing 3 0\n", 0},              // three numbers short
        {"1 2\n", 0},                                        // no frequency in front
        {kTs2, 2},
        {"[Number of Ports] 0\n", 0},
        {kOptionOnly, 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        FILE* f = std::tmpfile();
        ASSERT_NE(f, nullptr);
        std::fputs(c.text, f);
        std::rewind(f);
        EXPECT_EQ(TSPORT_FromData(f), c.ports) << c.text;
        std::fclose(f);
    }
}

}  // namespace
