// [Repeater Pin] and [Clock Pins]: each row is a piece of the component
// (from line 19, or from line 10 before [Pin]) and every message the whole
// check gives, coded and with its line when it carries one.
#include <gtest/gtest.h>

#include <string>

#include "NewerFixture.h"

namespace {

struct Row {
    const char* name;
    std::string component;   // from line 19
    std::string beforePins;  // from line 10
    std::string expected;
};

class PinTableRows : public NewerFixture, public ::testing::WithParamInterface<Row> {};

TEST_P(PinTableRows, ReportsEachFaultAtItsLine) {
    const Row& r = GetParam();
    NewerParts p;
    p.component = r.component;
    p.beforePins = r.beforePins;
    EXPECT_EQ(Check(NewerFile(p)), r.expected) << r.name;
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

const std::string RP = "[Repeater Pin] tx_non_inv_pin\n";

const Row kRepeaterRows[] = {
    {"ReceiverPairedWithTransmitter", RP + "1 3\n", "", ""},
    {"PinsDeclaredAfterTheKeyword", "", RP + "1 3\n", ""},
    {"HeaderMissing", "[Repeater Pin]\n1 3\n", "",
     "E0528@19 Unable to find column headers after Repeater_Pin keyword."},
    {"HeaderOfTheFirstProposal", "[Repeater Pin] tx_non_inverting_pin\n1 3\n", "",
     "E0529@19 'tx_non_inv_pin' column header not found or out of order."},
    {"HeaderWithAnExtraColumn", "[Repeater Pin] tx_non_inv_pin vdiff\n1 3\n", "",
     "E5101@19 Repeater_Pin keyword column count must be 2, found 3 columns."},
    {"LinesOfOneAndThreeColumns", RP + "1\n1 3 0.1\n", "",
     "E5102@20 Each line of Repeater_Pin data must contain 2 columns, found 1.\n"
     "E5102@21 Each line of Repeater_Pin data must contain 2 columns, found 3."},
    {"PinPairedWithItselfTakesNoRole", RP + "1 1\n3 1\n", "",
     "E5103@20 Repeater_Pin '1' cannot be its own tx_non_inv_pin."},
    {"PinsSwapRoles", RP + "1 3\n3 1\n", "",
     "E5105@21 Pin '3' is used both as a Repeater_Pin and as a tx_non_inv_pin.\n"
     "E5105@21 Pin '1' is used both as a Repeater_Pin and as a tx_non_inv_pin."},
    {"PairListedTwice", RP + "1 3\n1 3\n", "",
     "W5104@21 Repeater_Pin '1' is not unique.\nW5104@21 tx_non_inv_pin '3' is not unique."},
    {"KeywordRepeatedKeepsOneTable", RP + "1 3\n" + RP + "1 3\n", "",
     "E5100@21 Duplicate Repeater_Pin keyword found.\n"
     "W5104@22 Repeater_Pin '1' is not unique.\nW5104@22 tx_non_inv_pin '3' is not unique."},
    {"PinNotInTheComponent", RP + "1 9\n", "",
     "E5106 Component 'C': tx_non_inv_pin '9' not previously declared in Pin section."},
    {"InvertingAndSingleEndedPins", RP + "2 5\n", "",
     "E5107 Component 'C': Repeater_Pin '2' is not the non-inverting pin of a [Diff Pin] "
     "pair.\n"
     "E5107 Component 'C': tx_non_inv_pin '5' is not the non-inverting pin of a [Diff Pin] "
     "pair."},
    {"PinNameTooLongIsCut", RP + "123456 3\n", "",
     "E1912@20 Repeater_Pin string '123456' is too long, truncating to 5 characters.\n"
     "E5106 Component 'C': Repeater_Pin '12345' not previously declared in Pin section."},
};

INSTANTIATE_TEST_SUITE_P(RepeaterPin, PinTableRows, ::testing::ValuesIn(kRepeaterRows), RowName);

const std::string CP = "[Clock Pins] clocked_pins relationship\n";

const Row kClockRows[] = {
    {"ClockOfTwoPins", CP + "5 1 rel\n5 3 rel\n", "", ""},
    {"PinsDeclaredAfterTheKeyword", "", CP + "5 1 rel\n", ""},
    {"HeaderWithoutRelationship", "[Clock Pins] clocked_pins\n5 1 rel\n", "",
     "E0529@19 'relationship' column header not found or out of order.\n"
     "E5101@19 Clock_Pins keyword column count must be 3, found 2 columns."},
    {"LineWithoutRelationship", CP + "5 1\n", "",
     "E5102@20 Each line of Clock_Pins data must contain 3 columns, found 2."},
    {"PinClocksItself", CP + "5 5 rel\n", "", "E5109@20 Clock pin '5' cannot clock itself."},
    {"PairListedTwice", CP + "5 1 rel\n5 1 other\n", "",
     "W5110@21 Clock pin '5' and clocked pin '1' are listed more than once."},
    {"KeywordRepeated", CP + "5 1 rel\n" + CP + "5 3 rel\n", "",
     "E5108@21 Duplicate Clock_Pins keyword found."},
    {"PinsNotInTheComponent", CP + "8 9 rel\n", "",
     "E5106 Component 'C': Clock_Pins '8' not previously declared in Pin section.\n"
     "E5106 Component 'C': clocked_pins '9' not previously declared in Pin section."},
};

INSTANTIATE_TEST_SUITE_P(ClockPins, PinTableRows, ::testing::ValuesIn(kClockRows), RowName);

class PinTables : public NewerFixture {};

// Each component keeps its own tables: the second component's keyword is
// no repeat, and its pins are looked up in its own pin list.
TEST_F(PinTables, KeepsTheTablesOfEachComponentApart) {
    NewerParts p;
    p.component = RP + "1 3\n" + CP + "5 1 rel\n";
    p.tail =
        "[Component] D\n[Manufacturer] M\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\n"
        "C_pkg 1p NA NA\n[Pin] signal_name model_name\n7 A in\n8 B in\n"
        "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n7 8 0.1 NA NA NA\n" +
        RP + "7 3\n" + CP + "7 1 rel\n";
    EXPECT_EQ(Check(NewerFile(p)),
              "E5106 Component 'D': tx_non_inv_pin '3' not previously declared in Pin section.\n"
              "E5106 Component 'D': clocked_pins '1' not previously declared in Pin section.");
}

}  // namespace
