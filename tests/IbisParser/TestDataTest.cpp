// Test loads and test data: each row is a body read after a version 4.2
// header (lines 1 to 3, so the body starts at line 4), followed by a clean
// component and its models or by nothing, and every message expected
// (coded, with its line when it carries one).  The after-file checks run
// as the checker runs them.
#include <gtest/gtest.h>

#include <string>

#include "EmiScript.h"
#include "IbisFixture.h"
#include "IbisParser/keyword.h"
#include "IbisParser/testdata.h"
#include "IbisParser/testload.h"

namespace {

// A component whose differential pin pair uses "out", and the models "out"
// (an output) and "in" (an input, used by a single-ended pin only).
const char kTail[] =
    "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 A out\n2 B out\n3 C in\n4 VDD POWER\n"
    "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 0.1 0 NA NA\n"
    "[Model] out\nModel_type Output\nVmeas = 1.5\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n"
    "[Pulldown]\n-1 -1m NA NA\n1 1m NA NA\n[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n"
    "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"
    "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n";

struct Row {
    const char* name;
    std::string body;  // from line 4, before the tail
    std::string expected;
    bool models;  // followed by kTail
};

class TestSections : public IbisFixture {
protected:
    IbisFile* file_ = nullptr;

    // Checks the file as the checker does, keeps its record in file_ and
    // returns the coded messages.
    std::string Check(const std::string& body, bool models = true) {
        MSG_SetCoded(1);
        std::string path = Write("t.ibs", "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1.0\n" +
                                              body + (models ? kTail : "") + "[End]\n");
        if (file_) IBIS_Free(&file_);
        EXPECT_EQ(IBIS_New(&file_), 1);
        PARSE_File(path.c_str(), CMN_FILE_IBS);
        SECTION_RunAfterFileChecks(file_);
        return emiscript::Compact(Output());
    }

    template <typename T>
    const T* First(int section) {
        IbisItem* item = nullptr;
        if (!IBIS_GetList(file_, section, &item) || item == nullptr) return nullptr;
        return static_cast<const T*>(item->record);
    }

