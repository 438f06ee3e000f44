// The EMI block of a model: its record and the messages of its lines.
#include <gtest/gtest.h>

#include <string>

#include "EmiScript.h"
#include "IbisParser/mdlemi.h"

namespace {

struct MdlEmiCase {
    const char* script;  // first line: the text after [Begin EMI Model]
    const char* expected;
    int domain;
    int type;
};

class MdlEmiBlock : public emiscript::Fixture, public ::testing::WithParamInterface<MdlEmiCase> {};

TEST_P(MdlEmiBlock, SetsTheRecordAndReportsEachFault) {
    const MdlEmiCase& c = GetParam();
    MdlEmi* emi = nullptr;
    std::vector<std::string> lines = emiscript::Lines(c.script);
    for (size_t i = 0; i < lines.size(); i++) {
        emiscript::CurrentLine() = static_cast<int>(i) + 1;
        std::string text = lines[i];
        if (i == 0)
            MDLEMI_Begin(&text[0], &emi);
        else
            MDLEMI_Line(&text[0], emi);
    }
    EXPECT_EQ(Messages(), c.expected) << c.script;
    ASSERT_NE(emi, nullptr);
    EXPECT_EQ(emi->domain, c.domain);
    EXPECT_EQ(emi->modelEmiType, c.type);
    MDLEMI_Free(&emi);
    EXPECT_EQ(emi, nullptr);
}

const MdlEmiCase kCases[] = {
    {"\nDomain Digital\nModel_emi_type Ferrite", "", MDLEMI_DOMAIN_DIGITAL, MDLEMI_TYPE_FERRITE},
    {"\nModel_emi_type Not_a_ferrite\nDomain Analog\nR_pkg 1", "", MDLEMI_DOMAIN_ANALOG,
     MDLEMI_TYPE_NOT_A_FERRITE},
    {"extra words", "E4801@1 Incorrect Number of Line Items (3) For EMI Model: Expecting 1", 0, 0},
    {"\nDomain analog\nModel_emi_type FERRITE",
     "E4807@2 Invalid Domain (\"analog\") (try \"Analog\")\n"
     "E4807@3 Invalid Model_emi_type (\"FERRITE\") (try \"Ferrite\")",
     0, 0},
    {"\nDomain Digital\nDomain Mixed",
     "E4805@3 Domain is already specified for the EMI Model\n"
     "E4808@3 Invalid Domain (\"Mixed\")",
     MDLEMI_DOMAIN_DIGITAL, 0},
    {"\nDomain Digital\nDomain Analog", "E4805@3 Domain is already specified for the EMI Model",
     MDLEMI_DOMAIN_ANALOG, 0},
    {"\nModel_emi_type\nDomain Analog Digital",
     "E4806@2 'Model_emi_type' Subparameter Missing Setting\n"
     "E4801@3 Incorrect Number of Line Items (3) For Domain: Expecting 2",
     0, 0},
    {"\ndomain Analog", "", 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Lines, MdlEmiBlock, ::testing::ValuesIn(kCases));

class MdlEmiRecord : public emiscript::Fixture {};

TEST_F(MdlEmiRecord, ASecondBeginReplacesTheRecord) {
    MdlEmi* emi = nullptr;
    char none[] = "";
    char line[] = "Domain Analog";
    emiscript::CurrentLine() = 4;
    MDLEMI_Begin(none, &emi);
    MDLEMI_Line(line, emi);
    MDLEMI_Begin(none, &emi);
    EXPECT_EQ(Messages(), "E4800@4 EMI Model: Already Defined for this model");
    ASSERT_NE(emi, nullptr);
    EXPECT_EQ(emi->domain, 0);
    MDLEMI_Line(line, nullptr);  // no record: ignored
    MDLEMI_Free(&emi);
    MDLEMI_Free(&emi);
    EXPECT_EQ(Messages(), "");
}

}  // namespace
