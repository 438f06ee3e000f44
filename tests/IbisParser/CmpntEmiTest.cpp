// The EMI block of a component: keyword and data lines, the block's
// opening and closing, and what the record keeps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "EmiScript.h"
#include "IbisParser/cmn.h"
#include "IbisParser/cmpntemi.h"

using ::testing::HasSubstr;

namespace {

struct ScriptCase {
    const char* name;
    const char* script;
    const char* expected;
};

class CmpntEmiBlock : public emiscript::Fixture,
                      public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(CmpntEmiBlock, ReportsEachFaultAtItsLine) {
    CmpntEmi* emi = nullptr;
    emiscript::RunComponentScript(GetParam().script, &emi);
    EXPECT_EQ(Messages(), GetParam().expected) << GetParam().script;
    CMPNTEMI_Free(&emi);
    EXPECT_EQ(emi, nullptr);
}

const ScriptCase kBlockCases[] = {
    {"EmptyBlock", "[Begin EMI Component]\n[End EMI Component]",
     "W4712@2 Empty Emi Component block found"},
    {"LeftOpenByAnotherKeyword", "[Begin EMI Component]\nDomain Digital\n[Pin]  signal_name",
     "E4711@3 [End EMI Component] expected"},
    {"ClosedBlockNeedsNoEnd",
     "[Begin EMI Component]\nDomain Digital\n[Pin EMI] domain_name clock_div\n"
     "[End EMI Component]\n[Pin]  signal_name",
     ""},
    {"SecondBlockReplacesTheFirst",
     "[Begin EMI Component]\nDomain Analog\n[Begin EMI Component]\n[End EMI Component]",
     "E4711@3 [End EMI Component] expected\n"
     "E4703@3 [Emi Component] is already defined for this Component\n"
     "W4712@4 Empty Emi Component block found"},
    {"Orphans",
     "[Pin EMI] domain_name clock_div\n1 a 1\n[Begin EMI Component]\nDomain Analog\n"
     "[End EMI Component]\nDomain Digital\n[End EMI Component]",
     "E4705@1 Orphan keyword line.\nE4706@2 Orphan data line\nE4706@6 Orphan data line\n"
     "E4705@7 Orphan keyword line."},
    {"DataAfterKeywords", "[Begin EMI Component] x y\nDomain Analog\n[End EMI Component] z",
     "E4704@1 Unexpected data 'x y' found after the Keyword\n"
     "E4704@3 Unexpected data 'z' found after the Keyword"},
    {"DomainValues",
     "[Begin EMI Component]\nDomain analog\nDomain Mixed\nDomain\nDomain A B\nCPD = 1p\n"
     "Domain Digital_Analog\n[End EMI Component]",
     "E4720@2 Invalid Domain (\"analog\") (try \"Analog\")\n"
     "E4701@3 Domain Already Defined For EMI Component\nE4721@3 Invalid Domain (\"Mixed\")\n"
     "E4701@4 Domain Already Defined For EMI Component\n"
     "E4718@4 'Domain' Subparameter Missing Setting\n"
     "E4701@5 Domain Already Defined For EMI Component\n"
     "E4719@5 Incorrect Number of Line Items (3) For Domain: Expecting 2\n"
     "E4716@6 Unknown Line after [Begin EMI Component]\n"
     "E4701@7 Domain Already Defined For EMI Component"},
    {"CapacitanceLines",
     "[Begin EMI Component]\nCpd=1p\nCpd 2p\nCpd = x\nCpd : 1p\nCpd = 1p 2\n"
     "C_Heatsink_float = 1n\nC_Heatsink_gnd = 2n\n[End EMI Component]",
     "E4701@3 Cpd Already Defined For EMI Component\nE4723@3 Invalid Cpd Line\n"
     "E4701@4 Cpd Already Defined For EMI Component\nE4721@4 Invalid Cpd (\"x\")\n"
     "E4701@5 Cpd Already Defined For EMI Component\nE4723@5 Invalid Cpd Line\n"
     "E4701@6 Cpd Already Defined For EMI Component\n"
     "E4719@6 Incorrect Number of Line Items (4) For Cpd: Expecting 3\n"
     "E4714@8 C_Heatsink_gnd cannot be specified since C_Heatsink_float is already specified"},
    {"FloatAfterGnd",
     "[Begin EMI Component]\nC_Heatsink_gnd = 1n\nC_Heatsink_float = 2n\n[End EMI Component]",
     "E4715@3 C_Heatsink_float cannot be specified since C_Heatsink_gnd is already specified"},
    {"PinEmiHeaders",
     "[Begin EMI Component]\n[Pin EMI]\n[Pin EMI] domain_name\n[End EMI Component]\n"
     "[Begin EMI Component]\n[Pin EMI] DOMAIN_NAME clk extra\n[End EMI Component]\n"
     "[Begin EMI Component]\n[Pin EMI] clock_div domain_name\n[End EMI Component]",
     "E4730@2 Unable to find column headers after [Pin EMI] keyword.\n"
     "E4729@3 [Pin EMI]: Already defined for this EMI Component.\n"
     "E4703@5 [Emi Component] is already defined for this Component\n"
     "E4731@6 'clock_div' column header not found or out of order.\n"
     "E4704@6 Unexpected data 'extra' found after the Keyword\n"
     "E4703@8 [Emi Component] is already defined for this Component\n"
     "E4731@9 'domain_name' column header not found or out of order.\n"
     "E4731@9 'clock_div' column header not found or out of order."},
    {"PinEmiLines",
     "[Begin EMI Component]\n[Pin EMI] domain_name clock_div\n1 d1 1\n2 d1 NA\n1 d2 2\n3\n"
     "4 d1\n5 GND 1\n6 d1 1x3\n7 d1 abc\n8 d1 123456\n9 d1 1 z\n123456 d1 1\n"
     "10 na 1\n[End EMI Component]",
     "E4906@5 Duplicate Pin '1'\nE4902@6 domain_name not found\nE4903@7 clock_div not found\n"
     "E1916@8 Illegal use of Reserved Word 'GND'.\n"
     "W1910@9 Suspicious Pin EMI clock_div Value (\"1x3\"); Numeric in Scale\n"
     "E1909@10 Invalid clock_div Value (\"abc\")\n"
     "E4904@11 clock_div should be at most 5 characters long\n"
     "E4905@12 Unexpected data 'z' after clock_div\n"
     "E1912@13 pin_name string '123456' is too long, truncating to 5 characters."},
    {"PinDomainLines",
     "[Begin EMI Component]\n[Pin Domain EMI]\n[Pin Domain EMI] pct\n"
     "[Pin Domain EMI] percentage x\n[Pin Domain EMI] percentage\nd1 150\nd2 12.345\n"
     "d1 50\nd3\nd4 50 x\nd5 abc\nd6 0\n[End EMI Component]",
     "E4725@2 Expected 'percentage' parameter after keyword\n"
     "E4724@3 [Pin Domain EMI]: Already Defined for this EMI Component\n"
     "E4726@3 Unknown parameter 'pct': Expected 'percentage'\n"
     "E4724@4 [Pin Domain EMI]: Already Defined for this EMI Component\n"
     "E4719@4 Incorrect Number of Line Items (2) For Pin Domain EMI: Expecting 1\n"
     "E4724@5 [Pin Domain EMI]: Already Defined for this EMI Component\n"
     "E4728@6 Invalid percentage '150'. Should be greater than 0 and less than equal to 100\n"
     "E4728@7 Invalid percentage '12.345'. Should be specified using at most 5 characters\n"
     "E4727@8 domain_name 'd1' is redefined\n"
     "E4719@9 Incorrect Number of Line Items (1) For Pin Domain EMI: Expecting 2\n"
     "E4719@10 Incorrect Number of Line Items (3) For Pin Domain EMI: Expecting 2\n"
     "E4728@11 Invalid percentage 'abc'. Invalid Number\n"
     "E4728@12 Invalid percentage '0'. Should be greater than 0 and less than equal to 100"},
};

INSTANTIATE_TEST_SUITE_P(Scripts, CmpntEmiBlock, ::testing::ValuesIn(kBlockCases),
                         [](const ::testing::TestParamInfo<ScriptCase>& info) {
                             return std::string(info.param.name);
                         });

class CmpntEmiRecord : public emiscript::Fixture {};

TEST_F(CmpntEmiRecord, KeepsValuesAndTablesInFileOrder) {
    CmpntEmi* emi = nullptr;
    emiscript::RunComponentScript(
        "[Begin EMI Component]\nDomain Digital_Analog\nCpd = 2.5p\nC_Heatsink_gnd = 1n\n"
        "Cpd = 3p\n[Pin EMI] domain_name clock_div\n1 core 4\n2 io NA\n3 io abc\n"
        "[Pin Domain EMI] percentage\ncore 150\nio 12.345\nx abc\n[End EMI Component]",
        &emi);
    Messages();
    ASSERT_NE(emi, nullptr);
    EXPECT_EQ(emi->domain, CMPNTEMI_DOMAIN_DIGITAL_ANALOG);
    ASSERT_NE(emi->cpd, nullptr);
    EXPECT_DOUBLE_EQ(*emi->cpd, 3e-12);
    ASSERT_NE(emi->cHeatsinkGnd, nullptr);
    EXPECT_DOUBLE_EQ(*emi->cHeatsinkGnd, 1e-9);
    EXPECT_EQ(emi->cHeatsinkFloat, nullptr);

    ASSERT_NE(emi->pinEmi, nullptr);
    const PinEmi* pin = emi->pinEmi->first;
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->pinName, "1");
    EXPECT_STREQ(pin->domainName, "core");
    EXPECT_EQ(pin->clockDivState, CMN_VALUE_GIVEN);
    EXPECT_DOUBLE_EQ(pin->clockDiv, 4.0);
    ASSERT_NE(pin = pin->next, nullptr);
    EXPECT_EQ(pin->clockDivState, CMN_VALUE_NA);
    ASSERT_NE(pin = pin->next, nullptr);  // unreadable clock_div: kept, absent
    EXPECT_EQ(pin->clockDivState, CMN_VALUE_ABSENT);
    EXPECT_EQ(pin->next, nullptr);