    void TearDown() override {
        if (file_) IBIS_Free(&file_);
        PARSE_Reset();
        IbisFixture::TearDown();
    }
};

class TestSectionRows : public TestSections, public ::testing::WithParamInterface<Row> {};

TEST_P(TestSectionRows, ReportsEachFaultAtItsLine) {
    const Row& r = GetParam();
    EXPECT_EQ(Check(r.body, r.models), r.expected) << r.name;
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// Lines 4 and 5.
const std::string TL = "[Test Load] tl\nTest_load_type Single_ended\n";
const std::string TLD = "[Test Load] tl\nTest_load_type Differential\n";
// A complete single-ended test data of seven lines.
const std::string TD =
    "[Test Data] td\nTest_data_type Single_ended\nDriver_model out\nTest_load tl\n"
    "[Rising Waveform Near]\n0 0 NA NA\n1n 1 NA NA\n";
const std::string Rows2 = "0 0 NA NA\n1n 1 NA NA\n";
const std::string N110(110, 'n');
const std::string N41(41, 'm');

const Row kTestLoadRows[] = {
    {"CleanPair", TL + "C1_near=1.5p\nReceiver_model in\n" + TD, "", true},
    {"NumberWithoutEquals", TL + "C1_near 1.5p\n", "E2218@6 Invalid C1_near Line", true},
    {"TypeWithEqualsIsMalformedButCounts", "[Test Load] tl\nTest_load_type = Differential\n",
     "E2218@5 Invalid Test_load_type Line", true},
    {"TypeInWrongCaseSuggestsAndCounts", "[Test Load] tl\nTest_load_type differential\n",
     "E2220@5 Invalid Test_load_type (\"differential\") (try \"Differential\")", true},
    {"TypeUnknown", "[Test Load] tl\nTest_load_type Diff\n",
     "E2221@5 Invalid Test_load_type (\"Diff\")", true},
    {"TypeWithoutSetting", "[Test Load] tl\nTest_load_type\n",
     "E2217@5 'Test_load_type' Subparameter Missing Setting", true},
    {"TypeWithTwoSettings", "[Test Load] tl\nTest_load_type Single_ended x\n",
     "E2219@5 Incorrect Number of Line Items (3) For Test_load_type: Expecting 2", true},
    {"TypeTwice", TL + "Test_load_type Differential\n",
     "E2216@6 Test_load_type Already Defined For Test Load 'tl'", true},
    {"TypeMissing", "[Test Load] tl\nZo = 50\n", "E2224 Test Load 'tl': Test_load_type Not Defined",
     true},
    {"TdWithoutZo", TL + "Td = 100p\n[Test Load] t2\nTest_load_type Single_ended\n",
     "E2225 Test Load 'tl': If Td is specified then Zo must be specified also", true},
    {"PullResistorsWithoutTermination", TL + "Rp1_far = 50\nRp2_near = 50\n",
     "E2226 Test Load 'tl': V_term1 must be specified when Rp1_near or Rp1_far is specified\n"
     "E2227 Test Load 'tl': V_term2 must be specified when Rp2_near or Rp2_far is specified",
     true},
    {"DifferentialPartsOnSingleEnded",
     TL + "R_diff_near = 100\nR_diff_far = 100\nReceiver_model_inv in\n",
     "W2228 Test Load 'tl' : R_diff_near specified for Test_load_type which is not "
     "Differential\n"
     "W2229 Test Load 'tl' : R_diff_far specified for Test_load_type which is not "
     "Differential\n"
     "W2230 Test Load 'tl' : Receiver_model_inv specified for Test_load_type which is not "
     "Differential\n"
     "W2236 Receiverr_model_inv 'in' in Test Load 'tl' is not associated with a Differential "
     "Pin.",
     true},
    {"NumberTwice", TL + "C1_near = 1p\nC1_near = 2p\n",
     "E2237@7 C1_near Already Defined For Test Load", true},
    {"NumberInvalid", TL + "Zo = fifty\n", "E2238@6 Invalid Zo Value (\"fifty\")", true},
    {"NumberWithExtraItemStillStored", TL + "Zo = 50 60\nTd = 1n\n",
     "E2219@6 Incorrect Number of Line Items (4) For Zo: Expecting 3", true},
    {"SubparameterNamesKeepTheirCase", TL + "c1_near = 1p\n",
     "E2214@6 Unknown Line Among Test Load", true},
    {"TerminationWithOneValue", TL + "V_term1 = 1.2\nRp1_near = 50\n",
     "E3901@6 No minimum Value Was Provided for V_term1\n"
     "E3901@6 No maximum Value Was Provided for V_term1",
     true},
    {"TerminationTypicalNA", TL + "V_term2 = NA 1 2\nRp2_far = 50\n",
     "E2239@6 'NA' Not Allowed For Typical Value", true},
    {"TerminationTwice", TL + "V_term1 = 1 1 1\nV_term1 = 2 2 2\n",
     "E2216@7 V_term1 Already Defined For Test Load 'tl'", true},
    {"ReceiverNameTooLongIsCut", TL + "Receiver_model " + N41 + "\n",
     "E2222@6 Receiver_model Name Over 40 Characters Long\n"
     "E2233 Receiver_model 'mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm' in Test Load 'tl' is not "
     "defined in the file",
     true},
    {"ReceiverReservedWord", TL + "Receiver_model GND\n",
     "E2223@6 Invalid Receiver_model (\"GND\"); Reserved Word.\n"
     "E2233 Receiver_model 'GND' in Test Load 'tl' is not defined in the file",
     true},
    {"ReceiverTwice", TL + "Receiver_model in\nReceiver_model out\n",
     "E2216@7 Receiver_model Already Defined For Test Load 'tl'", true},
    {"ReceiverIsADriver", TL + "Receiver_model out\n",
     "W2234 Driver_model 'out' in Test Load 'tl' is not an input type.", true},
    {"InvertingReceiverUndefined", TLD + "Receiver_model_inv zz\n",
     "E2235 Receiver_model_inv 'zz' in Test Load 'tl' is not defined in the file", true},
    {"InvertingReceiverOnDifferentialPin", TLD + "Receiver_model_inv out\n",
     "W2234 Driver_model 'out' in Test Load 'tl' is not an input type.", true},
    {"NoModelsReportedOncePerTestLoad", TL + "Receiver_model a\nReceiver_model_inv b\n",
     "W2230 Test Load 'tl' : Receiver_model_inv specified for Test_load_type which is not "
     "Differential\n"
     "E2232 Test Load 'tl' references undefined models",
     false},
    {"NoModelNamedNoModelCheck", TL, "", false},
    // the name line
    {"NameMissing", "[Test Load]\nTest_load_type Single_ended\n",
     "E2208@4 'Test Load' Keyword Missing name", true},
    {"NameOfTwoWords", "[Test Load] a b\nTest_load_type Single_ended\n",
     "E2209@4 Incorrect Number of Line Items (2) For Keyword Test Load: Expecting 1", true},
    {"NameTooLong", "[Test Load] " + N110 + "\nTest_load_type Single_ended\n",
     "E0905@4 Exceeds 120 chararacters.\n"
     "E2210@4 Test Load Name Over 109 Characters Long",
     true},
    {"NameReserved", "[Test Load] NA\nTest_load_type Single_ended\n",
     "E2211@4 Invalid Test Load Name (\"NA\"); Reserved Word.", true},
    {"NameRepeated", TL + TL, "E2212@6 TestLoad Name Previously Defined (\"tl\")", true},
};

INSTANTIATE_TEST_SUITE_P(TestLoad, TestSectionRows, ::testing::ValuesIn(kTestLoadRows), RowName);

// Test data that names `model` as its driver, under `type`, with one table.
std::string Data(const char* type, const char* model, const char* table = "Rising Waveform Near") {
    return std::string("[Test Data] td\nTest_data_type ") + type + "\nDriver_model " + model +
           "\nTest_load tl\n[" + table + "]\n" + Rows2;
}

const Row kTestDataRows[] = {
    {"SubparametersMissing", "[Test Data] td\n[Rising Waveform Near]\n" + Rows2,
     "E2332 Test Data 'td': Test_data_type Not Defined\n"
     "E2332 Test Data 'td': Driver_model Not Defined\n"
     "E2332 Test Data 'td': Test_load Not Defined",
     true},
    {"NoWaveform",
     TL + "[Test Data] td\nTest_data_type Single_ended\nDriver_model out\n"
          "Test_load tl\n[Test Data] t2\n",
     "E2334 Test Data 'td': At least one Rising/Falling Waveform must be specified\n"
     "E2332 Test Data 't2': Test_data_type Not Defined\n"
     "E2332 Test Data 't2': Driver_model Not Defined\n"
     "E2332 Test Data 't2': Test_load Not Defined\n"
     "E2334 Test Data 't2': At least one Rising/Falling Waveform must be specified",
     true},
    {"DifferentialTablesOnSingleEndedReportedOnce",
     TL + Data("Single_ended", "out", "Diff Rising Waveform Near") +
         "[Diff Falling Waveform Far]\n" + Rows2,
     "E2335 Test Data 'td': Differential Rising/Falling Waveform can be specified only with "
     "Differential Test_data_type",
     true},
    {"InvertingDriverOnSingleEnded",
     TL +
         "[Test Data] td\nTest_data_type Single_ended\n"
         "Driver_model out\nDriver_model_inv out\nTest_load tl\n"
         "[Rising Waveform Near]\n" +
         Rows2,
     "E2333 Test Data 'td': Driver_model_inv can only be specified with Differential "
     "Test_data_type",
     true},
    {"TableRepeated", TL + TD + "[Rising Waveform Near]\n" + Rows2,
     "E2304@13 [Rising Waveform Near] Already Defined", true},
    {"FixtureInGoldenWaveform",
     TL + Data("Single_ended", "out") +
         "[Falling Waveform Far]\n"
         "V_fixture = 0\n" +
         Rows2,
     "E2010@14 SubParameters are not allowed in Golden Waveforms", true},
    {"TableOfOneRow", TL + Data("Single_ended", "out") + "[Rising Waveform Far]\n0 0 NA NA\n",
     "E2005 Require at least 2 Data Points for Rising Waveform Far Waveform Beginning at Line "
     "13",
     true},
    {"UnknownTableLine",
     TL + Data("Single_ended", "out", "Diff Rising Waveform Far") + "[Test Data] x\nfoo\n",
     "E2335 Test Data 'td': Differential Rising/Falling Waveform can be specified only with "
     "Differential Test_data_type\n"
     "E2322@14 Unknown Line Among Test Data\n"
     "E2332 Test Data 'x': Test_data_type Not Defined\n"
     "E2332 Test Data 'x': Driver_model Not Defined\n"
     "E2332 Test Data 'x': Test_load Not Defined\n"
     "E2334 Test Data 'x': At least one Rising/Falling Waveform must be specified",
     true},
    {"TypeInWrongCase", TL + Data("single_ended", "out"),
     "E2328@7 Invalid Test_data_type (\"single_ended\") (try \"Single_ended\")", true},
    {"DriverWithoutSettingStoresNothing",
     TL +
         "[Test Data] td\nTest_data_type Single_ended\nDriver_model\nTest_load tl\n"
         "[Rising Waveform Near]\n" +
         Rows2,
     "E2325@8 'Driver_model' Subparameter Missing Setting\n"
     "E2332 Test Data 'td': Driver_model Not Defined",
     true},
    {"DriverTwice",
     TL +
         "[Test Data] td\nTest_data_type Single_ended\nDriver_model out\n"
         "Driver_model in\nTest_load tl\n[Rising Waveform Near]\n" +
         Rows2,
     "E2324@9 Driver_model Already Defined For Test Data 'td'", true},
    {"DriverReserved", TL + Data("Single_ended", "NA"),
     "E2331@8 Invalid Driver_model (\"NA\"); Reserved Word.\n"
     "E2338 Driver_model 'NA' in Test Data 'td' is not defined in the file",
     true},
    {"TestLoadReferenceTooLong",
     TL + "[Test Data] td\nTest_data_type Single_ended\nDriver_model out\nTest_load " +
         std::string(111, 'x') + "\n[Rising Waveform Near]\n" + Rows2,
     "E0905@9 Exceeds 120 chararacters.\n"
     "E2330@9 Test_load Name Over 110 Characters Long\n"
     "E2343 Test Load '" +
         std::string(110, 'x') + "' referenced in Test Data 'td' is not defined in the file",
     true},
    {"DriverUndefined", TL + Data("Single_ended", "zz"),
     "E2338 Driver_model 'zz' in Test Data 'td' is not defined in the file", true},
    {"DriverIsAReceiver", TL + Data("Single_ended", "in"),
     "W2339 Driver_model 'in' in Test Data 'td' is not an output type.", true},
    {"InvertingDriverChecks",
     TLD +
         "[Test Data] td\nTest_data_type Differential\nDriver_model out\n"
         "Driver_model_inv in\nTest_load tl\n[Diff Rising Waveform Near]\n" +
         Rows2 +
         "[Test Data] t2\nTest_data_type Differential\nDriver_model out\nDriver_model_inv zz\n"
         "Test_load tl\n[Diff Rising Waveform Near]\n" +
         Rows2,
     "E2340 Driver_model_inv 'zz' in Test Data 't2' is not defined in the file\n"
     "W2339 Driver_model 'in' in Test Data 'td' is not an output type.\n"
     "W2341 Driver_model_inv 'in' in Test Data 'td' is not associated with a Differential Pin.",
     true},
    {"NoModels", TL + Data("Single_ended", "out"),
     "E2337 Test Data 'td' references undefined models", false},
    {"NoTestLoads", Data("Single_ended", "out"),
     "E2342 Test Data 'td' references undefined Test Loads", true},
    {"TestLoadUndefined",
     "[Test Load] other\nTest_load_type Single_ended\n" + Data("Single_ended", "out"),
     "E2343 Test Load 'tl' referenced in Test Data 'td' is not defined in the file", true},
    {"TypesDiffer", TLD + Data("Single_ended", "out"),
     "E2344 Test_data_type in Test Data 'td' is not the same as Test_load_type in referenced "
     "Test Load 'tl'",
     true},
    {"InvalidTypeNotComparedAgain", TLD + Data("Single", "out"),
     "E2329@7 Invalid Test_data_type (\"Single\")", true},
    // the name line
    {"NameMissing",
     TL +
         "[Test Data]\nTest_data_type Single_ended\nDriver_model out\n"
         "Test_load tl\n[Rising Waveform Near]\n" +
         Rows2,
     "E2316@6 'Test Data' Keyword Missing name", true},
    {"NameOfTwoWords",
     TL +
         "[Test Data] a b\nTest_data_type Single_ended\nDriver_model out\n"
         "Test_load tl\n[Rising Waveform Near]\n" +
         Rows2,
     "E2317@6 Incorrect Number of Line Items (2) For Keyword Test Data: Expecting 1", true},
    {"NameTooLong",
     TL + "[Test Data] " + N110 +
         "\nTest_data_type Single_ended\n"
         "Driver_model out\nTest_load tl\n[Rising Waveform Near]\n" +
         Rows2,
     "E0905@6 Exceeds 120 chararacters.\n"
     "E2318@6 Test Data Name Over 109 Characters Long",
     true},
    {"NameReserved",
     TL +
         "[Test Data] POWER\nTest_data_type Single_ended\nDriver_model out\n"
         "Test_load tl\n[Rising Waveform Near]\n" +
         Rows2,
     "E2319@6 Invalid Test Data Name (\"POWER\"); Reserved Word.", true},
    {"NameRepeated", TL + TD + TD, "E2320@13 TestData Name Previously Defined (\"td\")", true},
};

INSTANTIATE_TEST_SUITE_P(TestData, TestSectionRows, ::testing::ValuesIn(kTestDataRows), RowName);

TEST_F(TestSections, StoresValuesWithTheirScale) {
    EXPECT_EQ(Check(TL + "C1_near = 1.5p\nZo = 50 60\nV_term1 = 1.2 1.1 1.3\nRp1_near = 1k\n" + TD),
              "E2219@7 Incorrect Number of Line Items (4) For Zo: Expecting 3");
    const TestLoad* t = First<TestLoad>(SECTION_TEST_LOAD);
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t->name, "tl");
    EXPECT_EQ(t->Test_load_type, TST_TYPE_SINGLE_ENDED);
    EXPECT_TRUE(t->given[TESTLOAD_C1_NEAR]);
    EXPECT_DOUBLE_EQ(t->value[TESTLOAD_C1_NEAR], 1.5e-12);
    EXPECT_DOUBLE_EQ(t->value[TESTLOAD_ZO], 50.0);
    EXPECT_DOUBLE_EQ(t->value[TESTLOAD_RP1_NEAR], 1000.0);
    ASSERT_NE(t->V_term1, nullptr);
    EXPECT_DOUBLE_EQ(t->V_term1->value[RNG_MAX], 1.3);
    EXPECT_EQ(t->V_term2, nullptr);
}

TEST_F(TestSections, RepeatedTableReplacesTheFirst) {
    Check(TL + TD + "[Rising Waveform Near]\n0 0 NA NA\n1n 2 NA NA\n2n 3 NA NA\n");
    const TestData* d = First<TestData>(SECTION_TEST_DATA);
    ASSERT_NE(d, nullptr);
    ASSERT_NE(d->wave[TESTDATA_RISING_NEAR], nullptr);
    EXPECT_EQ(d->wave[TESTDATA_RISING_NEAR]->table.count, 3);
    EXPECT_EQ(d->wave[TESTDATA_RISING_FAR], nullptr);
}

TEST_F(TestSections, EveryTableReportsItsOwnRepeat) {
    const char* const table[] = {"Rising Waveform Near",      "Falling Waveform Near",
                                 "Rising Waveform Far",       "Falling Waveform Far",
                                 "Diff Rising Waveform Near", "Diff Falling Waveform Near",
                                 "Diff Rising Waveform Far",  "Diff Falling Waveform Far"};
    for (int i = 0; i < 8; i++) {
        std::string body =
            TLD + Data("Differential", "out", table[i]) + "[" + table[i] + "]\n" + Rows2;
        EXPECT_EQ(Check(body),
                  "E" + std::to_string(2304 + i) + "@13 [" + table[i] + "] Already Defined")
            << table[i];
    }
}

// A golden table keeps its first 1000 rows and reports the rest once.
TEST_F(TestSections, CapsTablesAtTheirRowLimit) {
    std::string rows;
    for (int i = 0; i < 1003; i++) rows += std::to_string(i) + "p 0 NA NA\n";
    EXPECT_EQ(Check(TL + Data("Single_ended", "out") + "[Falling Waveform Near]\n" + rows),
              "E2018@1014 More than 1000 data points provided for Falling Waveform Near table");
    const TestData* d = First<TestData>(SECTION_TEST_DATA);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->wave[TESTDATA_FALLING_NEAR]->table.count, 1000);
}

