// The model sections: each row is a model snippet, the file version it is
// read under and one message it must (or must not) produce.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "IbisFixture.h"
#include "IbisParser/check.h"
#include "IbisParser/mdl.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A complete Output model: it passes alone, so each row only adds the fault
// it is about.  The body starts on line 4, after the three header lines.
const char kOutput[] =
    "[Model] m\nModel_type Output\nVmeas = 1.5\nC_comp 1p 0.9p 1.1p\n"
    "[Voltage Range] 3.3 3.0 3.6\n[Pulldown]\n-1 -1m -1m -1m\n1 1m 1m 1m\n"
    "[Ramp]\ndV/dt_r 1/1n 1/2n 1/0.5n\ndV/dt_f 1/1n 1/2n 1/0.5n\n";

std::string Rows(int n, double step) {
    std::string s;
    for (int i = 0; i < n; i++) s += std::to_string(i * step) + "n 0 0 0\n";
    return s;
}

struct Case {
    const char* version;
    std::string body;
    const char* message;  // one output line, wrapped lines joined
    bool present;
};

class ModelSection : public IbisFixture, public ::testing::WithParamInterface<Case> {
protected:
    std::string Check(const char* version, const std::string& body) {
        std::string path =
            Write("t.ibs", std::string("[IBIS Ver] ") + version +
                               "\n[File Name] t.ibs\n[File Rev] 1.0\n" + body + "[End]\n");
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        EXPECT_EQ(PARSE_File(path.c_str(), CMN_FILE_IBS), 1);
        SECTION_RunAfterFileChecks(file);
        IBIS_Free(&file);
        std::string out = Output(), flat;
        for (size_t i = 0; i < out.size(); i++) {
            if (out.compare(i, 6, "-\n    ") == 0) {
                flat += "- ";
                i += 5;
            } else {
                flat += out[i];
            }
        }
        return flat;
    }
};

TEST_P(ModelSection, ReportsTheRowsMessage) {
    const Case& c = GetParam();
    std::string out = Check(c.version, c.body);
    if (c.present)
        EXPECT_THAT(out, HasSubstr(std::string(c.message) + "\n")) << c.body;
    else
        EXPECT_THAT(out, Not(HasSubstr(c.message))) << c.body;
}

TEST_F(ModelSection, PassesACompleteModelInEveryVersion) {
    for (const char* v : {"2.1", "3.2", "4.2", "5.0"}) {
        EXPECT_EQ(Check(v, kOutput), "") << v;
    }
}

TEST_F(ModelSection, KeepsTheRecordsItReads) {
    std::string path = Write("t.ibs", std::string("[IBIS Ver] 4.2\n[File Name] t.ibs\n"
                                                  "[File Rev] 1\n") +
                                          kOutput +
                                          "[Rising Waveform]\nR_fixture = 50\n"
                                          "V_fixture = 0\n0 0 0 0\n1n 1 1 1\n[End]\n");
    IbisFile* file = nullptr;
    IbisItem* item = nullptr;
    ASSERT_EQ(IBIS_New(&file), 1);
    ASSERT_EQ(PARSE_File(path.c_str(), CMN_FILE_IBS), 1);
    ASSERT_EQ(IBIS_GetModels(file, &item), 1);
    const MDL_Model* m = static_cast<const MDL_Model*>(item->record);
    EXPECT_STREQ(m->name, "m");
    EXPECT_EQ(m->type, MDL_TYPE_OUTPUT);
    EXPECT_EQ(m->table[MDL_PULLDOWN].count, 2);
    EXPECT_DOUBLE_EQ(m->ccomp[MDL_C_COMP].value[RNG_MAX], 1.1e-12);
    ASSERT_NE(m->ramp, nullptr);
    EXPECT_DOUBLE_EQ(m->ramp->dt[RAMP_FALL].value[RNG_MIN], 2e-9);
    ASSERT_EQ(m->rising.count, 1);
    EXPECT_EQ(m->rising.first->table.count, 2);
    IBIS_Free(&file);
    EXPECT_EQ(Output(), "");
}

// Reads one file under `version` and hands back its first model, or null;
// the file record stays alive until the fixture frees it.
class ModelRecord : public ModelSection {
protected:
    IbisFile* file_ = nullptr;
    const MDL_Model* Read(const char* version, const std::string& body) {
        std::string path =
            Write("t.ibs", std::string("[IBIS Ver] ") + version +
                               "\n[File Name] t.ibs\n[File Rev] 1\n" + body + "[End]\n");
        IbisItem* item = nullptr;
        EXPECT_EQ(IBIS_New(&file_), 1);
        EXPECT_EQ(PARSE_File(path.c_str(), CMN_FILE_IBS), 1);
        SECTION_RunAfterFileChecks(file_);
        return IBIS_GetModels(file_, &item) ? static_cast<const MDL_Model*>(item->record) : nullptr;
    }
    void TearDown() override {
        IBIS_Free(&file_);
        ModelSection::TearDown();
    }
};