    // Out of range keeps the value; unreadable drops the line.
    ASSERT_NE(emi->pinDomain, nullptr);
    const PinDomainEmi* domain = emi->pinDomain->first;
    ASSERT_NE(domain, nullptr);
    EXPECT_STREQ(domain->domainName, "core");
    ASSERT_NE(domain->percentage, nullptr);
    EXPECT_DOUBLE_EQ(*domain->percentage, 150.0);
    ASSERT_NE(domain = domain->next, nullptr);
    EXPECT_DOUBLE_EQ(*domain->percentage, 12.345);
    EXPECT_EQ(domain->next, nullptr);
    CMPNTEMI_Free(&emi);
}

TEST_F(CmpntEmiRecord, ReleasingTheOpenBlockEndsIt) {
    CmpntEmi* emi = nullptr;
    emiscript::RunComponentScript("[Begin EMI Component]\nDomain Analog", &emi);
    CMPNTEMI_Free(&emi);
    char data[] = "Domain Digital";
    emiscript::CurrentLine() = 3;
    CMPNTEMI_Line(SECTION_LINE_DATA, KW_BEGIN_EMI_COMPONENT, data, &emi);
    CMPNTEMI_Close(KW_PIN);
    EXPECT_EQ(Messages(), "E4706@3 Orphan data line");
    EXPECT_EQ(emi, nullptr);
}