// Lines that only a broken route could deliver: orphans and foreign
// keywords reach the sections directly.
TEST_F(TestSections, RejectsLinesOutsideTheirRecord) {
    MSG_SetCoded(1);
    char keyword[] = "[Test Load] x";
    char data[] = "Zo = 50";
    TESTLOAD_Reset();
    TESTDATA_Reset();
    TESTLOAD_Line(SECTION_LINE_KEYWORD, KW_TEST_LOAD, keyword);
    TESTLOAD_Line(SECTION_LINE_DATA, KW_TEST_LOAD, data);
    TESTDATA_Line(SECTION_LINE_KEYWORD, KW_TEST_DATA, keyword);
    TESTDATA_Line(SECTION_LINE_DATA, KW_RISING_WAVEFORM_NEAR, data);
    EXPECT_EQ(emiscript::Compact(Output()),
              "E2202@0 Orphan Test Load keyword.\nE2203@0 Orphan data line keyword.\n"
              "E2302@0 Orphan Test Data keyword.\nE2303@0 Orphan data line keyword.");

    EXPECT_EQ(IBIS_New(&file_), 1);
    TESTLOAD_Init();
    TESTLOAD_Line(SECTION_LINE_KEYWORD, KW_MODEL, keyword);
    TESTLOAD_Line(SECTION_LINE_DATA, KW_MODEL, data);
    TESTDATA_Init();
    TESTDATA_Line(SECTION_LINE_KEYWORD, KW_MODEL, keyword);
    TESTDATA_Line(SECTION_LINE_DATA, KW_MODEL, data);
    std::string out = emiscript::Compact(Output());
    EXPECT_NE(out.find("B2204@0 IbisParser/testload:"), std::string::npos) << out;
    EXPECT_NE(out.find("E2205@0 Orphan Data line."), std::string::npos) << out;
    EXPECT_NE(out.find("B2312@0 IbisParser/testdata:"), std::string::npos) << out;
    EXPECT_NE(out.find("E2313@0 Orphan Data line."), std::string::npos) << out;
    TESTLOAD_Reset();
    TESTDATA_Reset();
}

}  // namespace
