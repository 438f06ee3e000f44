// Package models: identification keywords, counts, pin lists in plain and
// section form, R/L/C sections, the end-of-model checks, the look-ups the
// component checks use, and the search of the .pkg files next to a file.
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

#include "IbisParser/section.h"
#include "PkgFixture.h"

namespace {

#define HEAD "[IBIS Ver] 3.2\n[File Name] t.pkg\n[File Rev] 1\n"
#define IDENT "[Define Package Model] p\n[Manufacturer] m\n[OEM] o\n[Description] d\n"
#define ENDS "[End Model Data]\n[End Package Model]\n[End]\n"
#define NO_MATRICES                                                \
    "ERROR - Inductance matrix not found for Package Model 'p'.\n" \
    "ERROR - Capacitance matrix not found for Package Model 'p'.\n"

class Model : public PkgFixture, public ::testing::WithParamInterface<PkgCase> {};

TEST_P(Model, ReportsItsFaults) {
    EXPECT_EQ(ParsePkg(GetParam().body), GetParam().expected);
}

const PkgCase kModelCases[] = {
    {"NothingButTheName", HEAD "[Define Package Model]\n[End]\n",
     "ERROR (line    4) - Zero length value for keyword 'Define Package Model'.\n"
     "ERROR - Package Model keyword 'Define_Package_Model' not found or blank.\n"
     "ERROR - Keyword 'Manufacturer' not found or blank for Package Model ''.\n"
     "ERROR - OEM keyword not found for Package Model ''.\n"
     "ERROR - Description keyword not found for Package Model ''.\n"
     "ERROR - Number_of_Pins keyword not found or value bad for Package Model ''.\n"
     "ERROR - Required keyword Pin_Numbers not found for Package Model ''.\n"
     "ERROR - Required Model_Data keyword not found for package .\n"
     "ERROR - Inductance matrix not found for Package Model ''.\n"
     "ERROR - Capacitance matrix not found for Package Model ''.\n"
     "ERROR - Required End_Model_Data keyword not found for package .\n"
     "ERROR - Required End_Package_Model keyword not found.\n"},
    {"CountsDuplicatesAndPinNames",
     HEAD IDENT
     "[Number of Pins]\n[Number of Pins] x\n[Number of Pins] 0\n[Number of Pins] 2 pins\n"
     "[Number of Pins] 2\n[Pin Numbers] A1\nA1\nA1\nABCDEFG\n[Pin Numbers]\n[Model Data]\n"
     "[OEM] o2\n[Manufacturer] m2\n" ENDS,
     "ERROR (line    8) - Blank Number_of_Pins value.\n"
     "ERROR (line    9) - Bad Number_of_Pins value.\n"
     "ERROR (line   10) - Number_of_Pins = 0.\n"
     "WARNING (line   11) - Suspicious Number_of_Pins value.\n"
     "ERROR (line   12) - Duplicate Number_of_Pins keyword.\n"
     "ERROR (line   13) - Extraneous data on 'Pin_Numbers' line.\n"
     "ERROR (line   15) - Duplicate Pin <A1>.\n"
     "ERROR (line   16) - Pin Numbers name string too long. will be truncated.\n"
     "ERROR (line   16) - More Pin Numbers names than Number of pins.\n"
     "ERROR (line   17) - Duplicate 'Pin_Numbers' keyword found.\n"
     "ERROR (line   19) - Duplicate 'OEM' keyword.\n"
     "ERROR (line   20) - Duplicate 'Manufacturer' keyword.\n" NO_MATRICES},
    {"PinCountTooLargeForThisChecker", HEAD IDENT "[Number of Pins] 5000000000\n[End]\n",
     "ERROR (line    8) - Bad Number_of_Pins value.\n"
     "ERROR - Number_of_Pins keyword not found or value bad for Package Model 'p'.\n"
     "ERROR - Required keyword Pin_Numbers not found for Package Model 'p'.\n"
     "ERROR - Required Model_Data keyword not found for package p.\n" NO_MATRICES
     "ERROR - Required End_Model_Data keyword not found for package p.\n"
     "ERROR - Required End_Package_Model keyword not found.\n"},
    {"PinsBeforeTheirCount",
     HEAD IDENT "[Pin Numbers]\nA1\n[Number of Pins] 3\n[Model Data]\n[Model Data] x\n" ENDS,
     "ERROR (line    9) - Number of Pins is zero, unable to add Pin Number.\n"
     "ERROR (line   12) - Duplicate 'Model_Data' keyword found.\n"
     "ERROR - No Pin Numbers names found for Package Model 'p'.\n" NO_MATRICES},
    {"FewerPinsThanDeclared",
     HEAD IDENT "[Number of Pins] 3\n[Pin Numbers]\nA1\nA2\n[Model Data] x\n[End Model Data] y\n"
                "[End Package Model] z\n[End Package Model]\n[End]\n",
     "ERROR (line   12) - Extraneous data on 'Model_Data' line.\n"
     "ERROR (line   13) - Extraneous data on 'End_Model_Data' line.\n"
     "ERROR (line   14) - Extraneous data on 'End_Package_Model' line.\n"
     "ERROR (line   15) - Duplicate 'End_Package_Model' keyword found.\n"
     "ERROR - Number of Pins <3> not the same as count of Pin Numbers names found <2> for "
     "Package Model 'p'.\n" NO_MATRICES},
    {"OrphanKeywordAndData", HEAD "[OEM] o\ndata\n[End]\n",
     "ERROR (line    4) - Orphan Package Model keyword.\n"
     "ERROR (line    5) - Orphan Data Line.\n"},
    {"DataAfterAnIdentificationKeyword", HEAD IDENT "data\n[End]\n",
     "ERROR (line    8) - Orphan Data line.\n"
     "ERROR - Number_of_Pins keyword not found or value bad for Package Model 'p'.\n"
     "ERROR - Required keyword Pin_Numbers not found for Package Model 'p'.\n"
     "ERROR - Required Model_Data keyword not found for package p.\n" NO_MATRICES
     "ERROR - Required End_Model_Data keyword not found for package p.\n"
     "ERROR - Required End_Package_Model keyword not found.\n"},
};
INSTANTIATE_TEST_SUITE_P(Keywords, Model, ::testing::ValuesIn(kModelCases),
                         [](const ::testing::TestParamInfo<PkgCase>& i) { return i.param.name; });

// Section form: the body starts on line 9, after [Number of Pins] 3.
class SectionForm : public PkgFixture, public ::testing::WithParamInterface<PkgCase> {};

TEST_P(SectionForm, ReportsItsFaults) {
    EXPECT_EQ(ParsePkg(Model(3, GetParam().body, true)), GetParam().expected);
}

const PkgCase kSectionCases[] = {
    {"ChainsAcrossLines",
     "[Number of Sections] 3\n[Pin Numbers]\nA1 Len=0 L=1n / Len=1.2 L=6n C=2p /\n"
     "Len=1 L=1n C=1p /\nA2 Len=0 R=1 L=1n C=1p /\nA3 Len=0 L=1n /\n[End Package Model]\n[End]\n",
     ""},
    {"ForksAndOrphans",
     "[Number of Sections] 3\n[Pin Numbers]\nFork\nEndfork\nLen=0 L=1n /\nA1 Len=0 L=1n /\nFork\n"
     "Fork\nEndfork\nEndfork\nEndfork\nA2 Len=0 L=1n /\nFork\nLen=0 L=1n /\nA3 Len=0 L=1n /\nFork\n"
     "[End Package Model]\n[End]\n",
     "ERROR (line   11) - Detected the start of an orphan 'Fork'\n"
     "ERROR (line   12) - Detected the start of an orphan 'Endfork'\n"
     "ERROR (line   13) - Detected the start of an orphan R/L/C section\n"
     "ERROR (line   16) - Cannot Nest Forks\n"
     "ERROR (line   17) - Empty Fork/Endfork found\n"
     "ERROR (line   19) - Endfork found without enclosing Fork\n"
     "ERROR (line   23) - A new Pin A3 has been defined before terminating a previous Fork with "
     "the corresponding Endfork\n"
     "ERROR - Some Fork sub parameters were not terminated with Endfork\n"},
    {"SuspiciousNamesAndTooManySections",
     "[Number of Sections] 1\n[Pin Numbers]\nA=1 Len=0 L=1n /\nA/1 Len=0 L=1n / Len=0 L=1n /\n"
     "Len Len=0 L=1n /\n[Number of Sections] 2\n[End Package Model]\n[End]\n",
     "WARNING (line   11) - Found a Pin Name 'A=1' containing '='. Possible syntax error\n"
     "WARNING (line   12) - Found a Pin Name 'A/1' containing '/'. Possible syntax error\n"
     "WARNING (line   13) - Found a Pin Name 'Len'. Possible syntax error\n"
     "ERROR (line   14) - Duplicate Number_of_Sections keyword.\n"
     "ERROR - Pin 'A/1' has 2 sections. This is greater than the Number of Sections 1 "
     "specified\n"},
    {"SectionCountsAndKeywordsTheFormForbids",
     "[Pin Numbers]\nA1\n[Number of Sections]\n[Number of Sections] x\n[Number of Sections] 0\n"
     "[Number of Sections] 2x\n[Model Data]\n[Resistance Matrix] Full_matrix\n" ENDS,
     "ERROR (line   11) - Blank Number_of_Sections value.\n"
     "ERROR (line   12) - Number of Sections should be specified before Pin Numbers\n"
     "ERROR (line   12) - Bad Number_of_Sections value.\n"
     "ERROR (line   13) - Number of Sections should be specified before Pin Numbers\n"
     "ERROR (line   13) - Number_of_Sections = 0.\n"
     "ERROR (line   14) - Number of Sections should be specified before Pin Numbers\n"
     "WARNING (line   14) - Suspicious Number_of_Sections value.\n"
     "ERROR (line   17) - Expected 3 Rows, found 0 for Matrix ending previous to this line.\n"
     "ERROR - Number of Pins <3> not the same as count of Pin Numbers names found <1> for "
     "Package Model 'qfn'.\n"
     "ERROR - Model_Data cannot be specified when Number_Of_Sections is specified for package "
     "qfn.\n"
     "ERROR - Resistance_Matrix cannot be specified when Number_Of_Sections is specified for "
     "Package Model qfn.\n"
     "ERROR - End_Model_Data cannot be specified when Number_Of_Sections is specified for "
     "package qfn.\n"},
};
INSTANTIATE_TEST_SUITE_P(Pins, SectionForm, ::testing::ValuesIn(kSectionCases),
                         [](const ::testing::TestParamInfo<PkgCase>& i) { return i.param.name; });

// One pin line of R/L/C sections, on line 11 of a one-pin model.
struct SectCase {
    const char* name;
    const char* line;
    const char* expected;  // messages of line 11, without the prefix
};

class RlcSection : public PkgFixture, public ::testing::WithParamInterface<SectCase> {};

TEST_P(RlcSection, ReportsEachFaultOfTheLine) {
    std::string body = "[Number of Sections] 5\n[Pin Numbers]\n" + std::string(GetParam().line) +
                       "\n[End Package Model]\n[End]\n";
    std::string expected, rest = GetParam().expected;
    for (size_t at; (at = rest.find('\n')) != std::string::npos; rest.erase(0, at + 1)) {
        std::string text = rest.substr(0, at);
        bool warn = text.rfind("W:", 0) == 0;
        expected +=
            (warn ? "WARNING (line   11) - " + text.substr(2) : "ERROR (line   11) - " + text) +
            "\n";
    }
    EXPECT_EQ(ParsePkg(Model(1, body, true)), expected);
}

#define NO_SECTIONS \
    "No Sections were defined for this pin even though [Number of Sections] was defined.\n"

const SectCase kSectCases[] = {
    {"UnexpectedEquals", "A1 =1 /",
     "Unexpected '=' found\nUnexpected token '1' found in R/L/C section\nEmpty R/L/C section "
     "found\n"},
    {"UnknownName", "A1 X=1 Len=0 /",
     "Unexpected token 'X' found in R/L/C section\nUnexpected '=' found\n"
     "Unexpected token '1' found in R/L/C section\n"},
    {"NameAtTheEnd", "A1 Len", "Premature end of R/L/C section\n" NO_SECTIONS},
    {"MissingEquals", "A1 Len 1 / L=1n /",
     "Error parsing R/L/C section. Missing '='\nLen should be specified before L\n"},
    {"EmptyValue", "A1 Len= L=1n C=1p /", "Numerical value expected\n"},
    {"IllegalNumber", "A1 Len=1q2 L=1n C=1p /", "Illegal number found '1q2'\n"},
    {"LenTwiceAndNegative", "A1 Len=0 Len=-1 L=1n /",
     "Duplicate Len sub param in R/L/C section\nLen should not be less than zero\n"
     " L and C must be specified when Len != 0\n"},
    {"RBeforeLenTwiceAndNegative", "A1 R=1 R=-1 Len=0 /",
     "Len should be specified before R\nLen should be specified before R\n"
     "Duplicate R sub param in R/L/C section\nR should not be less than zero\n"},
    {"LAndCTwiceAndNegative", "A1 Len=0 L=1n L=-1n C=1p C=-1p /",
     "Duplicate L sub param in R/L/C section\nL should not be less than zero\n"
     "Duplicate C sub param in R/L/C section\nC should not be less than zero\n"},
    {"LAndCBeforeLen", "A1 L=1n C=1p Len=0 /",
     "Len should be specified before L\nLen should be specified before C\n"},
    {"EmptySection", "A1 /", "Empty R/L/C section found\n"},
    {"NoTrailingSlash", "A1 Len=0 L=1n",
     "Premature end of R/L/C section. Trailing '/' missing\n" NO_SECTIONS},
    {"LengthWithoutLAndC", "A1 Len=1 R=0.1 /", " L and C must be specified when Len != 0\n"},
    {"PinWithoutSections", "A1", NO_SECTIONS},
};
INSTANTIATE_TEST_SUITE_P(Items, RlcSection, ::testing::ValuesIn(kSectCases),
                         [](const ::testing::TestParamInfo<SectCase>& i) { return i.param.name; });

class PackageRecord : public PkgFixture {};

TEST_F(PackageRecord, SectionFormKeepsChainsAndForkBranches) {
    IbisFile* file = Keep(Model(2,
                                "[Number of Sections] 4\n[Pin Numbers]\n"
                                "A1 Len=0 L=1n / Len=1.2 L=6n C=2p /\nLen=1 L=1n C=1p /\n"
                                "A2 Len=0 R=2 /\nFork\nLen=0 L=3n /\nEndfork\nLen=0 C=4p /\n"
                                "[End Package Model]\n[End]\n",
                                true));
    PKGMDL* m = First(file);
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->pinSections, nullptr);
    EXPECT_EQ(m->pinSections[0].count, 3u);
    EXPECT_EQ(m->pinSections[1].count, 3u);
    SectNode* n = m->pinSections[1].first;
    ASSERT_NE(n, nullptr);
    ASSERT_NE(n->sect->r, nullptr);
    EXPECT_EQ(*n->sect->r, 2.0);
    EXPECT_EQ(n->sect->l, nullptr);
    ASSERT_NE(n->next, nullptr);
    EXPECT_EQ(n->next->kind, SECT_NODE_FORK);
    ASSERT_NE(n->next->branch, nullptr);
    EXPECT_DOUBLE_EQ(*n->next->branch->sect->l, 3e-9);
    ASSERT_NE(n->next->next, nullptr);
    EXPECT_DOUBLE_EQ(*n->next->next->sect->c, 4e-12);
    IBIS_Free(&file);
    EXPECT_EQ(Output(), "");
}

