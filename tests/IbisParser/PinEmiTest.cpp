// The component's EMI check: [Pin Domain EMI] domains against the [Pin EMI]
// lines, and the [Pin EMI] pins against the component's pins.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "EmiScript.h"
#include "IbisParser/cmpntemi.h"
#include "IbisParser/ibis.h"
#include "IbisParser/pinemi.h"

using ::testing::HasSubstr;

namespace {

using PinModels = std::map<std::string, std::string>;

const char* ModelOf(void* context, const char* pin) {
    const PinModels* pins = static_cast<const PinModels*>(context);
    auto it = pins->find(pin);
    return it == pins->end() ? nullptr : it->second.c_str();
}

struct CheckCase {
    const char* name;
    const char* tables;  // lines after [Begin EMI Component]
    PinModels pins;
    const char* expected;
};

class PinEmiCheck : public emiscript::Fixture, public ::testing::WithParamInterface<CheckCase> {
protected:
    IbisFile* file_ = nullptr;
    void SetUp() override {
        emiscript::Fixture::SetUp();
        ASSERT_EQ(IBIS_New(&file_), 1);
    }
    void TearDown() override {
        IBIS_Free(&file_);
        emiscript::Fixture::TearDown();
    }
};

TEST_P(PinEmiCheck, ReportsWhatTheTablesDoNotMatch) {
    const CheckCase& c = GetParam();
    CmpntEmi* emi = nullptr;
    emiscript::RunComponentScript(
        std::string("[Begin EMI Component]\n") + c.tables + "\n[End EMI Component]", &emi);
    EXPECT_EQ(Messages(), "");
    PinModels pins = c.pins;
    PINEMI_CheckComponent("chip", emi, ModelOf, &pins);
    EXPECT_EQ(Messages(), c.expected);
    CMPNTEMI_Free(&emi);
}

const CheckCase kCheckCases[] = {
    {"Matching",
     "[Pin EMI] domain_name clock_div\n1 core 1\n2 io NA\n[Pin Domain EMI] percentage\n"
     "core 60\nio 40",
     {{"1", "buf"}, {"2", "out"}},
     ""},
    {"UnusedDomains",
     "[Pin EMI] domain_name clock_div\n1 core 1\n[Pin Domain EMI] percentage\ncore 50\n"
     "spare 20\nCORE 30",
     {{"1", "buf"}},
     "E4908 Component 'chip': domain_name 'spare' found in [Pin Domain EMI] section was not "
     "associated with any pin_name in the [Pin EMI] section\n"
     "E4908 Component 'chip': domain_name 'CORE' found in [Pin Domain EMI] section was not "
     "associated with any pin_name in the [Pin EMI] section"},
    {"DomainsWithoutPinTable",
     "[Pin Domain EMI] percentage\ncore 50",
     {},
     "E4908 Component 'chip': domain_name 'core' found in [Pin Domain EMI] section was not "
     "associated with any pin_name in the [Pin EMI] section"},
    {"PinsNotOnTheComponent",
     "[Pin EMI] domain_name clock_div\nA1 core 1\nB2 core 1",
     {{"A1", "buf"}, {"b2", "buf"}},
     "E4909 Component 'chip': pin_name 'B2' found in [Pin EMI] section was not found in the "
     "[Pin] section"},
    {"PinsOfReservedModels",
     "[Pin EMI] domain_name clock_div\n1 core 1\n2 core 1\n3 core 1\n4 core 1",
     {{"1", "GND"}, {"2", "power"}, {"3", "nc"}, {"4", "CIRCUITCALL"}},
     "E4911 Component 'chip': Pin '1' is of model 'GND' and cannot be referened in a [Pin EMI] "
     "section\n"
     "E4911 Component 'chip': Pin '2' is of model 'power' and cannot be referened in a [Pin EMI] "
     "section\n"
     "E4911 Component 'chip': Pin '3' is of model 'nc' and cannot be referened in a [Pin EMI] "
     "section\n"
     "E4911 Component 'chip': Pin '4' is of model 'CIRCUITCALL' and cannot be referened in a "
     "[Pin EMI] section"},
};

INSTANTIATE_TEST_SUITE_P(Tables, PinEmiCheck, ::testing::ValuesIn(kCheckCases),
                         [](const ::testing::TestParamInfo<CheckCase>& info) {
                             return std::string(info.param.name);
                         });

class PinEmiCheckEdges : public emiscript::Fixture {};

TEST_F(PinEmiCheckEdges, NeedsAFileRecordButNotABlock) {
    PinModels pins;
    CmpntEmi* emi = nullptr;
    PINEMI_CheckComponent("chip", nullptr, ModelOf, &pins);  // no EMI block: nothing
    EXPECT_EQ(Messages(), "");
    emiscript::RunComponentScript("[Begin EMI Component]\nDomain Analog\n[End EMI Component]",
                                  &emi);
    PINEMI_CheckComponent("chip", emi, ModelOf, &pins);
    EXPECT_THAT(Messages(), HasSubstr("B4907 IbisParser/pinemi:"));
    CMPNTEMI_Free(&emi);
}

TEST_F(PinEmiCheckEdges, FindsRepeatsAcrossLongTables) {
    // Enough names to grow the name sets several times over.
    std::string script = "[Begin EMI Component]\n[Pin EMI] domain_name clock_div\n";
    PinModels pins;
    for (int i = 0; i < 300; i++) {
        script += std::to_string(i) + " d" + std::to_string(i) + " 1\n";
        pins[std::to_string(i)] = "buf";
    }
    script += "[Pin Domain EMI] percentage\n";
    for (int i = 0; i < 300; i++) script += "d" + std::to_string(i) + " 1\n";
    script += "d0 1\n[End EMI Component]";
    CmpntEmi* emi = nullptr;
    emiscript::RunComponentScript(script, &emi);
    EXPECT_EQ(Messages(), "E4727@604 domain_name 'd0' is redefined");
    IbisFile* file = nullptr;
    ASSERT_EQ(IBIS_New(&file), 1);
    PINEMI_CheckComponent("chip", emi, ModelOf, &pins);
    EXPECT_EQ(Messages(), "");
    IBIS_Free(&file);
    CMPNTEMI_Free(&emi);
}

}  // namespace
