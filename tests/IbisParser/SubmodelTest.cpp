// Submodels, submodel specs and model selectors: each row is a snippet
// after a complete model, the file version it is read under and one message
// it must (or must not) produce.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "IbisFixture.h"
#include "IbisParser/check.h"
#include "IbisParser/msel.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A complete Output model that adds the submodel "bh".
const char kModel[] =
    "[Model] m\nModel_type Output\nVmeas = 1.5\nC_comp 1p 0.9p 1.1p\n"
    "[Voltage Range] 3.3 3.0 3.6\n[Pulldown]\n-1 -1m -1m -1m\n1 1m 1m 1m\n"
    "[Ramp]\ndV/dt_r 1/1n 1/2n 1/0.5n\ndV/dt_f 1/1n 1/2n 1/0.5n\n"
    "[Add Submodel]\nbh All\n";

const std::string kRamp = "[Ramp]\ndV/dt_r 1/1n 1/2n 1/0.5n\ndV/dt_f 1/1n 1/2n 1/0.5n\n";
const std::string kPullup = "[Pullup]\n-5 100m 100m 100m\n0 0 0 0\n";
const std::string kPulldown = "[Pulldown]\n-5 -100m -100m -100m\n0 0 0 0\n";
const std::string kSpec = "[Submodel Spec]\nV_trigger_r 2 1.5 2.5\nV_trigger_f 1 0.8 1.2\n";

std::string Sub(const char* type, const std::string& body) {
    return std::string("[Submodel] bh\nSubmodel_type ") + type + "\n" + body;
}
// A complete submodel of each type.
const std::string kBusHold = Sub("Bus_hold", kSpec + kPullup + kRamp);
const std::string kFallBack = Sub("Fall_back", kSpec + kPulldown + kRamp);
const std::string kClamp = Sub("Dynamic_clamp", "[GND Clamp]\n-1 -1m -1m -1m\n1 1m 1m 1m\n");
const std::string kSelector = "[Model Selector] sel\nm first\nm2 second\n";
const std::string kModel2 =
    "[Model] m2\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p 1p 1p\n"
    "[Voltage Range] 3.3 3 3.6\n";

struct Case {
    const char* version;
    std::string body;
    std::string message;  // one output line, wrapped lines joined
    bool present;
};

class SubmodelSection : public IbisFixture, public ::testing::WithParamInterface<Case> {
protected:
    IbisFile* file_ = nullptr;