TEST_F(CmpntEmiRecord, ReportsCallerFaultsAsProgramBugs) {
    CmpntEmi* emi = nullptr;
    char begin[] = "[Begin EMI Component]";
    char data[] = "Domain Analog";
    emiscript::CurrentLine() = 7;
    CMPNTEMI_Line(SECTION_LINE_KEYWORD, KW_BEGIN_EMI_COMPONENT, begin, nullptr);
    CMPNTEMI_Line(SECTION_LINE_COMMENT, KW_BEGIN_EMI_COMPONENT, data, &emi);
    CMPNTEMI_Line(SECTION_LINE_KEYWORD, KW_BEGIN_EMI_COMPONENT, begin, &emi);
    CMPNTEMI_Line(SECTION_LINE_KEYWORD, KW_PIN, begin, &emi);
    CMPNTEMI_Line(SECTION_LINE_DATA, KW_PIN, data, &emi);
    std::string out = Messages();
    EXPECT_THAT(out, HasSubstr("B4700 IbisParser/cmpntemi:"));
    EXPECT_THAT(out, HasSubstr(":Unable to get Component for EMI section."));
    EXPECT_THAT(out, HasSubstr(":Illegal line type passed to EMI Component."));
    EXPECT_THAT(out, HasSubstr("B4707@7 IbisParser/cmpntemi:"));
    EXPECT_THAT(out, HasSubstr("B4709@7 IbisParser/cmpntemi:"));
    CMPNTEMI_Free(&emi);
}

}  // namespace
