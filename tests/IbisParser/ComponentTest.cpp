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
#include "IbisParser/pkg.h"

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
        std::string path =
            Write("t.ibs", "[IBIS Ver] " + version + "\n[File Name] t.ibs\n[File Rev] 1.0\n" +
                               body + "[End]\n");
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

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

#define C \
    "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
#define PINS "[Pin] signal_name model_name\n1 VDD POWER\n"

// Keyword lines of the component itself and its end checks.
const Row kKeywordRows[] = {
    {"CleanComponent", "3.2", C PINS, ""},
    {"Orphans", "3.2", "[Manufacturer] m\nx\n",
     "E0501@4 Orphan Component keyword.\n"
     "E0502@5 Orphan data line keyword."},
    {"NameWithBlank", "3.2",
     "[Component] My Chip\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\n"
     "L_pkg 1n NA NA\nC_pkg 1p NA NA\n" PINS,
     "W0513@4 Component 'My Chip' contains a blank character."},
    {"ReservedName", "3.2",
     "[Component] GND\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\n"
     "L_pkg 1n NA NA\nC_pkg 1p NA NA\n" PINS,
     "E1916@4 Illegal use of Reserved Word 'GND'."},
    {"NoManufacturerNoPackage", "3.2", "[Component] c\n" PINS,
     "E0514 Required keyword 'Manufacturer' not defined for Component 'c'.\n"
     "E0519 Keyword 'Package' not defined for Component 'c'."},
    {"NoPinsAtAll", "3.2", C, "E0524 Unable to find Pin keyword data for Component 'c'."},
    {"DataAfterKeywords", "3.2", C "[Manufacturer] n\nmore\n[Package Model] p\nmore\n" PINS,
     "E1911@10 Duplicate 'Manufacturer' keyword.\n"
     "E0507@11 Data on this line appears to be for the Manufacturer keyword, which does not allow "
     "data on subsequent lines.\n"
     "E0508@13 Data on this line appears to be for the Package Model keyword, which does not allow "
     "data on subsequent lines.\n"
     "E0516 Unable to find Package Model 'p' for Component 'c'"},
    {"ComponentDataBeforeVersion3", "2.1",
     "[Component] c\nSi_location Pin\n[Manufacturer] m\n"
     "[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" PINS,
     "E0506@5 Data on this line appears to be for the Component keyword, which does not allow data "
     "on subsequent lines."},
    // Once per component that repeats a name, not once per pair.
    {"DuplicateNames", "3.2", C PINS C PINS C PINS,
     "E0511 Component 'c' is duplicated within the .ibs file.\n"
     "E0511 Component 'c' is duplicated within the .ibs file."},
};
INSTANTIATE_TEST_SUITE_P(Keywords, ComponentRows, ::testing::ValuesIn(kKeywordRows), RowName);