    // Checks the file and keeps its record in file_ (freed at TearDown).
    std::string Check(const char* version, const std::string& body) {
        std::string path =
            Write("t.ibs", std::string("[IBIS Ver] ") + version +
                               "\n[File Name] t.ibs\n[File Rev] 1.0\n" + kModel + body + "[End]\n");
        EXPECT_EQ(IBIS_New(&file_), 1);
        EXPECT_EQ(PARSE_File(path.c_str(), CMN_FILE_IBS), 1);
        SECTION_RunAfterFileChecks(file_);
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

    void TearDown() override {
        if (file_) IBIS_Free(&file_);
        PARSE_Reset();  // later tests read line numbers without a file
        IbisFixture::TearDown();
    }
};

TEST_P(SubmodelSection, ReportsTheRowsMessage) {
    const Case& c = GetParam();
    std::string out = Check(c.version, c.body);
    if (c.present)
        EXPECT_THAT(out, HasSubstr(c.message + "\n")) << c.body;
    else
        EXPECT_THAT(out, Not(HasSubstr(c.message))) << c.body;
}

TEST_F(SubmodelSection, PassesCompleteSubmodelsAndSelectors) {
    for (const std::string& sub : {kBusHold, kFallBack, kClamp}) {
        EXPECT_EQ(Check("4.2", sub + kModel2 + kSelector), "") << sub;
        IBIS_Free(&file_);
    }
}

// The only fault is the missing falling trigger: nothing else may follow
// from it.
TEST_F(SubmodelSection, BusHoldWithoutFallingTriggerGivesOneError) {
    std::string out =
        Check("4.2", Sub("Bus_hold", "[Submodel Spec]\nV_trigger_r 2 1.5 2.5\n" + kPullup + kRamp));
    EXPECT_EQ(out,
              "ERROR - Submodel bh: [Submodel Spec] V_trigger_f is required when Submodel_type "
              "is Bus_hold\n");
}

TEST_F(SubmodelSection, KeepsSelectorEntriesWithinTheirLimits) {
    std::string name30(30, 'a'), desc(60, 'd');
    Check("4.2", kModel2 + "[Model Selector] sel\nm2 2.5 volt  Vcc\n" + name30 + " " + desc + "\n" +
                     std::string(45, 'b') + " x\n");
    IbisItem* item = nullptr;
    ASSERT_EQ(IBIS_GetModelSelectors(file_, &item), 1);
    const MSEL_Selector* s = static_cast<const MSEL_Selector*>(item->record);
    ASSERT_EQ(s->count, 3);
    EXPECT_STREQ(s->first->descriptor, "2.5 volt  Vcc");
    EXPECT_EQ(std::string(s->first->next->descriptor), std::string(50, 'd'));
    EXPECT_EQ(std::string(s->last->name), std::string(40, 'b'));
}

const std::string B = kBusHold;
const std::string N21(21, 'n');
const std::string N41(41, 'n');

std::string Wave(const char* kind, const char* first, const char* last) {
    return std::string("[") + kind + " Waveform]\nR_fixture = 50\nV_fixture = 0\n0 " + first +
           "\n1n " + last + "\n";
}

const Case kCases[] = {
    // the name line
    {"4.2", "[Submodel]\nSubmodel_type Bus_hold\n",
     "ERROR (line   17) - 'Sub Model' Keyword Missing name", true},
    {"4.2", "[Submodel] a b\n",
     "ERROR (line   17) - Incorrect Number of Line Items (2) For Keyword Sub Model: Expecting 1",
     true},
    {"4.2", "[Submodel] " + N21 + "\n",
     "ERROR (line   17) - Sub Model Name Over 20 Characters Long", true},
    {"4.2", "[Submodel] GND\n", "Invalid Sub Model Name (\"GND\"); Reserved Word.", true},
    {"4.2", B + B, "SubModel Name Previously Defined (\"bh\")", true},
    // Submodel_type
    {"4.2", Sub("Bus_hold", "Submodel_type Bus_hold\n"),
     "Submodel_type Already Defined For Submodel 'bh'", true},
    {"4.2", "[Submodel] bh\nSubmodel_type\n", "'Submodel_type' Subparameter Missing Setting", true},
    {"4.2", "[Submodel] bh\nSubmodel_type Bus_hold x\n", "Invalid Submodel_type Line", true},
    {"4.2", "[Submodel] bh\nSubmodel_type bus_hold\n",
     "Invalid Submodel_type (\"bus_hold\") (try \"Bus_hold\")", true},
    {"3.2", kFallBack, "ERROR (line   18) - Invalid Submodel_type (\"Fall_back\")", true},
    {"3.2", kFallBack, "Fall_back submodels", false},
    {"4.2", Sub("Bus_hold", "C_comp 1p 1p 1p\n"),
     "ERROR (line   19) - Unknown Line Among Sub Model Data", true},
    {"4.2", "[Submodel] bh\n" + kRamp, "ERROR - Submodel 'bh': Submodel_type Not Defined", true},
    // keywords
    {"4.2", Sub("Bus_hold", kPullup + kSpec + kRamp),
     "ERROR (line   22) - [Submodel Spec] should be specified before other keywords for a model",
     true},
    {"4.2", Sub("Bus_hold", kPullup + kSpec + kRamp), "V_trigger", false},
    {"4.2",
     Sub("Dynamic_clamp",
         kSpec + "[GND Pulse Table]\n0 0 0 0\n1n 0 0 0\n[GND Pulse Table]\n0 0 0 0\n1n 0 0 0\n"),
     "ERROR (line   25) - [GND Pulse Table] Already Defined", true},
    {"4.2",
     Sub("Dynamic_clamp",
         kSpec +
             "[POWER Pulse Table]\n0 0 0 0\n1n 0 0 0\n[POWER Pulse Table]\n0 0 0 0\n1n 0 0 0\n"),
     "[POWER Pulse Table] Already Defined", true},
    {"4.2", "[GND Pulse Table]\n0 0 0 0\n", "ERROR (line   17) - Orphan Sub Model keyword.", true},
    {"4.2", "[GND Pulse Table]\n0 0 0 0\n", "ERROR (line   18) - Orphan data line keyword.", true},
    {"4.2", Sub("Dynamic_clamp", "[GND Clamp]\n-1 -1m -1m -1m\n"),
     "ERROR - Require at least 2 Voltage Points for GND Clamp Beginning at Line 19", true},
    // [Submodel Spec]
    {"4.2", Sub("Bus_hold", kSpec + "V_trigger_r 1 1 1\n" + kPullup + kRamp),
     "ERROR (line   22) - V_trigger_r Already Defined For Submodel 'bh'", true},
    {"4.2",
     Sub("Bus_hold", "[Submodel Spec]\nV_trigger_r NA 1 2\nV_trigger_f 1 1 1\n" + kPullup + kRamp),
     "'NA' not allowed for Typical value", true},
    {"4.2", Sub("Bus_hold", kSpec + "Vinh 1 1 1\n" + kPullup + kRamp),
     "Unknown Line Among Sub Model Spec Data", true},
    {"4.2", Sub("Bus_hold", kSpec + "Off_delay 1n 1n 1n 1n\n" + kPullup + kRamp),
     "Incorrect Number of Line Items (5) For Off_delay: Expecting 4", true},
    {"4.2", Sub("Dynamic_clamp", "[Submodel Spec]\n[GND Clamp]\n-1 -1m -1m -1m\n1 1m 1m 1m\n"),
     "ERROR - Submodel bh: Empty Submodel Spec", true},
    {"4.2", Sub("Bus_hold", kSpec + kSpec + kPullup + kRamp),
     "Sub Model Specification: Already Defined for this sub model", true},
    // Bus_hold
    {"4.2", Sub("Bus_hold", kPullup + kRamp),
     "Submodel bh: [Submodel Spec] is required when Submodel_type is Bus_hold", true},
    {"4.2", Sub("Bus_hold", "[Submodel Spec]\nV_trigger_f 1 1 1\n" + kPullup + kRamp),
     "Submodel bh: [Submodel Spec] V_trigger_r is required when Submodel_type is Bus_hold", true},
    {"4.2", Sub("Bus_hold", kSpec + "Off_delay 1n 1n 1n\n" + kPullup + kPulldown + kRamp),
     "SubModel bh: Both Pullup and Pulldown cannot be specified when Off_delay is specified.",
     true},
    {"4.2", Sub("Bus_hold", kSpec + kPullup + kPulldown + kRamp), "Off_delay", false},
    {"4.2", Sub("Bus_hold", kSpec + kPullup),
     "Submodel bh: [Ramp] is required when Submodel_type is Bus_hold", true},
    {"4.2", Sub("Bus_hold", kSpec + kRamp),
     "Submodel bh: Either [Pullup] or [Pulldown] is required when Submodel_type is Bus_hold", true},
    // Dynamic_clamp
    {"4.2",
     Sub("Dynamic_clamp",
         "[Submodel Spec]\nV_trigger_r 1 1 1\n[GND Pulse Table]\n0 0 0 0\n1n 0 0 0\n"),
     "Submodel bh: [Submodel Spec] V_trigger_f is required when GND_Pulse is specified", true},
    {"4.2",
     Sub("Dynamic_clamp",
         "[Submodel Spec]\nV_trigger_f 1 1 1\n[POWER Pulse Table]\n0 0 0 0\n1n 0 0 0\n"),
     "Submodel bh: [Submodel Spec] V_trigger_r is required when POWER_Pulse is specified", true},
    {"4.2", Sub("Dynamic_clamp", kRamp),
     "Submodel bh: GND Pulse Table or POWER Pulse Table or GND Clamp or POWER Clamp is required "
     "when Submodel_type is Dynamic_clamp",
     true},
    {"4.2",
     Sub("Dynamic_clamp",
         "[Submodel Spec]\nOff_delay 1n 1n 1n\n[POWER Clamp]\n-1 1m 1m 1m\n1 -1m -1m -1m\n"),
     "Submodel bh: [Submodel Spec] Off_delay  cannot be specified with Dynamic_clamp submodels",
     true},
    // Fall_back
    {"4.2", Sub("Fall_back", kPullup + kRamp),
     "Submodel bh: [Submodel Spec] is required when Submodel_type is Fall_back", true},
    {"4.2", Sub("Fall_back", "[Submodel Spec]\nV_trigger_f 1 1 1\n" + kPullup + kRamp),
     "Submodel bh: [Submodel Spec] V_trigger_r is required when Submodel_type is Fall_back", true},
    {"4.2", Sub("Fall_back", "[Submodel Spec]\nV_trigger_r 1 1 1\n" + kPullup + kRamp),
     "Submodel bh: [Submodel Spec] V_trigger_f is required when Submodel_type is Fall_back", true},
    {"4.2", Sub("Fall_back", kSpec + kRamp),
     "Submodel bh: Either [Pullup] or [Pulldown] is required when Submodel_type is Fall_back",
     true},
    {"4.2", Sub("Fall_back", kSpec + kPullup + kPulldown + kRamp),
     "Submodel bh: Pullup and Pulldown  cannot both be specified with Fall_back submodels", true},
    {"4.2", Sub("Fall_back", kSpec + kPullup),
     "Submodel bh: [Ramp] is required when Submodel_type is Fall_back", true},
    {"4.2", Sub("Fall_back", kSpec + "Off_delay 1n 1n 1n\n" + kPullup + kRamp),
     "Submodel bh: [Submodel Spec] Off_delay  cannot be specified with Fall_back submodels", true},
    // triggers against the waveforms, per corner; a missing corner uses typ
    {"4.2", B + Wave("Rising", "2.5 NA 1", "3 3 3"),
     "WARNING - Submodel bh: V_trigger_r (Typ) is less than the start of Rising Waveform", true},
    {"4.2", B + Wave("Rising", "2.5 NA 1", "3 3 3"),
     "WARNING - Submodel bh: V_trigger_r (Min) is less than the start of Rising Waveform", true},
    {"4.2", B + Wave("Rising", "2.5 NA 1", "3 3 3"), "V_trigger_r (Max) is less", false},
    {"4.2", B + Wave("Rising", "0 0 0", "2.2 2.2 2.2"),
     "WARNING - Submodel bh: V_trigger_r (Max) is greater than the end of Rising Waveform", true},
    {"4.2", B + Wave("Rising", "0 0 0", "2.2 2.2 2.2"), "V_trigger_r (Typ) is greater", false},
    {"4.2", B + Wave("Falling", "1.1 1.1 1.1", "0 0 0"),
     "WARNING - Submodel bh: V_trigger_f (Max) is greater than the start of Falling Waveform",
     true},
    {"4.2", B + Wave("Falling", "3 3 3", "0.9 0.9 0.9"),
     "WARNING - Submodel bh: V_trigger_f (Min) is less than the end of Falling Waveform", true},
    {"4.2", B + Wave("Falling", "3 3 3", "0.9 0.9 0.9"), "V_trigger_f (Typ) is less", false},
    // [Add Submodel] against the submodels
    {"4.2", "", "ERROR - Could not find definition for Submodel bh of Model m", true},
    {"4.2",
     kClamp +
         "[Submodel] other\nSubmodel_type Dynamic_clamp\n[GND Clamp]\n-1 -1m -1m -1m\n1 1m 1m 1m\n",
     "WARNING - Submodel other is not referenced by any model [Add Submodel] keyword", true},
    {"4.2", kClamp, "not referenced", false},
    // [Model Selector]
    {"4.2", "[Model Selector]\nm a\nm2 b\n",
     "ERROR (line   17) - 'Model Selector' Keyword Missing name", true},
    {"4.2", "[Model Selector] a b\nm a\nm2 b\n",
     "Incorrect Number of Line Items (2) For Keyword Model Selector: Expecting 1", true},
    {"4.2", "[Model Selector] " + N41 + "\nm a\nm2 b\n",
     "Model Selector Name Over 40 Characters Long", true},
    {"3.2", "[Model Selector] " + N21 + "\nm a\nm2 b\n",
     "Model Selector Name Over 20 Characters Long", true},
    {"4.2", "[Model Selector] POWER\nm a\nm2 b\n",
     "Invalid Model SelectorName (\"POWER\"); Reserved Word.", true},
    {"4.2", kSelector + kSelector,
     "ERROR (line   20) - Model Selector Name Previously Defined (\"sel\")", true},
    {"4.2", "[Model Selector] s\n" + N41 + " a\nm b\n",
     "ERROR (line   18) - Model Name Over 40 Characters Long", true},
    {"4.2", "[Model Selector] s\nNA a\nm b\nm2 c\n",
     "ERROR (line   18) - Invalid Model Name (\"NA\")", true},
    {"4.2", "[Model Selector] s\nm a\nm b\nm2 c\n",
     "ERROR (line   19) - Model 'm'. already used in this Model Selector", true},
    {"4.2", "[Model Selector] s\nm " + std::string(80, 'x') + "\nm2 b\n",
     "Model Descriptor string '" + std::string(80, 'x') +
         "' is too long, truncating to 79 characters.",
     true},
    {"4.2", "[Model Selector] s\n[Model] q\n", "ERROR - Model Selector: 's' has no models defined",
     true},
    {"4.2", "[Model Selector] s\nm only\n",
     "WARNING - Model Selector: 's' has only one model defined", true},
    {"4.2", "[Model Selector] s\nm a\nzz b\n",
     "ERROR - Model 'zz' in Model Selector 's' is not defined in the file", true},
    {"4.2", "[Model Selector] s\nm a\ns b\n",
     "Model 's' in Model Selector 's' is not defined in the file", true},
    {"4.2", "[Model Selector] m\nm a\nm2 b\n",
     "ERROR - 'm' is the name of a Model and a Model Selector", true},
    {"4.2", kModel2 + "[Model Selector] s\nm a\nm2 b\n", "Model Selector", false},
};

INSTANTIATE_TEST_SUITE_P(Rows, SubmodelSection, ::testing::ValuesIn(kCases));

}  // namespace