TEST_F(PackageRecord, LookupsFindModelsAndIteratePins) {
    IbisFile* file = Keep(HEAD IDENT
                          "[Number of Pins] 3\n[Pin Numbers]\nB2\nA1\nC3\n[Model Data]\n"
                          "[End Model Data]\n[End Package Model]\n"
                          "[Define Package Model] q\n[End]\n");
    IbisItem* list = nullptr;
    ASSERT_EQ(IBIS_GetPackageModels(file, &list), 1);
    PKGMDL* m = nullptr;
    EXPECT_EQ(PKGMDL_Find(list, "q", &m), 1);
    EXPECT_STREQ(m->name, "q");
    EXPECT_EQ(PKGMDL_Find(list, "P", &m), 0);
    EXPECT_EQ(m, nullptr);
    const char* pin = nullptr;
    std::string pins;
    for (int more = PKGMDL_NextPin(list, "p", 1, &pin); more;
         more = PKGMDL_NextPin(list, "p", 0, &pin))
        pins += std::string(pin) + " ";
    EXPECT_EQ(pins, "B2 A1 C3 ");
    EXPECT_EQ(PKGMDL_NextPin(list, "p", 0, &pin), 0);
    EXPECT_EQ(PKGMDL_NextPin(list, "q", 1, &pin), 0);
    EXPECT_EQ(PKGMDL_NextPin(list, "none", 1, &pin), 0);
    unsigned index = 9;
    EXPECT_EQ(PKGMDL_PinIndex("A1", &index), 0);  // no model is current
    EXPECT_EQ(index, 0u);
    IBIS_Free(&file);
}