TEST_F(ModelRecord, KnowsEachModelTypeFromItsVersionOn) {
    // the version that first accepts each type, in code order
    const char* firstVersion[] = {"2.1", "2.1", "2.1", "2.1", "2.1", "2.1", "2.1",
                                  "2.1", "2.1", "2.1", "2.1", "2.1", "2.1", "2.1",
                                  "3.2", "3.2", "3.2", "4.2", "4.2", "4.2", "4.2"};
    const char* versions[] = {"2.1", "3.2", "4.2", "5.0"};
    for (int type = MDL_TYPE_INPUT; type <= MDL_TYPE_LAST; type++) {
        for (const char* v : versions) {
            const MDL_Model* m =
                Read(v, std::string("[Model] m\nModel_type ") + MDL_TypeName(type) + "\n");
            ASSERT_NE(m, nullptr);
            bool known = std::string(v) >= firstVersion[type - MDL_TYPE_INPUT];
            EXPECT_EQ(m->type, known ? type : MDL_TYPE_NONE) << MDL_TypeName(type) << " " << v;
            IBIS_Free(&file_);
            Output();
        }
    }
}

TEST_F(ModelRecord, ForgetsTheModelNamesOfTheFileBefore) {
    Read("3.2", kOutput);
    IBIS_Free(&file_);
    Read("3.2", kOutput);
    EXPECT_EQ(Output(), "");
}

TEST_F(ModelRecord, MarksScheduledModelsAndRefusesNestedSchedules) {
    std::string body = std::string(kOutput) +
                       "[Driver Schedule]\nm2 1n 1n 1n 1n\nm3 1n 1n 1n 1n\n" +
                       "[Model] m2\nModel_type Output\nVmeas = 1\nC_comp 1p 1p 1p\n" +
                       "[Voltage Range] 3 3 3\n[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\n" +
                       "dV/dt_f 1/1n 1/1n 1/1n\n[Driver Schedule]\nm 1n 1n 1n 1n\n";
    const MDL_Model* m = Read("3.2", body);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->schedule->count, 2);
    EXPECT_EQ(m->scheduled, 1);  // m2's schedule names it
    Output();
    EXPECT_EQ(Check("3.2", body),
              std::string("ERROR - Model m2 used in the Driver Schedule of Model m cannot itself "
                          "have a Driver Schedule\n"
                          "ERROR - Model m3 used in the Driver Schedule of Model m is not defined\n"
                          "WARNING - Model 'm2': The [Driver_Schedule] has only one model defined\n"
                          "ERROR - Model m used in the Driver Schedule of Model m2 cannot itself "
                          "have a Driver Schedule\n"));
}

TEST_F(ModelRecord, HandsTheEmiBlockItsLines) {
    const MDL_Model* m =
        Read("5.0", std::string(kOutput) + "[Begin EMI Model]\nDomain Digital\n[End EMI Model]\n");
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->emi, nullptr);
    EXPECT_EQ(m->emi->domain, MDLEMI_DOMAIN_DIGITAL);
}

// Pulse tables are read by the submodel section through the same waveform
// routines; their extra checks run when the table closes.
TEST_F(ModelSection, ChecksPulseTablesWithTheirOwnLimit) {
    PARSE_Reset();  // line 0, whatever an earlier test in this process read
    PARSE_SetDispatchVersion(5);
    Waveform* w = WVFRM_New(WVFRM_GND_PULSE);
    ASSERT_NE(w, nullptr);
    for (int i = 0; i <= 100; i++) {
        std::string row = std::to_string(i) + "n " + (i == 3 ? "-0.1" : "0.2") + " NA NA";
        WVFRM_Line(w, &row[0]);
    }
    WVFRM_Close(w);
    EXPECT_EQ(w->table.count, 100);
    EXPECT_EQ(
        Output(),
        "ERROR (line    0) -\n    More than 100 data points provided for GND Pulse Table table\n"
        "WARNING - Found some GND Pulse Table (Typical) offsets less than 0 for Table Beginning at "
        "Line 0\n");
    WVFRM_Free(&w);
    w = WVFRM_New(WVFRM_POWER_PULSE);
    std::string a = "0 0 0 0", b = "1n 1 0 0";
    WVFRM_Line(w, &a[0]);
    WVFRM_Line(w, &b[0]);
    WVFRM_Close(w);
    EXPECT_EQ(Output(),
              "ERROR - First Typical Value should be the same as the Last for POWER Pulse Table "
              "Waveform Beginning at Line 0\n"
              "WARNING - Found some POWER Pulse Table (Typical) offsets greater than 0 for Table "
              "Beginning at Line 0\n");
    WVFRM_Free(&w);
}