// [Package] and its three sub-parameters.
const Row kPackageRows[] = {
    {"MissingCpkg", "3.2",
     "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\n"
     "L_pkg 1n NA NA\n" PINS,
     "E1217 Component 'c': Required sub-parameter C_pkg not found."},
    {"Faults", "3.2",
     "[Component] c\n[Manufacturer] m\n[Package] x\nR_pkg 1m NA\nX_pkg 1 2 3\n"
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
    // A sub-parameter whose line was refused is reported there, not again
    // as missing when the component ends.
    {"RefusedLinesAreNotAlsoMissing", "3.2",
     "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 0.1 NA\nL_pkg abc NA NA\n"
     "C_pkg 1p NA NA\n" PINS,
     "E1202@7 Expected 4 columns in Package sub-parameter line, found 3 columns.\n"
     "E1909@8 Invalid typ Value (\"abc\")\n"
     "E1207@8 Unable to parse data for Package subparameter 'L_pkg'."},
};
INSTANTIATE_TEST_SUITE_P(Package, ComponentRows, ::testing::ValuesIn(kPackageRows), RowName);

// Component sub-parameters.
const Row kSubParamRows[] = {
    {"Locations", "3.2",
     "[Component] c\nSi_location pin\nTiming_location Die\nSi_location Pin\n"
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
    {"PinHeaderFaults", "3.2",
     C "[Pin] signal_name model_name R_pin R_pin C_pin\n1 VDD POWER 1 2 3\n"
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
    {"PinLineFaults", "3.2",
     C "[Pin] signal_name model_name\n1 VDD POWER 1m\n2 VDD POWER 1 2 3\n"
       "1 VDD GND\n123456 VDD POWER\n3 VDD\n",
     "E0604@11 Each line of Pin data must contain either 3 or 6 columns.\n"
     "E0605@12 When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed.\n"
     "E0606@13 Duplicate Pin '1'.\n"
     "E1912@14 Pin string '123456' is too long, truncating to 5 characters.\n"
     "E0603@15 Model name not found.\n"
     "E0604@15 Each line of Pin data must contain either 3 or 6 columns."},
    {"BadValues", "3.2",
     C "[Pin] signal_name model_name R_pin L_pin C_pin\n"
       "1 VDD POWER x 1n 1p\n2 VDD POWER NA NA 1p2\n",
     "E1909@11 Invalid R_pin Value (\"x\")\n"
     "W1910@12 Suspicious Pin C_pin Value (\"1p2\"); Numeric in Scale"},
    {"SignalNameLimitByVersion", "3.2",
     C "[Pin] signal_name model_name\n"
       "1 abcdefghijklmnopqrstu POWER\n",
     "E1912@11 Signal name string 'abcdefghijklmnopqrstu' is too long, truncating to 20 "
     "characters."},
    {"ModelChecks", "3.2",
     C "[Pin] signal_name model_name\n1 a in\n2 b nomodel\n3 c NC\n"
       "4 d CircuitCall\n"
       "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"
       "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n",
     "E0608 Component 'c': Model 'nomodel' for Pin '2' not defined."},
};
INSTANTIATE_TEST_SUITE_P(Pins, ComponentRows, ::testing::ValuesIn(kPinRows), RowName);

#define RAILS "[Pin] signal_name model_name\n1 VDD POWER\n2 VSS GND\n3 a NC\n"
#define MAP3 "[Pin Mapping] pulldown_ref pullup_ref\n"
#define MAP5 "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref\n"
#define MAP6 "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref ext_ref\n"
#define MODEL                                                                 \
    "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n" \
    "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n"

// [Pin Mapping]: the header, the data lines and the after-file bus check.
const Row kMappingRows[] = {
    {"HeaderCountBeforeVersion4", "3.2",
     C RAILS "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref ext_ref\n",
     "E0532@14 Pin_Mappings keyword column count must be 3 or 5, found 6 columns."},
    {"HeaderCountFromVersion4", "4.2",
     C RAILS "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref ext_ref x\n",
     "E0526@14 Pin_Mapping keyword column count must be 3, 5 or 6, found 7 columns."},
    {"HeaderNamesAndRepeat", "3.2",
     C RAILS "[Pin Mapping] pullup_ref pulldown_ref\n"
             "[Pin Mapping] pulldown_ref pullup_ref\n",
     "E0529@14 'pulldown_ref' column header not found or out of order.\n"
     "E0529@14 'pullup_ref' column header not found or out of order.\n"
     "E0525@15 Duplicate Pin_Mapping keyword found."},
    {"MappingLineFaults", "3.2",
     C RAILS MAP3 "1 NC VDD\n2 GNDBUS na\n3\n1 NC VDD GC PC\n"
                  "3 NC NC NC NC x y\n",
     "E0729@16 na is an invalid Pin_Mapping column entry.\n"
     "E0702@17 No pulldown_ref data.\n"
     "E0703@17 No pullup_ref data.\n"
     "E0705@17 Pin Mapping data lines must contain either 3 or 5 columns.\n"
     "E0706@18 When 5 columns are specified, the headings gnd_clamp_ref and power_clamp_ref must "
     "be used.\n"
     "E0708@18 Duplicate Pin Mapping Pin.\n"
     "E0700@19 Extra data columns on this line.\n"
     "E0705@19 Pin Mapping data lines must contain either 3 or 5 columns.\n"
     "E0708@19 Duplicate Pin Mapping Pin.\n"
     "W0712 Pin 2 is a GND pin. Usually only has Pulldown_ref in Pin Mapping"},
    {"SixColumnsNeedTheirHeader", "4.2", C RAILS MAP5 "1 NC VDD NC NC NC\n2 VSS NC\n3 NC NC\n",
     "E0707@15 When 6 columns are specified, the headings gnd_clamp_ref, power_clamp_ref and "
     "ext_ref must be used."},
    {"UnmappedAndUndeclaredPins", "3.2", C RAILS MAP3 "1 NC VDD\n9 NC VDD\n",
     "E0612 Component 'c': Pin '2' not referenced in Pin Mappings.\n"
     "E0612 Component 'c': Pin '3' not referenced in Pin Mappings.\n"
     "E0715 Component 'c': Pin Mapping Pin '9' not previously declared in Pin section."},
    {"RailPinsWithOtherBuses", "4.2", C RAILS MAP3 "1 VSS VDD\n2 VSS VDD\n3 NC VDD\n",
     "W0709 Component c Pin 1 is a POWER pin. Usually only has Pullup_ref in Pin Mapping\n"
     "W0711 Component c Pin 2 is a GND pin. Usually only has Pulldown_ref in Pin Mapping\n"
     "W0713 Component c Pin 3 is NC. Should not have any references in Pin Mapping"},
    {"RailPinsWithOtherBusesBeforeVersion4", "3.2", C RAILS MAP3 "1 VSS VDD\n2 VSS VDD\n3 NC VDD\n",
     "W0710 Pin 1 is a POWER pin. Usually only has Pullup_ref in Pin Mapping\n"
     "W0712 Pin 2 is a GND pin. Usually only has Pulldown_ref in Pin Mapping\n"
     "W0714 Pin 3 is NC. Should not have any references in Pin Mapping"},
    {"BusesReachRails", "3.2",
     C "[Pin] signal_name model_name\n1 VDD POWER\n2 VSS GND\n"
       "3 a in\n4 b in\n" MAP5 "1 NC VDD NC NC\n2 VSS NC NC NC\n3 VSS VDD VSS VDD\n"
       "4 GNDBUS PWRBUS GCBUS PCBUS\n" MODEL,
     "E0716 Component 'c': Pin Mapping pulldown_ref entry 'GNDBUS' is not connected to at least "
     "one pin whose model_name is POWER or GND.\n"
     "E0720 Component 'c': Pin Mapping pullup_ref entry 'PWRBUS' is not connected to at least one "
     "pin whose model_name is POWER or GND.\n"
     "E0722 Component 'c': Pin Mapping gnd_clamp_ref entry 'GCBUS' is not connected to at least "
     "one pin whose model_name is POWER or GND.\n"
     "E0724 Component 'c': Pin Mapping power_clamp_ref entry 'PCBUS' is not connected to at least "
     "one pin whose model_name is POWER or GND."},
    {"BusesReachTheWrongRail", "4.2",
     C "[Pin] signal_name model_name\n1 VDD POWER\n2 VSS GND\n"
       "3 a in\n" MAP6 "1 PD VDD NC NC NC\n2 VSS PU NC NC NC\n3 PD PU PD PU PU\n" MODEL,
     "W0709 Component c Pin 1 is a POWER pin. Usually only has Pullup_ref in Pin Mapping\n"
     "W0711 Component c Pin 2 is a GND pin. Usually only has Pulldown_ref in Pin Mapping\n"
     "W0717 Component 'c': Pin Mapping '3': pulldown_ref entry is usually connected to GND.\n"
     "W0721 Component 'c': Pin Mapping '3': pullup_ref entry is usually connected to POWER.\n"
     "W0723 Component 'c': Pin Mapping '3': gnd_clamp_ref entry is usually connected to GND.\n"
     "W0725 Component 'c': Pin Mapping '3': power_clamp_ref entry is usually connected to POWER.\n"
     "W0727 Component 'c': Pin Mapping '3': ext_ref entry is usually connected to POWER."},
    {"RailBusUsedBothWays", "4.2",
     C "[Pin] signal_name model_name\n1 VDD POWER\n2 VSS GND\n"
       "3 a in\n" MAP6 "1 NC VDD NC NC NC\n2 VSS NC NC NC NC\n3 VDD VSS VDD VSS VSS\n" MODEL,
     "W0718 Component c: Pulldown Reference VSS is also used as a Pullup Reference\n"
     "E0716 Component 'c': Pin Mapping pulldown_ref entry 'VDD' is not connected to at least one "
     "pin whose model_name is POWER or GND.\n"
     "E0720 Component 'c': Pin Mapping pullup_ref entry 'VSS' is not connected to at least one pin "
     "whose model_name is POWER or GND.\n"
     "E0722 Component 'c': Pin Mapping gnd_clamp_ref entry 'VDD' is not connected to at least one "
     "pin whose model_name is POWER or GND.\n"
     "E0724 Component 'c': Pin Mapping power_clamp_ref entry 'VSS' is not connected to at least "
     "one pin whose model_name is POWER or GND.\n"
     "W0727 Component 'c': Pin Mapping '3': ext_ref entry is usually connected to POWER."},
};
INSTANTIATE_TEST_SUITE_P(PinMapping, ComponentRows, ::testing::ValuesIn(kMappingRows), RowName);

#define DIFF "[Pin] signal_name model_name\n1 a POWER\n2 b POWER\n3 c POWER\n"
#define DIFF8 DIFF "4 d POWER\n5 e POWER\n6 f POWER\n7 g POWER\n8 h POWER\n"

// [Diff Pin]: the header, the data lines and the pair check.
const Row kDiffRows[] = {
    {"DiffHeaderFaults", "3.2",
     C DIFF "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min\n"
            "[Diff Pin] inv_pin vdiff\n",
     "E0532@14 Diff_Pins keyword column count must be 4 or 6, found 5 columns.\n"
     "E0527@15 Duplicate Diff_Pin keyword found."},
    {"DiffLineFaults", "3.2",
     C DIFF8 "[Diff Pin] inv_pin vdiff tdelay_typ\n1 1 0.2 1n\n"
             "2 3 0.2 1n 0 2n\n4\n5 6 x 1n2\n7 8 0.2 1n 0 2n 3\n",
     "E0804@20 Diff_Pin column pin same as inv_pin column pin.\n"
     "E0809@21 When using 6 columns, the tdelay_min and tdelay_max headers must be used.\n"
     "E0803@22 No inv_pin column entry.\n"
     "E0805@22 No vdiff column entry.\n"
     "E0806@22 No tdelay_typ column entry.\n"
     "E0808@22 Diff_Pin data line column count must be 4 or 6.\n"
     "E0816@23 Bad value for vdiff column.\n"
     "W0817@23 Suspicious value for tdelay_typ column.\n"
     "E0801@24 Too many Diff Pin data columns.\n"
     "E0808@24 Diff_Pin data line column count must be 4 or 6."},
    {"NaAndTypicalOutside", "3.2",
     C DIFF "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 0.2 1n NA 2n\n"
            "2 3 NA 3n 1n 2n\n3 1 NA NA NA NA\n",
     "W0807@16 Typ value is not in between Min and Max \n"
     "E0814 Component 'c': Diff_pin '2' already in use as an inv_pin.\n"
     "E0813 Component 'c': Inv_pin '1' already in use as a Diff_pin.\n"
     "E0814 Component 'c': Diff_pin '3' already in use as an inv_pin."},
    {"PairsClash", "3.2",
     C DIFF "[Diff Pin] inv_pin vdiff tdelay_typ\n1 2 0.2 1n\n1 3 0.2 1n\n"
            "2 3 0.2 1n\n4 1 0.2 1n\n1 5 0.2 1n\n",
     "E0810 Component 'c': Diff_Pin '4' not previously declared in Pin section.\n"
     "E0811 Component 'c': inv_pin '5' not previously declared in Pin section.\n"
     "W0812 Component 'c': Diff_Pin '1' is not unique.\n"
     "E0814 Component 'c': Diff_pin '2' already in use as an inv_pin.\n"
     "W0815 Component 'c': inv_pin '3' is not unique.\n"
     "E0813 Component 'c': Inv_pin '1' already in use as a Diff_pin.\n"
     "W0812 Component 'c': Diff_Pin '1' is not unique.\n"
     "E0814 Component 'c': Diff_pin '1' already in use as an inv_pin."},
};
INSTANTIATE_TEST_SUITE_P(DiffPin, ComponentRows, ::testing::ValuesIn(kDiffRows), RowName);

// [Alternate Package Models], [Node Declarations], the series and EMI
// keywords as the component routes them.
const Row kRoutedRows[] = {
    {"AlternatePackageModels", "4.2",
     C PINS "[Alternate Package Models] x\n[End Alternate Package Models]\n"
            "[Alternate Package Models]\nonly\n[End Alternate Package Models] y\n"
            "[End Alternate Package Models]\n",
     "E0521@12 Unknown data after [Alternate Package Models] keyword.\n"
     "E1603@13 Alternate Package Model has no package models defined\n"
     "E0520@14 Duplicate [Alternate Package Models] keyword.\n"
     "E0522@16 Unknown data after [End Alternate Package Models] keyword.\n"
     "W1604@16 Alternate Package Model has only one package model defined\n"
     "E0503@17 Unexpected End Alternate Package Models keyword\n"
     "W1604@17 Alternate Package Model has only one package model defined\n"
     "E0516 Unable to find Package Model 'only' for Component 'c'"},
    {"AlternatePackageNames", "4.2",
     C PINS
     "[Alternate Package Models]\n"
     "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopq\np1\np1\n[Pin Mapping] pulldown_ref pullup_ref\n"
     "1 NC VDD\n",
     "E1600@13 Invalid Package Model name: 'abcdefghijklmnopqrstuvwxyzabcdefghijklmnopq' is too "
     "long.\n"
     "E1605@15 Package Model Name Previously Defined (\"p1\")\n"
     "E0504@16 Expecting End Alternate Package Models keyword\n"
     "E0516 Unable to find Package Model 'abcdefghijklmnopqrstuvwxyzabcdefghijklmn' for Component "
     "'c'\n"
     "E0516 Unable to find Package Model 'p1' for Component 'c'"},
    {"NodesTwice", "4.2",
     C PINS "[Node Declarations]\n[End Node Declarations]\n"
            "[Node Declarations]\n[End Node Declarations]\n",
     "E0548@14 Duplicate Node Declaration keyword found."},
    {"StrayLinesAfterClosingKeywords", "4.2",
     C PINS "[Node Declarations]\n[End Node Declarations]\nstray\n"
            "[Alternate Package Models]\na\nb\n[End Alternate Package Models]\nstray\n",
     "E0535@14 Unknown Line after Component Description\n"
     "E0535@19 Unknown Line after Component Description\n"
     "E0516 Unable to find Package Model 'a' for Component 'c'\n"
     "E0516 Unable to find Package Model 'b' for Component 'c'"},
    {"SeriesKeywordLines", "4.2",
     C PINS "[Series Switch Groups] x\n"
            "[Series Pin Mapping] pin_2 model_name function_table_group extra\n"
            "[Series Pin Mapping] pin_2\n",
     "E0539@12 Incorrect Number of Line Items (2) For Series_Switch_Groups: Expecting 1\n"
     "E0543@13 Unknown column header after 'function_table_group'\n"
     "E0532@13 Series_Pin_Mappings keyword column count must be 3 or 4, found 5 columns.\n"
     "E0542@14 Duplicate Series_Pin_Mapping keyword found.\n"
     "E0529@14 'model_name' column header not found or out of order.\n"
     "E0532@14 Series_Pin_Mappings keyword column count must be 3 or 4, found 2 columns."},
    {"EmiBlockLeftOpen", "5.0", C "[Begin EMI Component]\nDomain Digital\n" PINS,
     "E4711@12 [End EMI Component] expected\n"
     "E0553@12 Unexpected Keyword in a [Component EMI] block"},
};
INSTANTIATE_TEST_SUITE_P(Routed, ComponentRows, ::testing::ValuesIn(kRoutedRows), RowName);

#define PKGMODEL                                                                              \
    "[Define Package Model] qfn\n[Manufacturer] m\n[OEM] o\n[Description] d\n"                \
    "[Number of Pins] 3\n[Pin Numbers]\nA1\nA2\nA3\n[Model Data]\n"                           \
    "[Inductance Matrix] Sparse_matrix\n[Row] A1\nA1 1n\n[Row] A2\nA2 1n\n[Row] A3\nA3 1n\n"  \
    "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA1 1p\n[Row] A2\nA2 1p\n[Row] A3\nA3 1p\n" \
    "[End Model Data]\n[End Package Model]\n"
#define DIFFMODEL "[Model] dm\nModel_type I/O_diff\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n"
// An input model whose thresholds give Vth and Vcross_low only.
#define RXMODEL                                                                     \
    "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"       \
    "[Receiver Thresholds]\nVth = 1.5\nVcross_low = 1\n[Voltage Range] 3.3 NA NA\n" \
    "[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n"

// The checks after the file: pins against models, selectors and package
// models; differential models; receiver thresholds against their pins.
const Row kAfterFileRows[] = {
    {"PackageModelPinsMustBePins", "3.2",
     C "[Pin] signal_name model_name\nA1 VDD POWER\nA2 VSS GND\n[Package Model] qfn\n" PKGMODEL,
     "E0613 Pin 'A3' found in Package_Model 'qfn' Pin_Numbers list not found in Component 'c' Pin "
     "list."},
    {"UnknownPackageModels", "4.2",
     C PINS "[Package Model] nowhere\n"
            "[Alternate Package Models]\nqfn\nelse\n[End Alternate Package Models]\n" PKGMODEL,
     "E0516 Unable to find Package Model 'nowhere' for Component 'c'\n"
     "E0516 Unable to find Package Model 'else' for Component 'c'"},
    {"SelectorsStandForModels", "3.2",
     C "[Pin] signal_name model_name\n1 a sel\n2 b none\n"
       "[Model Selector] sel\nin a model\n" MODEL,
     "W4006 Model Selector: 'sel' has only one model defined\n"
     "E0608 Component 'c': Model 'none' for Pin '2' not defined."},
    {"SeriesModelOnAPin", "4.2",
     C "[Pin] signal_name model_name\n1 a ser\n"
       "[Model] ser\nModel_type Series\nC_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n"
       "[R Series] 1 NA NA\n",
     "E0610 Component 'c':  Pin '1': Model 'ser': model type for a Pin cannot be Series or "
     "Series_switch."},
    // The walk over the pins goes on past the POWER pin and the selector.
    {"DifferentialModelsNeedPairs", "4.2",
     C "[Pin] signal_name model_name\n1 VDD POWER\n"
       "2 a sel\n3 b dm\n4 c dm\n5 d dm\n[Diff Pin] inv_pin vdiff tdelay_typ\n3 4 0.2 1n\n"
       "[Model Selector] sel\ndm a\nin b\n" DIFFMODEL MODEL,
     "E0190 Model 'dm': Ramp Not Defined\n"
     "W0202 Model 'dm': Rref_diff or Cref_diff timing test load parameters should be specified\n"
     "E0544 TBD: Put this in model check, *_DIFF without external model\n"
     "E0544 TBD: Put this in model check, *_DIFF without external model\n"
     "E0544 TBD: Put this in model check, *_DIFF without external model\n"
     "E0545 Component <c> pin <5> model <dm> type <I/O_diff> using [External Model] without "
     "corresponding [Diff_Pin]"},
    {"SingleEndedThresholds", "4.2", C "[Pin] signal_name model_name\n1 a in\n2 b in\n" RXMODEL,
     "W3220 Model in Receiver Thresholds: Vinh_ac must be specified for single ended receivers\n"
     "W3221 Model in Receiver Thresholds: Vinl_ac must be specified for single ended receivers\n"
     "W3222 Model in Receiver Thresholds: Vinh_dc must be specified for single ended receivers\n"
     "W3223 Model in Receiver Thresholds: Vinl_dc must be specified for single ended receivers\n"
     "W3224 Model in Receiver Thresholds: Tslew_ac must be specified for single ended receivers"},
    {"DifferentialThresholds", "4.2",
     C "[Pin] signal_name model_name\n1 a in\n2 b in\n"
       "[Diff Pin] inv_pin vdiff tdelay_typ\n1 2 0.2 1n\n" RXMODEL,
     "W3207 Model in Receiver Thresholds: Vcross_high must be specified for differential receivers "
     "(Pin 1)\n"
     "W3208 Model in Receiver Thresholds: Vdiff_ac must be specified for differential receivers "
     "(Pin 1)\n"
     "W3209 Model in Receiver Thresholds: Vdiff_dc must be specified for differential receivers "
     "(Pin 1)\n"
     "W3210 Model in Receiver Thresholds: Tdiffslew_ac must be specified for differential "
     "receivers (Pin 1)"},
    {"ThresholdsThroughASelector", "4.2",
     C "[Pin] signal_name model_name\n1 a sel\n2 b sel\n"
       "3 c sel\n[Diff Pin] inv_pin vdiff tdelay_typ\n2 1 0.2 1n\n[Model Selector] sel\nin a\n"
       "in2 b\n" RXMODEL "[Model] in2\nModel_type Input\nVinl = 0.8\nVinh = 2.0\n"
       "C_comp 1p NA NA\n[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n",
     "W3207 Model in Receiver Thresholds: Vcross_high must be specified for differential receivers "
     "(Pin 2)\n"
     "W3208 Model in Receiver Thresholds: Vdiff_ac must be specified for differential receivers "
     "(Pin 2)\n"
     "W3209 Model in Receiver Thresholds: Vdiff_dc must be specified for differential receivers "
     "(Pin 2)\n"
     "W3210 Model in Receiver Thresholds: Tdiffslew_ac must be specified for differential "
     "receivers (Pin 2)\n"
     "W3220 Model in Receiver Thresholds: Vinh_ac must be specified for single ended receivers\n"
     "W3221 Model in Receiver Thresholds: Vinl_ac must be specified for single ended receivers\n"
     "W3222 Model in Receiver Thresholds: Vinh_dc must be specified for single ended receivers\n"
     "W3223 Model in Receiver Thresholds: Vinl_dc must be specified for single ended receivers\n"
     "W3224 Model in Receiver Thresholds: Tslew_ac must be specified for single ended receivers"},
    {"EmiPinsArePins", "5.0",
     C PINS "[Begin EMI Component]\n[Pin EMI] domain_name clock_div\n"
            "1 Digital 1\n9 Digital 1\n[End EMI Component]\n",
     "E4911 Component 'c': Pin '1' is of model 'POWER' and cannot be referened in a [Pin EMI] "
     "section\n"
     "E4909 Component 'c': pin_name '9' found in [Pin EMI] section was not found in the [Pin] "
     "section"},
};
INSTANTIATE_TEST_SUITE_P(AfterFile, ComponentRows, ::testing::ValuesIn(kAfterFileRows), RowName);

// A repeat is reported once, however many copies came before it, so the
// messages (and the time) grow with the file, not with its square.
TEST_F(ComponentFixture, ReportsEachRepeatOnce) {
    auto count = [](const std::string& out, const std::string& tag) {
        size_t n = 0;
        for (size_t at = out.find(tag); at != std::string::npos; at = out.find(tag, at + 1)) ++n;
        return n;
    };
    std::string body = C DIFF "[Diff Pin] inv_pin vdiff tdelay_typ\n";
    for (int i = 0; i < 2000; ++i) body += "1 2 0.2 1n\n";
    std::string out = Check("3.2", body);
    EXPECT_EQ(count(out, "W0812"), 1999u);
    EXPECT_EQ(count(out, "W0815"), 1999u);
    body.clear();
    for (int i = 0; i < 1000; ++i) body += C PINS;
    EXPECT_EQ(count(Check("3.2", body), "E0511"), 999u);
}

TEST_F(ComponentFixture, FindsAPackageModelInAPkgFileBesideTheFile) {
    Write("qfn.pkg", "[IBIS Ver] 3.2\n[File Name] qfn.pkg\n[File Rev] 1.0\n" PKGMODEL "[End]\n");
    EXPECT_EQ(Check("3.2", C "[Pin] signal_name model_name\nA1 VDD POWER\nA2 VSS GND\nA3 VSS GND\n"
                             "[Package Model] qfn\n"),
              "");
    EXPECT_EQ(Check("3.2", C PINS "[Package Model] other\n"),
              "E0516 Unable to find Package Model 'other' for Component 'c'");
}

// Names match whole: p, pk and pkg are not pkg1.  The .pkg file that
// defines pkg1 is read once, for the first component that needs it, so its
// faults are reported once and its model is not defined twice.
TEST_F(ComponentFixture, ReadsEachPkgFileOnceAndMatchesWholeNames) {
    std::string model = PKGMODEL;
    model.replace(model.find("qfn"), 3, "pkg1");
    model.replace(model.find("[OEM] o\n"), 8, "");
    Write("a.pkg", "[IBIS Ver] 3.2\n[File Name] a.pkg\n[File Rev] 1.0\n" + model + "[End]\n");
    std::string body;
    int n = 0;
    for (const char* name : {"p", "pk", "pkg", "pkg1", "pkg1"}) {
        body += "[Component] c" + std::to_string(++n) +
                "\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
                "[Pin] signal_name model_name\nA1 VDD POWER\nA2 VSS GND\nA3 VSS GND\n"
                "[Package Model] " +
                name + "\n";
    }
    EXPECT_EQ(Check("3.2", body),
              "E0516 Unable to find Package Model 'p' for Component 'c1'\n"
              "E0516 Unable to find Package Model 'pk' for Component 'c2'\n"
              "E0516 Unable to find Package Model 'pkg' for Component 'c3'\n"
              "a.pkg: E3418 OEM keyword not found for Package Model 'pkg1'.");
}

TEST_F(ComponentFixture, FindsTheDifferentialPinOfAModel) {
    IbisFile* file = nullptr;
    Check(
        "4.2",
        C
        "[Pin] signal_name model_name\n1 a in\n2 b sel\n3 c in2\n"
        "[Diff Pin] inv_pin vdiff tdelay_typ\n3 2 0.2 1n\n[Model Selector] sel\nin a\nin2 b\n" MODEL
        "[Model] in2\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"
        "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n",
        &file);
    ASSERT_NE(file, nullptr);
    IbisItem* item = nullptr;
    ASSERT_EQ(IBIS_GetModels(file, &item), 1);
    MDL_Model* in = static_cast<MDL_Model*>(item->record);
    MDL_Model* in2 = static_cast<MDL_Model*>(item->next->record);
    PIN_Pin* pin = nullptr;
    // Pin 3 uses in2 itself; the inv_pin 2 uses in through its selector.
    EXPECT_EQ(CMPNT_FindDiffPin(in2, &pin), 1);
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->name, "3");
    EXPECT_EQ(CMPNT_FindDiffPin(in, &pin), 1);
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->name, "2");
    IbisItem* components = nullptr;
    ASSERT_EQ(IBIS_GetComponents(file, &components), 1);
    CMPNT_Component* c = static_cast<CMPNT_Component*>(components->record);
    EXPECT_EQ(CMPNT_FindPin(c, "1"), c->pins);
    EXPECT_EQ(CMPNT_FindPin(c, "9"), nullptr);
    IBIS_Free(&file);
}

TEST_F(ComponentFixture, KeepsWhatTheLinesGive) {
    IbisFile* file = nullptr;
    Check("4.2",
          "[Component] c\nSi_location Pin\nTiming_location Die\n[Manufacturer] m\n[Package]\n"
          "R_pkg 1m 0.5m 2m\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
          "[Pin] signal_name model_name C_pin L_pin R_pin\n1 VDD POWER 1p NA 3\n"
          "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n1 2 NA 1n 0 NA\n",
          &file);
    ASSERT_NE(file, nullptr);
    IbisItem* components = nullptr;
    ASSERT_EQ(IBIS_GetComponents(file, &components), 1);
    const CMPNT_Component* c = static_cast<CMPNT_Component*>(components->record);
    EXPECT_EQ(c->siLocation, CMPNT_LOCATION_PIN);
    EXPECT_EQ(c->timingLocation, CMPNT_LOCATION_DIE);
    ASSERT_NE(c->package, nullptr);
    ASSERT_NE(c->package->value[PKG_R], nullptr);
    EXPECT_DOUBLE_EQ(c->package->value[PKG_R]->value[RNG_MIN], 0.5e-3);
    ASSERT_NE(c->pins, nullptr);
    // The header's order decides which column is which.
    EXPECT_DOUBLE_EQ(c->pins->rPin.value, 3.0);
    EXPECT_EQ(c->pins->lPin.state, PIN_VALUE_NA);
    EXPECT_DOUBLE_EQ(c->pins->cPin.value, 1e-12);
    ASSERT_NE(c->diffPins, nullptr);
    // NA: vdiff is 0, tdelay_max takes the typical delay.
    EXPECT_EQ(c->diffPins->vdiff.state, PIN_VALUE_GIVEN);
    EXPECT_DOUBLE_EQ(c->diffPins->vdiff.value, 0.0);
    EXPECT_DOUBLE_EQ(c->diffPins->tdelayMax.value, 1e-9);
    IBIS_Free(&file);
}

TEST_F(ComponentFixture, FindsNoDifferentialPinWithoutComponents) {
    IbisFile* file = nullptr;
    Check("4.2", MODEL, &file);
    ASSERT_NE(file, nullptr);
    IbisItem* item = nullptr;
    ASSERT_EQ(IBIS_GetModels(file, &item), 1);
    PIN_Pin* pin = nullptr;
    EXPECT_EQ(CMPNT_FindDiffPin(static_cast<MDL_Model*>(item->record), &pin), 0);
    EXPECT_EQ(pin, nullptr);
    EXPECT_EQ(Output(), "");
    IBIS_Free(&file);
}

}  // namespace