TEST_F(PackageRecord, DuplicateNamesAreReportedOncePerRepeatAfterTheFile) {
    std::string one =
        "[Define Package Model] %\n[Manufacturer] m\n[OEM] o\n[Description] d\n"
        "[Number of Pins] 1\n[Pin Numbers]\nA1\n";
    std::string text = HEAD;
    for (const char* name : {"p", "q", "p", "r", "r", "r"}) {
        std::string m = one;
        m.replace(m.find('%'), 1, name);
        text += m;
    }
    IbisFile* file = Keep(text + "[End]\n");
    Output();
    SECTION_RunAfterFileChecks(file);
    EXPECT_EQ(Output(),
              "ERROR - Define_Package_Model 'p' is duplicated within the .ibs file.\n"
              "ERROR - Define_Package_Model 'r' is duplicated within the .ibs file.\n"
              "ERROR - Define_Package_Model 'r' is duplicated within the .ibs file.\n");
    IbisItem* list = nullptr;
    IBIS_GetPackageModels(file, &list);
    PKGMDL_Free(list);
    EXPECT_EQ(list->record, nullptr);
    IBIS_Free(&file);
}

TEST_F(PackageRecord, SearchReadsThePkgFilesThatDefineTheModel) {
    std::string model =
        "[Manufacturer] m\n[OEM] o\n[Description] d\n[Number of Pins] 1\n"
        "[Pin Numbers]\nA1\n[Model Data]\n"
        "[Inductance Matrix] Full_matrix\n"
        "[Row] A1\n1n\n[Capacitance Matrix] Full_matrix\n[Row] A1\n1p\n" ENDS;
    Write("b.pkg",
          "[IBIS Ver] 3.2\n[File Name] b.pkg\n[File Rev] 1\n"
          "[define_package model]   wanted\n" +
              model);
    Write("c.pkg",
          "[IBIS Ver] 3.2\n[File Name] c.pkg\n[File Rev] 1\n"
          "[Define Package Model] other\n" +
              model);
    Write(".hidden.pkg", "[IBIS Ver] 3.2\n[Define Package Model] wanted\n");
    Write("notes.txt", "[Define Package Model] wanted\n");
    ASSERT_EQ(mkdir(Path("dir.pkg").c_str(), 0700), 0);
    IbisFile* file = Keep(HEAD "[End]\n");
    Output();
    PkgmdlSearch search = {};
    EXPECT_EQ(PKGMDL_SearchPkgFiles(&search, "wanted"), 1);
    EXPECT_EQ(PKGMDL_SearchPkgFiles(&search, "absent"), 0);
    EXPECT_EQ(PKGMDL_SearchPkgFiles(&search, "want"), 0);
    PKGMDL_EndSearch(&search);
    EXPECT_EQ(Output(), "");
    EXPECT_STREQ(CMN_GetFileName(), "t.pkg");
    IbisItem* list = nullptr;
    PKGMDL* m = nullptr;
    IBIS_GetPackageModels(file, &list);
    EXPECT_EQ(PKGMDL_Find(list, "wanted", &m), 1);
    EXPECT_EQ(PKGMDL_Find(list, "other", &m), 0);
    IBIS_Free(&file);
}

