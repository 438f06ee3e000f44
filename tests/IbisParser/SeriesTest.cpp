// Series switch groups and series pin mappings: their lines and their
// after-file checks against the file's models and model selectors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SeriesFixture.h"

namespace {

// Models of each kind a mapping tells apart, a selector over all of them,
// and a component with three pins.
const char kPrologue[] =
    "[IBIS Ver] 5.0\n"
    "[File Name] t.ibs\n"
    "[File Rev] 1\n"
    "[Model] ser\n"
    "Model_type Series\n"
    "[Model] sw\n"
    "Model_type Series_switch\n"
    "[Model] inp\n"
    "Model_type Input\n"
    "[Model] notype\n"
    "[Model Selector] selsw\n"
    "sw switch\n"
    "ser series\n"
    "inp input\n"
    "notype none\n"
    "[Component] c1\n"
    "[Manufacturer] m\n"
    "[Pin] signal_name model_name\n"
    "1 s1 inp\n"
    "2 s2 inp\n"
    "3 s3 inp\n";

const char kMap3[] = "[Series Pin Mapping] pin_2 model_name\n";
const char kMap4[] = "[Series Pin Mapping] pin_2 model_name function_table_group\n";

std::string S(const std::string& a, const std::string& b = "", const std::string& c = "") {
    return a + b + c;
}

class Series : public SeriesFixture {
protected:
    void RunAll(const std::vector<std::string>& snippets,
                const std::vector<std::vector<SeriesMsg>>& expected) {
        ASSERT_EQ(snippets.size(), expected.size());
        for (size_t i = 0; i < snippets.size(); i++)
            RunRow(kPrologue, {snippets[i].c_str(), snippets[i].c_str(), expected[i]});
    }
};

const char kUnterminated[] = "Previous keyword not terminated properly. Possibly missing a \"/\"\n";

TEST_F(Series, ReadsSwitchGroupsAndReportsTheirFaults) {
    const std::string groups = "[Series Switch Groups]\n";
    RunAll(
        {
            groups + "On  A B /\n" + kMap4 + "1 2 sw A\n1 2 sw B\n",
            groups + "Off C\nD /\n" + kMap4 + "1 2 sw C\n1 2 sw D\n",
            groups + "On\nE /\n" + kMap4 + "1 2 sw E\n",
            groups + "on A /\n",
            groups + "On Off /\n",
            groups + "On A A / rest ignored\n" + kMap4 + "1 2 sw A\n",
            groups + "On ABCDEFGHIJKLMNOPQRSTU /\n" + kMap4 + "1 2 sw ABCDEFGHIJKLMNOPQRST\n",
            groups + "On A /\nOff B /\n" + kMap4 + "1 2 sw A\n",
            groups + "On B /\n",
            // A group left open is reported at the keyword that ends it,
            // and does not reach into a later [Series Switch Groups].
            groups + "On A\n[Component] c2\n[Manufacturer] m\n" + groups + "B /\n",
            groups + "On A\n" + kMap4 + "1 2 sw A\n" + groups + "B /\n",
        },
        {
            {},
            {},
            {{'E', 2502, -2, "No Group names specified on this line"}},
            {{'E', 2500, -2, "Unknown sub parameter 'on'"}},
            {{'E', 2505, -2, "Series switch Group name cannot be 'On' or 'Off'"},
             {'W', 2507, 0, "Component: c1 Series Switch Function 'Off' is used but not defined"}},
            {{'E', 2506, -2, "Duplicate Series switch Group name 'A'"}},
            {{'E', 2504, -2,
              "Series switch Group name 'ABCDEFGHIJKLMNOPQRSTU' over 20 characters long"}},
            {{'W', 2507, 0, "Component: c1 Series Switch Function 'B' is used but not defined"}},
            {{'W', 2507, 0, "Component: c1 Series Switch Function 'B' is used but not defined"}},
            {{'E', 909, -3, kUnterminated},
             {'E', 2500, -6, "Unknown sub parameter 'B'"},
             {'W', 2507, 0, "Component: c1 Series Switch Function 'A' is used but not defined"}},
            {{'E', 909, -3, kUnterminated}, {'E', 2500, -6, "Unknown sub parameter 'B'"}},
        });
}

TEST_F(Series, KeepsGroupsOverLinesUntilTheSlash) {
    SSWCH_Reset();
    SSWCH_Group *g = nullptr, *again = nullptr;
    char first[] = "Off C";
    char empty[] = "  ";
    char second[] = "D / E";
    char next[] = "On F /";
    ASSERT_EQ(SSWCH_ReadLine(first, &g), 1);
    ASSERT_EQ(SSWCH_ReadLine(empty, &again), 1);
    EXPECT_EQ(again, g);
    ASSERT_EQ(SSWCH_ReadLine(second, &again), 1);
    EXPECT_EQ(again, g);
    ASSERT_EQ(SSWCH_ReadLine(next, &again), 1);
    EXPECT_NE(again, g);
    EXPECT_STREQ(g->state, "Off");
    ASSERT_EQ(g->count, 2u);
    EXPECT_STREQ(g->name[0], "C");
    EXPECT_STREQ(g->name[1], "D");
    EXPECT_STREQ(again->state, "On");
    g->next = again;
    SSWCH_FreeList(&g);
    EXPECT_EQ(Output(), "");
}

TEST_F(Series, ChecksEachMappingAgainstPinsModelsAndGroups) {
    const std::string g1 = "[Series Switch Groups]\nOn g1 /\n";
    const std::string c = "Component 'c1': [Series Pin Mapping] ";
    const std::string sel = c + "Model Selector 'selsw' ";
    RunAll(
        {
            S(g1, kMap4, "1 2 ser\n2 3 sw g1\n"),
            S(kMap4, "1 2 ser g1\n"),
            S(kMap3, "9 2 ser\n1 8 ser\n"),
            S(kMap4, "1 2 sw\n"),
            S(g1, kMap4, "1 2 sw g1\n1 3 sw g9\n"),
            S(g1, kMap4, "1 2 inp g1\n1 2 inp\n"),
            S(kMap3, "1 2 notype\n1 2 nothere\n"),
            S(g1, kMap4, "1 2 selsw g1\n"),
            S(kMap3, "1 2 selsw\n"),
        },
        {
            {},
            {{'W', 2625, 0,
              c + "Model 'ser' is of type Series so function_table_group 'g1' is ignored."}},
            {{'E', 2607, 0, c + "Pin1 '9' not previously declared in Pin section."},
             {'E', 2611, 0, c + "Pin2 '8' not previously declared in Pin section."}},
            {{'E', 2627, 0,
              c + "Model 'sw' is of type Series_Switch so function_table_group is required."}},
            {{'E', 2629, 0, c + "Model 'sw' uses function g9 which is not defined."}},
            {{'E', 2621, 0, c + "Model 'inp' is not of type Series_Switch."},
             {'E', 2623, 0, c + "Model 'inp' is not of type Series."}},
            {{'E', 2631, 0, c + "Model 'notype' is of unknown type."},
             {'E', 2617, 0, c + "Model 'nothere' is not defined."}},
            {{'W', 2624, 0,
              sel + "Model 'ser' is of type Series so function_table_group 'g1' is ignored."},
             {'E', 2620, 0, sel + "Model 'inp' is not of type Series_Switch."},
             {'E', 2630, 0, sel + "Model 'notype' is of unknown type."}},
            {{'E', 2626, 0,
              sel + "Model 'sw' is of type Series_Switch so function_table_group is required."},
             {'E', 2622, 0, sel + "Model 'inp' is not of type Series."},
             {'E', 2630, 0, sel + "Model 'notype' is of unknown type."}},
        });
}

TEST_F(Series, ReportsFaultyMappingLines) {
    const std::string c = "Component 'c1': [Series Pin Mapping] ";
    RunAll(
        {
            S(kMap4, "1 2 ser g1 extra more\n"),
            S(kMap4, "1\n"),
            S(kMap3, "1 2 sw g1\n"),
            S(kMap3, "123456 2 ser\n"),
            S(kMap3, "1 2 ser\n[Component] c2\n", S(kMap3, "1 2 ser\n3 4 ser\n")),
        },
        {
            {{'E', 2600, -2, "Extra data columns on this line."},
             {'W', 2625, 0,
              c + "Model 'ser' is of type Series so function_table_group 'g1' is ignored."}},
            {{'E', 2602, -2, "No Pin2 specified."},
             {'E', 2603, -2, "No Model specified."},
             {'E', 2604, -2,
              " [Series Pin Mapping] Data lines must contain either 3 or 4 columns."}},
            {{'E', 2605, -2,
              "[Series Pin Mapping] When 4 columns are specified, the heading "
              "'function_table_group' "
              "must be used."},
             {'E', 2629, 0, c + "Model 'sw' uses function g1 which is not defined."}},
            {{'E', 1912, -2, "Pin1 string '123456' is too long, truncating to 5 characters."},
             {'E', 2607, 0, c + "Pin1 '12345' not previously declared in Pin section."}},
            {{'E', 2618, 0,
              "Component 'c2': [Series Pin Mapping] defined but [Pins] not defined."}},
        });
}

TEST_F(Series, CutsModelNamesAtTwentyBelowVersionFour) {
    std::string text =
        "[IBIS Ver] 3.2\n[File Name] t.ibs\n[File Rev] 1\n[Component] c1\n"
        "[Manufacturer] m\n[Pin] signal_name model_name\n1 s1 x\n2 s2 x\n" +
        std::string(kMap3) + "1 2 model_name_of_25_chars\n";
    std::vector<SeriesMsg> got = Check(text);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], (SeriesMsg{'E', 1912, 10,
                                 "Model string 'model_name_of_25_chars' is too long, truncating to "
                                 "20 characters."}));
    EXPECT_EQ(got[1],
              (SeriesMsg{'E', 2617, 0,
                         "Component 'c1': [Series Pin Mapping] Model 'model_name_of_25_cha' "
                         "is not defined."}));
}

}  // namespace