const std::string M = kOutput;
const std::string kIn =
    "[Model] r\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p 1p 1p\n"
    "[Voltage Range] 3.3 3 3.6\n";

const Case kCases[] = {
    // the name line and its limits per version
    {"3.2", "[Model] abcdefghijklmnopqrst\n", "Model Name Over", false},
    {"3.2", "[Model] abcdefghijklmnopqrstu\n",
     "ERROR (line    4) - Model Name Over 20 Characters Long", true},
    {"4.2", "[Model] " + std::string(41, 'a') + "\n",
     "ERROR (line    4) - Model Name Over 40 Characters Long", true},
    {"3.2", "[Model] GND\n", "ERROR (line    4) - Invalid Model Name (\"GND\"); Reserved Word.",
     true},
    {"3.2", M + M, "ERROR (line   15) - Model Name Previously Defined (\"m\")", true},
    {"3.2", "[Model] a b\n",
     "ERROR (line    4) - Incorrect Number of Line Items (2) For Keyword Model: Expecting 1", true},
    {"3.2", "[Model]\n", "ERROR - 'Model' Keyword Missing name", true},
    // Model_type and the version's list
    {"3.2", "[Model] m\nModel_type output\n",
     "ERROR (line    5) - Invalid Model_type (\"output\") (try \"Output\")", true},
    {"3.2", "[Model] m\nModel_type I/O_diff\n",
     "ERROR (line    5) - Invalid Model_type (\"I/O_diff\")", true},
    {"2.1", "[Model] m\nModel_type Series\n", "ERROR (line    5) - Invalid Model_type (\"Series\")",
     true},
    {"4.2", "[Model] m\nModel_type\n",
     "ERROR (line    5) - 'Model_type' Subparameter Missing Setting", true},
    {"3.2", "[Model] m\nC_comp 1p 1p 1p\n", "ERROR - Model 'm': Model_type Not Defined", true},
    {"3.2", "[Model] m\nPolarity inverting\n",
     "ERROR (line    5) - Invalid Polarity (\"inverting\") (try \"Inverting\")", true},
    // subparameters by type and version
    {"3.2", "[Model] m\nModel_type Output\nVinl = 0.8\n",
     "WARNING (line    6) - Vinl should not be specified for model type Output", true},
    {"3.2", "[Model] m\nModel_type Output\nVinl = 0.8\n", "must have", false},
    {"3.2", "[Model] m\nModel_type Input\nVmeas = 0.8\n",
     "WARNING (line    6) - Vmeas should not be specified for model type Input", true},
    {"3.2", "[Model] m\nModel_type Output\nRref_diff = 100\n",
     "ERROR (line    6) - Sub Parameter Rref_diff is valid only for IBIS version >= 4.1", true},
    {"4.2", "[Model] m\nModel_type Input\nCref_diff = 1p\n",
     "WARNING (line    6) - Creff_diff should not be specified for model type Input", true},
    {"3.2", "[Model] m\nC_comp_pullup 1p 1p 1p\n",
     "ERROR (line    5) - Sub Parameter C_comp_pullup is valid only for IBIS version >= 4.0", true},
    {"3.2", "[Model] m\nC_comp NA 1p 1p\n",
     "ERROR (line    5) - 'NA' Not Allowed For Typical Value", true},
    {"3.2", "[Model] m\nC_comp 1p 2p 3p\n",
     "WARNING (line    5) - Model m: C_comp min value is not the smallest value listed", true},
    {"3.2", "[Model] m\nVinl = x\n", "ERROR (line    5) - Invalid Vinl Value (\"x\")", true},
    {"3.2", "[Model] m\nVinl = 1 2\n", "ERROR (line    5) - Invalid Vinl Line", true},
    {"3.2", "[Model] m\nBogus = 1\n", "ERROR (line    5) - Unknown Line Among Model Data", true},
    {"3.2", "[Model] m\nModel_type I/O\nVinl = 2\nVinh = 3\nVmeas = 1\n",
     "CAUTION - Vmeas is <= Vinl for model m", false},
    {"3.2", "[Model] m\nModel_type Output\nModel_type Input\n",
     "ERROR (line    6) - Model_type Already Defined For Model 'm'", true},
    // keyword triples
    {"3.2", M + "[Temperature Range] NA 0 100\n",
     "ERROR (line   15) - 'NA' Not Allowed For Typical Value", true},
    {"3.2", M + "[Temperature Range] 50\n",
     "ERROR (line   15) - No minimum Value Was Provided for [Temperature Range]", true},
    {"3.2", M + "[Temperature Range] 50 1\n",
     "ERROR (line   15) - No maximum Value Was Provided for [Temperature Range]", true},
    {"3.2", M + "[Temperature Range] 1 2 3 4\n",
     "ERROR (line   15) - Incorrect Number of Line Items (4) For [Temperature Range]: Expecting 3",
     true},
    {"3.2", M + "[Pullup Reference] 1 2 3\n",
     "WARNING (line   15) - Typ value is not in between Min and Max ", true},
    {"3.2", M + "[Voltage Range] 3 3 3\n",
     "ERROR (line   15) - [Voltage Range] Already Defined For Model 'm'", true},
    {"3.2", M + "[TTgnd] 0 1n -1n\n", "ERROR (line   15) - TTgnd Typical value should be > 0",
     true},
    {"3.2", M + "[TTpower] 1n 1n -1n\n", "ERROR (line   15) - TTpower Max value should be > 0",
     true},
    {"3.2", M + "[Voltage Range] 3 3 3\nstray\n",
     "ERROR (line   16) - Expecting Keyword.  Invalid Line", true},
    // end-of-model checks
    {"3.2",
     "[Model] m\nModel_type Output\nVmeas = 1\n[Voltage Range] 3 3 3\n[Ramp]\ndV/dt_r 1/1n 1/1n "
     "1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n",
     "ERROR - Model m: One of C_comp, C_comp_pullup, C_comp_pulldown, C_comp_power_clamp, "
     "C_comp_gnd_clamp must be defined",
     true},
    {"3.2", "[Model] r\nModel_type Input\nC_comp 1p 1p 1p\n[Voltage Range] 3 3 3\n",
     "WARNING - Model 'r': Model_type 'Input' must have Vinl set", true},
    {"3.2", kIn + "[Rgnd] 50 50 50\n",
     "ERROR - Model 'r': Rgnd is set when Model_type is not Terminator", true},
    {"3.2",
     "[Model] t\nModel_type Terminator\nC_comp 1p 1p 1p\n[Voltage Range] 3 3 3\n[Rac] 50 50 50\n",
     "ERROR - Model 't': Cac must be defined when Rac is", true},
    {"3.2", "[Model] t\nModel_type Terminator\nC_comp 1p 1p 1p\n[Voltage Range] 3 3 3\n", "Ramp",
     false},
    {"3.2", "[Model] r\nModel_type Input\nVinl = 1\nVinh = 2\nC_comp 1p 1p 1p\n",
     "ERROR - Model 'r': GND Clamp Reference Required when No Voltage Range is Specified", true},
    {"3.2",
     "[Model] m\nModel_type I/O\nVinl = 1\nVinh = 2\nVmeas = 1.5\nC_comp 1p 1p 1p\n[Voltage Range] "
     "3 3 3\n",
     "ERROR - Model 'm': Ramp Not Defined", true},
    {"3.2",
     "[Model] s\nModel_type Series\nC_comp 1p 1p 1p\n[Voltage Range] 3 3 3\n[R Series] 1 1 "
     "1\n[Ramp]\n",
     "ERROR - Model 's': Ramp Not Allowed for Series and Series_switch", true},
    {"3.2", "[Model] m\nModel_type Output\nC_comp 1p 1p 1p\n[Voltage Range] 3 3 3\n",
     "WARNING - Model 'm': Vmeas timing test load parameter should be specified", true},
    {"3.2", "[Model] m\nModel_type Open_drain\nC_comp 1p 1p 1p\n[Model Spec]\nVmeas 1 1 1\n",
     "WARNING - Model 'm': Vmeas, Vref and Rref timing test load parameters should be specified",
     true},
    // clamp tables and I-V rows
    {"3.2", kIn + "[GND Clamp]\n-1 -1m NA NA\n-0.5 -0.1m NA NA\n",
     "WARNING - Model r: GND Clamp : Typical value never becomes zero", true},
    {"3.2", kIn + "[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n", "never becomes zero", false},
    {"3.2", kIn + "[GND Clamp]\n-1 -1m NA NA\n",
     "ERROR - Require at least 2 Voltage Points for GND Clamp Beginning at Line 10", true},
    {"3.2", kIn + "[GND Clamp]\n-1 -1m 1\n",
     "ERROR (line   11) - Incorrect Number of Line Items (3) For GND Clamp: Expecting 4", true},
    {"3.2", kIn + "[GND Clamp]\nNA 1 1 1\n", "ERROR (line   11) - Voltage Value Cannot Be 'NA'",
     true},
    {"3.2", kIn + "[GND Clamp]\n-1 NA NA NA\n0 0 NA NA\n",
     "ERROR - First Typical Value Cannot Be 'NA' for GND Clamp Beginning at Line 10", true},
    {"3.2", M + "[Pulldown]\n0 0 0 0\n1 1 1 1\n", "ERROR (line   15) - Pulldown Already Defined",
     true},
    {"3.2", kIn + "[GND Clamp]\n" + Rows(101, 0.01),
     "ERROR (line  111) - More Than 100 Voltage Points Provided For GND Clamp", true},
    // [Ramp]
    {"3.2", M + "[Ramp]\n", "ERROR (line   15) - Ramp Already Defined", true},
    {"3.2", "[Model] m\n[Ramp]\ndV/dt_r NA 1/1n 1/1n\n",
     "ERROR (line    6) - 'NA' not allowed for dV/dt_r Typical value", true},
    {"3.2", "[Model] m\n[Ramp]\ndV/dt_r 0/1n 1/1n 1/1n\n",
     "ERROR (line    6) - dV must be greater than 0 in a Ramp specification", true},
    {"3.2", "[Model] m\n[Ramp]\ndV/dt_r 1/1n 1/1n\n",
     "ERROR (line    6) - No maximum Value Was Provided for dV/dt_r", true},
    {"3.2", "[Model] m\n[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\n",
     "ERROR - dV/dt_f Not Defined For Ramp Beginning on Line 5", true},
    {"3.2", "[Model] m\n[Ramp]\ndV/dt_r 1-1n 1/1n 1/1n\n",
     "ERROR (line    6) - Invalid dV/dt_r typ Value (\"1-1n\")", true},
    {"3.2", "[Model] m\n[Ramp]\nR_load = x\n", "ERROR (line    6) - Invalid R_load Value (\"x\")",
     true},
    {"3.2", "[Model] m\n[Ramp]\nR_load = 5z0\n",
     "WARNING (line    6) - Suspicious Ramp R_load Value (\"5z0\"); Numeric in Scale", true},
    {"3.2", "[Model] m\n[Ramp]\nR_load = 50\nR_load = 50\n",
     "ERROR (line    7) - R_load Already Defined For Model 'm'", true},
    {"3.2", "[Model] m\n[Ramp]\nslope 1\n", "ERROR (line    6) - Unknown Line Among Ramp Data",
     true},
    // waveforms
    {"3.2", M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n",
     "ERROR - Require at least 2 Data Points for Rising Waveform Beginning at Line 15", true},
    {"3.2", M + "[Falling Waveform]\nR_fixture = 50\n0 0 0 0\n1n 0 0 0\n",
     "ERROR - V_fixture Not Defined For Falling Waveform Beginning on Line 15", true},
    {"3.2", M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 0 0 0\n1n 0 0 0\n",
     "ERROR (line   20) - Time value did not increase", true},
    {"3.2",
     M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 0 0 0\n0.5n 0 0 0\n0 0 0 "
         "0\n",
     "WARNING (line   21) - Value 0.000000e+00 repeated in the First Column", true},
    {"3.2", M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\nNA 0 0 0\n",
     "ERROR (line   18) - 'NA' not allowed for Time value", true},
    {"3.2", M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\nramp 0 0 0\n",
     "ERROR (line   18) - Unknown Line Among Rising Waveform Data", true},
    {"3.2", M + "[Rising Waveform]\nR_fixture = 50\n0 0 0 0\nV_fixture = 0\n",
     "ERROR (line   18) - V_fixture specified after beginning of timing data", true},
    {"3.2", M + "[Rising Waveform]\nR_fixture = 50\nR_fixture = 50\n",
     "ERROR (line   17) - Duplicate definition for Rising Waveform R_fixture", true},
    {"3.2", M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n" + Rows(100, 1), "More than",
     false},
    {"3.2", M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n" + Rows(101, 1),
     "ERROR (line  118) - More than 100 data points provided for Rising Waveform table", true},
    {"4.2", M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n" + Rows(1000, 1), "More than",
     false},
    {"4.2", M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n" + Rows(1001, 1),
     "ERROR (line 1018) - More than 1000 data points provided for Rising Waveform table", true},
    {"5.0", M + "[Composite Current]\n",
     "ERROR (line   15) - [Composite Current] should be preceded by a [Rising Waveform] or "
     "[Falling Waveform] section",
     true},
    {"5.0",
     M + "[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 0 0 0\n[Composite "
         "Current]\nR_fixture = 1\n",
     "ERROR (line   21) - SubParameters are not allowed in Golden Waveforms", true},
    // [Model Spec] and [Receiver Thresholds] order and content
    {"3.2", M + "[Model Spec]\nVmeas 1 1 1\n",
     "ERROR (line   15) - [Model Spec] should be specified immediately after all the subparameters "
     "of a model and before the other keywords of a model",
     true},
    {"3.2", "[Model] m\nModel_type Output\n[External Reference] 1 1 1\n[Model Spec]\nVmeas 1 1 1\n",
     "should be specified immediately", false},
    {"3.2", "[Model] m\nModel_type Output\n[Model Spec]\nVmeas NA 1 1\n",
     "ERROR (line    7) - 'NA' Not Allowed For Typical Value", true},
    {"3.2", "[Model] m\nModel_type Output\n[Model Spec]\nVinh 1 1 1\n",
     "WARNING (line    7) - Vinh should not be specified for model type Output", true},
    {"3.2", "[Model] m\nModel_type Output\n[Model Spec]\nVref_rising 1 1 1\n",
     "ERROR (line    7) - Unknown Line Among Model Spec Data", true},
    {"4.2", "[Model] m\nModel_type Output\n[Receiver Thresholds]\n",
     "WARNING (line    6) - [Receiver Thresholds] should not be specified for model type Output",
     true},
    {"4.2", M + "[Receiver Thresholds]\n",
     "ERROR (line   15) - [Receiver Thresholds] should be specified immediately after all the "
     "subparameters of a model and before the other keywords of a model except [Model Spec]",
     true},
    {"4.2", "[Model] r\nModel_type Input\n[Receiver Thresholds]\nThreshold_sensitivity = 0.1\n",
     "ERROR - Model r Receiver Thresholds: Reference Supply must be specified when Threshold "
     "Sensitivity is specified",
     true},
    {"4.2", "[Model] r\nModel_type Input\n[Receiver Thresholds]\nReference_supply = Vdd\n",
     "ERROR (line    7) - Unknown Reference_supply Vdd specified", true},
    {"4.2", "[Model] r\nModel_type Input\n[Receiver Thresholds]\nVth = 1\nVth = 2\n",
     "ERROR (line    8) - Vth Already Defined For Receiver Threshold", true},
    {"4.2", "[Model] r\nModel_type Input\n[Receiver Thresholds]\nReference_supply = Ext_ref\n",
     "ERROR - Model r: Receiver Thresholds use External Reference which is not defined in this "
     "Model",
     true},
    // [Driver Schedule]
    {"3.2", M + "[Driver Schedule]\nx 1n NA NA 2n\n",
     "ERROR (line   16) - Rise_on_dly and Fall_off_delay cannot be specified together", true},
    {"3.2", M + "[Driver Schedule]\nx 1n 1n 1n 1n\n", "cannot be specified together", false},
    {"3.2", M + "[Driver Schedule]\nx 1n NA NA NA\n",
     "ERROR (line   16) - At least two delays must be specified", true},
    {"3.2", M + "[Driver Schedule]\nx 1n -1n NA NA\n",
     "ERROR (line   16) - Rise_off_dly is less than zero", true},
    {"3.2", M + "[Driver Schedule]\nx 1n\n",
     "ERROR (line   16) - No Rise_off_dly Value Was Provided for Driver Schedule", true},
    {"3.2", M + "[Driver Schedule]\nm 1n 1n 1n 1n\n",
     "ERROR (line   16) - Model Name in Driver Schedule is the same as enclosing Model (\"m\")",
     true},
    {"3.2", M + "[Driver Schedule]\nx 1n 1n 1n 1n\nx 1n 1n 1n 1n\n",
     "ERROR (line   17) - Model Name (\"x\") previously used in this Driver Schedule", true},
    {"3.2", M + "[Driver Schedule]\nx 1n 1n 1n 1n\n",
     "ERROR - Model x used in the Driver Schedule of Model m is not defined", true},
    {"3.2", M + "[Driver Schedule]\nr 1n 1n 1n 1n\n" + kIn,
     "ERROR - Model r used in the Driver Schedule of Model m should be an output model", true},
    {"3.2", M + "[Driver Schedule]\nr 1n 1n 1n 1n\n" + kIn,
     "WARNING - Model 'm': The [Driver_Schedule] has only one model defined", true},
    // series models
    {"3.2", M + "[R Series] 1 1 1\n",
     "ERROR (line   15) - Keyword is valid only for Series and Series_switch models", true},
    {"3.2", M + "[On]\n", "ERROR (line   15) - Keyword is valid only for Series_switch models",
     true},
    {"3.2", "[Model] s\nModel_type Series_switch\nC_comp 1p 1p 1p\n[Voltage Range] 3 3 3\n",
     "ERROR - Model s is of type Series_switch. [On] keyword is required", true},
    {"3.2", "[Model] s\nModel_type Series_switch\n[R Series] 1 1 1\n",
     "ERROR (line    6) - No preceding [On] or [Off] keyword found. Assuming [On]", true},
    {"3.2",
     "[Model] s\nModel_type Series_switch\n[On]\n[R Series] 1 1 1\n[Off]\n[Voltage Range] 3 3 3\n",
     "ERROR (line    9) - Model 's' is of type Series_switch. [Voltage Range] should be defined "
     "before the [On] and [Off] sections",
     true},
    {"3.2", "[Model] s\nModel_type Series_switch\n[On]\n[R Series] 1 1 1\n[Off]\n",
     "ERROR - Model s [Off]: No series data found", true},
    {"3.2", "[Model] s\nModel_type Series\n[Rl Series] 1 1 1\n",
     "ERROR - Model s : Rl_series cannot be specified if L_series is not specified", true},
    {"3.2", "[Model] s\nModel_type Series\n[Pullup]\n0 0 0 0\n1 1 1 1\n",
     "ERROR - Model 's': Pullup is not allowed when Model_type is Series", true},
    {"3.2",
     "[Model] s\nModel_type Series\n[Series MOSFET]\nVds = 1.0\n0 0 0 0\n1 1 1 1\n[Series "
     "MOSFET]\nVds = 1.0000000001\n0 0 0 0\n1 1 1 1\n",
     "ERROR - Model s : Found two Series_MOSFETs with identical Vds value 1.000000e+00", true},
    {"3.2", "[Model] s\nModel_type Series\n[Series MOSFET]\n0 0 0 0\n1 1 1 1\n",
     "ERROR - Model s: Vds not specified for [Series MOSFET] defined on line 6", true},
    {"3.2", "[Model] s\nModel_type Series\n[Series MOSFET]\nVds = 1\nVds = 2\n",
     "ERROR (line    8) - Vds is already defined", true},
    {"3.2", "[Model] s\nModel_type Series\n[Series MOSFET] foo\nVds = 1\n0 0 0 0\n1 1 1 1\n",
     "ERROR (line    6) - Incorrect Number of Line Items (1) For Series MOSFET: Expecting 0", true},
    // Rows of plain numbers are rows, as in every other I-V table.
    {"3.2",
     "[Model] s\nModel_type Series_switch\n[On]\n[Series MOSFET]\nVds = 1\n0 0 0 0\n1 1m 1m "
     "1m\n[Off]\n[R Series] 1 1 1\n",
     "Unknown data line in Series_MOSFET", false},
    {"3.2",
     "[Model] s\nModel_type Series_switch\n[On]\n[Series MOSFET]\nVds = 1\n0 0 0 0\n1 1m 1m "
     "1m\n[Off]\n[R Series] 1 1 1\n",
     "Require at least 2 Voltage Points", false},
    {"3.2", "[Model] s\nModel_type Series\n[Series MOSFET]\nVds = 1\nx1 0 0 0\n",
     "ERROR (line    8) - Unknown data line in Series_MOSFET", true},
    // A value that overflows only once scaled is no number.
    {"3.2", "[Model] s\nModel_type Series\n[Series MOSFET]\nVds = 1e300T\n",
     "ERROR (line    7) - Invalid Vds Value (\"1e300T\")", true},
    {"3.2",
     "[Model] s\nModel_type Series_switch\n[On]\n[R Series] 1 1 1\n[Off]\n[Series MOSFET]\nVds = "
     "1\n0 0 0 0\n1 1 1 1\n",
     "ERROR - Model s: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword", true},
    // [Add Submodel]
    {"3.2", kIn + "[Add Submodel]\nsub Driving\n",
     "ERROR (line   11) - Driving mode is not valid for input model types", true},
    {"3.2", M + "[Add Submodel]\nsub Non-Driving\n",
     "ERROR (line   16) - Non-Driving mode is not valid for output model types", true},
    {"3.2", M + "[Add Submodel]\nsub all\n",
     "ERROR (line   16) - Invalid Add Submodel Mode (\"all\") (try \"All\")", true},
    {"3.2", M + "[Add Submodel]\nsub\n", "ERROR (line   16) - Add Submodel Mode not found", true},
    {"3.2", M + "[Add Submodel]\nsub All x\n",
     "ERROR (line   16) - Invalid Add Submodel Line. Expecting two items only", true},
    {"3.2", M + "[Add Submodel]\n" + std::string(21, 's') + " All\n",
     "ERROR (line   16) - Add Submodel Name Over 20 Characters Long", true},
    {"3.2", "[Model] s\nModel_type Series\n[Add Submodel]\n",
     "ERROR (line    6) - Add Submodel is not allowed for Series or Series_switch models", true},
    // [Algorithmic Model], EMI, [External Model] block ends
    {"5.0", M + "[Algorithmic Model]\n[Ramp]\n",
     "ERROR (line   16) - Missing [End Algorithmic Model] keyword", true},
    {"5.0", M + "[End Algorithmic Model]\n",
     "ERROR (line   15) - Orphan [End Algorithmic Model] keyword found", true},
    {"5.0", M + "[End EMI Model]\n", "ERROR (line   15) - Orphan [End EMI Model] keyword found",
     true},
    {"5.0", M + "[Begin EMI Model]\n[Ramp]\n",
     "ERROR (line   16) - [End Emi Model] keyword expected", true},
    {"4.2", M + "[External Model]\nLanguage SPICE\nPorts A_signal\n[End External Model]\n",
     "ERROR (line   18) - No Typ Corner Defined for [External Model](required)", true},
    {"4.2",
     M + "[External Model]\nLanguage Verilog-AMS\nCorner Typ a.v a\nPorts A_signal D_drive "
         "D_receive\n[End External Model]\n",
     "ERROR - [External Model] <m> corner <ALL> type <Output> contains reserved port <D_receive> "
     "ILLEGAL",
     true},
    {"4.2",
     M + "[External Model]\nLanguage Verilog-AMS\nCorner Typ a.v a\nPorts A_signal\n[End External "
         "Model]\n",
     "ERROR - [External Model] <m> corner <ALL> type <Output> does not contain reserved port "
     "<D_drive> REQUIRED",
     true},
    {"4.2", M + "[External Model]\nLanguage spice\n",
     "ERROR (line   16) - Invalid Language (\"spice\") (try \"SPICE\")", true},
    {"4.2", M + "[External Model]\nCorner Typ a.sp a\nCorner Typ a.sp a\n",
     "ERROR (line   17) - Duplicate Typ Corner", true},
    {"4.2", M + "[External Model]\nD_to_A D_drive a b 0 1 1n 1n Typ\n",
     "ERROR (line   16) - Language must be defined before D2A", true},
    {"4.2", M + "[External Model]\nLanguage SPICE\nD_to_A D_drive a b 1 0 -1n 1n Typ\n",
     "ERROR (line   17) - trise < 0, [-1n]", true},
    {"4.2", M + "[External Model]\nLanguage SPICE\nD_to_A D_drive a b 1 0 -1n 1n Typ\n",
     "ERROR (line   17) - Vlow >= Vhigh [1 >= 0]", true},
    {"4.2", M + "[End External Model]\n",
     "ERROR (line   15) - [End_External_Model] with no [External Model]", true},
    // [External Circuit]
    {"4.2",
     "[External Circuit] c\nLanguage SPICE\nCorner Typ c.sp c\nPorts a b\n[End External Circuit]\n",
     "ERROR", false},
    {"4.2", "[External Circuit]\n", "ERROR (line    4) - 'External Circuit' Keyword Missing name",
     true},
    {"4.2", "[External Circuit] c\nLanguage SPICE\nPorts a\n[End External Circuit]\n",
     "ERROR (line    7) - No Typ Corner Defined for [External Circuit](required)", true},
    {"4.2", "[External Circuit] c\nLanguage SPICE\nPorts a\n[End External Circuit]\n",
     "WARNING - [External Circuit] <c> has suspiciously few PORTS (1)", true},
    {"4.2", "[External Circuit] c\n[End External Circuit]\n[External Circuit] c\n",
     "ERROR (line    6) - External Circuit Name Previously Defined (\"c\")", true},
    {"4.2", "[End External Circuit]\n",
     "ERROR (line    4) - [End_External_Circuit] with no [External Circuit]", true},
    // orphans
    {"3.2", "[Ramp]\n", "ERROR (line    4) - Orphan Model keyword.", true},
};
INSTANTIATE_TEST_SUITE_P(Rows, ModelSection, ::testing::ValuesIn(kCases));

}  // namespace
