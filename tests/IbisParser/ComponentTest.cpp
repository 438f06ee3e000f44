// The component section: keyword and data lines of a [Component], the
// checks at its end, and the after-file checks against the file's models,
// selectors and package models.  Each row is a file body, the IBIS version
// it is read under, and every message expected (coded, with its line).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "EmiScript.h"
#include "IbisFixture.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/difpin.h"
#include "IbisParser/mdl.h"
#include "IbisParser/pinmpg.h"

namespace {

// Lines 4 to 9 of every file: a component with all it requires but pins.
const char* const kComponent =
    "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n";

// A clean input model, for pins that need one.
const char* const kModel =
    "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"
    "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n";

struct Row {
    const char* name;
    const char* version;
    const char* body;  // after the header (lines 1 to 3), before [End]
    const char* expected;
};

class ComponentFixture : public IbisFixture {
protected:
    // Checks the file as the checker does and returns the coded messages.
    std::string Check(const std::string& version, const std::string& body,
                      IbisFile** keep = nullptr) {
        MSG_SetCoded(1);
        std::string path = Write("t.ibs", "[IBIS Ver] " + version +
                                              "\n[File Name] t.ibs\n[File Rev] 1.0\n" + body +
                                              "[End]\n");
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        PARSE_File(path.c_str(), CMN_FILE_IBS);
        SECTION_RunAfterFileChecks(file);
        if (keep)
            *keep = file;
        else
            IBIS_Free(&file);
        return emiscript::Compact(Output());
    }
};

class ComponentRows : public ComponentFixture, public ::testing::WithParamInterface<Row> {};

TEST_P(ComponentRows, ReportsEachFaultAtItsLine) {
    const Row& r = GetParam();
    EXPECT_EQ(Check(r.version, r.body), r.expected) << r.name;
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) { return info.param.name; }

#define C "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
#define PINS "[Pin] signal_name model_name\n1 VDD POWER\n"

// Keyword lines of the component itself and its end checks.
const Row kKeywordRows[] = {
    {"CleanComponent", "3.2", C PINS, ""},
    {"Orphans", "3.2", "[Manufacturer] m\nx\n",
     "E0501@4 Orphan Component keyword.\n"
     "E0502@5 Orphan data line keyword."},
    {"NameWithBlank", "3.2", "[Component] My Chip\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\n"
     "L_pkg 1n NA NA\nC_pkg 1p NA NA\n" PINS,
     "W0513@4 Component 'My Chip' contains a blank character."},
    {"ReservedName", "3.2", "[Component] GND\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\n"
     "L_pkg 1n NA NA\nC_pkg 1p NA NA\n" PINS,
     "E1916@4 Illegal use of Reserved Word 'GND'."},
    {"NoManufacturerNoPackage", "3.2", "[Component] c\n" PINS,
     "E0514 Required keyword 'Manufacturer' not defined for Component 'c'.\n"
     "E0519 Keyword 'Package' not defined for Component 'c'."},
    {"NoPinsAtAll", "3.2", C,
     "E0524 Unable to find Pin keyword data for Component 'c'."},
    {"DataAfterKeywords", "3.2", C "[Manufacturer] n\nmore\n[Package Model] p\nmore\n" PINS,
     "E1911@10 Duplicate 'Manufacturer' keyword.\n"
     "E0507@11 Data on this line appears to be for the Manufacturer keyword, which does not allow data on subsequent lines.\n"
     "E0508@13 Data on this line appears to be for the Package Model keyword, which does not allow data on subsequent lines.\n"
     "E0516 Unable to find Package Model 'p' for Component 'c'"},
    {"ComponentDataBeforeVersion3", "2.1", "[Component] c\nSi_location Pin\n[Manufacturer] m\n"
     "[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" PINS,
     "E0506@5 Data on this line appears to be for the Component keyword, which does not allow data on subsequent lines."},
    {"DuplicateNames", "3.2", C PINS C PINS C PINS,
     "E0511 Component 'c' is duplicated within the .ibs file.\n"
     "E0511 Component 'c' is duplicated within the .ibs file.\n"
     "E0511 Component 'c' is duplicated within the .ibs file."},
};
INSTANTIATE_TEST_SUITE_P(Keywords, ComponentRows, ::testing::ValuesIn(kKeywordRows), RowName);

// [Package] and its three sub-parameters.
const Row kPackageRows[] = {
    {"MissingCpkg", "3.2", "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\n"
     "L_pkg 1n NA NA\n" PINS,
     "E1217 Component 'c': Required sub-parameter C_pkg not found."},
    {"Faults", "3.2", "[Component] c\n[Manufacturer] m\n[Package] x\nR_pkg 1m NA\nX_pkg 1 2 3\n"
     "R_pkg 1m NA NA\nR_pkg 2m NA NA\nL_pkg abc NA NA\nL_pkg NA 1n 2n\nC_pkg 1p NA NA\n"
     "[Package]\n" PINS,
     "E0518@6 Unknown data after Package keyword.\n"
     "E1202@7 Expected 4 columns in Package sub-parameter line, found 3 columns.\n"
     "E1206@8 Unknown Package subparameter.\n"
     "E1203@10 Duplicate R_pkg sub-parameter.\n"
     "E1909@11 Invalid typ Value (\"abc\")\n"
     "E1207@11 Unable to parse data for Package subparameter 'L_pkg'.\n"
     "E1209@12 The typical column must be specified.\n"
     "E0517@14 Duplicate Package keyword."},
};
INSTANTIATE_TEST_SUITE_P(Package, ComponentRows, ::testing::ValuesIn(kPackageRows), RowName);

// Component sub-parameters.
const Row kSubParamRows[] = {
    {"Locations", "3.2", "[Component] c\nSi_location pin\nTiming_location Die\nSi_location Pin\n"
     "Timing_location\nSi_location Pin Die\nFoo Pin\nTiming_location Middle\n"
     "[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" PINS,
     "E0540@5 Invalid Si_location (\"pin\") (try \"Pin\")\n"
     "E0537@7 Si_location Already Defined For Component 'c'\n"
     "E0537@8 Timing_location Already Defined For Component 'c'\n"
     "E0538@8 'Timing_location' Subparameter Missing Setting\n"
     "E0537@9 Si_location Already Defined For Component 'c'\n"
     "E0539@9 Incorrect Number of Line Items (3) For Si_location: Expecting 2\n"
     "E0535@10 Unknown Line after Component Description\n"
     "E0537@11 Timing_location Already Defined For Component 'c'\n"
     "E0541@11 Invalid Timing_location (\"Middle\")"},
};
INSTANTIATE_TEST_SUITE_P(SubParameters, ComponentRows, ::testing::ValuesIn(kSubParamRows), RowName);

// [Pin]: the header and the data lines.
const Row kPinRows[] = {
    {"HeaderFaults", "3.2", C "[Pin] signal_name model_name R_pin R_pin C_pin\n1 VDD POWER 1 2 3\n"
     "[Pin]\n",
     "E0531@10 Duplicate column header 'R_pin' .\n"
     "E0523@12 Duplicate Pin keyword found."},
    {"EmptyAndShortHeaders", "3.2", C "[Pin]\n1 VDD POWER\n",
     "E0528@10 Unable to find column headers after Pin keyword."},
    {"ShortHeader", "3.2", C "[Pin] signal_name\n1 VDD POWER\n",
     "E0529@10 'model_name' column header not found or out of order.\n"
     "E0532@10 Pin keyword column count must be 3 or 6, found 2 columns."},
    {"UnknownColumn", "3.2", C "[Pin] signal model_name X_pin L_pin C_pin\n1 VDD POWER 1 2 3\n",
     "E0529@10 'signal_name' column header not found or out of order.\n"
     "E0530@10 Unknown column header 'X_pin' or out of order."},
    {"LineFaults", "3.2", C "[Pin] signal_name model_name\n1 VDD POWER 1m\n2 VDD POWER 1 2 3\n"
     "1 VDD GND\n123456 VDD POWER\n3 VDD\n",
     "E0604@11 Each line of Pin data must contain either 3 or 6 columns.\n"
     "E0605@12 When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed.\n"
     "E0606@13 Duplicate Pin '1'.\n"
     "E1912@14 Pin string '123456' is too long, truncating to 5 characters.\n"
     "E0603@15 Model name not found.\n"
     "E0604@15 Each line of Pin data must contain either 3 or 6 columns."},
    {"BadValues", "3.2", C "[Pin] signal_name model_name R_pin L_pin C_pin\n"
     "1 VDD POWER x 1n 1p\n2 VDD POWER NA NA 1p2\n",
     "E1909@11 Invalid R_pin Value (\"x\")\n"
     "W1910@12 Suspicious Pin C_pin Value (\"1p2\"); Numeric in Scale"},
    {"SignalNameLimitByVersion", "3.2", C "[Pin] signal_name model_name\n"
     "1 abcdefghijklmnopqrstu POWER\n",
     "E1912@11 Signal name string 'abcdefghijklmnopqrstu' is too long, truncating to 20 characters."},
    {"ModelChecks", "3.2", C "[Pin] signal_name model_name\n1 a in\n2 b nomodel\n3 c NC\n"
     "4 d CircuitCall\n" "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"
     "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n",
     "E0608 Component 'c': Model 'nomodel' for Pin '2' not defined."},
};
INSTANTIATE_TEST_SUITE_P(Pins, ComponentRows, ::testing::ValuesIn(kPinRows), RowName);

}  // namespace