TEST_F(PackageRecord, SearchOfAnUnreadableDirectoryIsReportedNotFatal) {
    IbisFile* file = Keep(HEAD "[End]\n");
    Output();
    ASSERT_EQ(rmdir(dir_.c_str()) == 0 || system(("rm -rf '" + dir_ + "'").c_str()) == 0, true);
    PkgmdlSearch search = {};
    EXPECT_EQ(PKGMDL_SearchPkgFiles(&search, "wanted"), 0);
    EXPECT_EQ(PKGMDL_SearchPkgFiles(&search, "other"), 0);
    PKGMDL_EndSearch(&search);
    EXPECT_EQ(Output(), "ERROR - Unable to list directory '" + dir_ + "/'.\n");
    mkdir(dir_.c_str(), 0700);
    IBIS_Free(&file);
}

// The reader closes no section after an unknown keyword; the models it
// leaves open are still checked, by the next model or after the file.
TEST_F(PackageRecord, ModelsLeftOpenByAnUnknownKeywordAreStillChecked) {
    IbisFile* file = Keep(HEAD
                          "[Define Package Model] p\n[Bogus]\n[Define Package Model] q\n"
                          "[Bogus]\n[End]\n");
    SECTION_RunAfterFileChecks(file);
    std::string out = Output();
    EXPECT_NE(out.find("OEM keyword not found for Package Model 'p'."), std::string::npos) << out;
    EXPECT_NE(out.find("OEM keyword not found for Package Model 'q'."), std::string::npos) << out;
    EXPECT_LT(out.find("'p'"), out.find("(line    7)")) << out;
    IBIS_Free(&file);
}

}  // namespace
