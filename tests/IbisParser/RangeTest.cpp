// Value triples, the subparameter splitter and the row appender.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "IbisParser/rng.h"
#include "IbisParser/rngp.h"
#include "MsgCapture.h"

namespace {

class Range : public MsgCapture {};

TEST_F(Range, SplitsNameAndValuesWithOrWithoutEquals) {
    const char* lines[] = {"Vinl = 0.8", "Vinl=0.8", "Vinl 0.8", "Vinl =0.8", "Vinl= 0.8"};
    for (const char* l : lines) {
        char buf[32];
        std::strcpy(buf, l);
        RngItems it;
        int eq = -1;
        RNG_SplitNamed(buf, &it, &eq);
        ASSERT_EQ(it.count, 2) << l;
        EXPECT_STREQ(it.item[0], "Vinl") << l;
        EXPECT_STREQ(it.item[1], "0.8") << l;
        EXPECT_EQ(eq, std::strchr(l, '=') != nullptr) << l;
    }
}

TEST_F(Range, CountsItemsPastWhatItKeeps) {
    char buf[] = "1 2 3 4 5 6 7 8 9 10 11 12 13 14";
    RngItems it;
    RNG_Split(buf, &it);
    EXPECT_EQ(it.count, 14);
    EXPECT_STREQ(it.item[RNG_MAX_ITEMS - 1], "12");
}

TEST_F(Range, LeavesTheTripleAloneWhenAnItemIsBad) {
    RNG_TypMinMax t;
    std::memset(&t, 0, sizeof(t));
    t.value[RNG_TYP] = 7;
    t.state[RNG_TYP] = CMN_VALUE_GIVEN;
    char bad[] = "1 x 3";
    EXPECT_EQ(RNG_ReadText(bad, "C_comp", &t), 0);
    EXPECT_EQ(t.value[RNG_TYP], 7);
    char good[] = "1p NA 3p";
    EXPECT_EQ(RNG_ReadText(good, "C_comp", &t), 1);
    EXPECT_DOUBLE_EQ(t.value[RNG_TYP], 1e-12);
    EXPECT_EQ(t.state[RNG_MIN], CMN_VALUE_NA);
    EXPECT_EQ(Output(), "ERROR (line    0) - Invalid min Value (\"x\")\n");
}

TEST_F(Range, WarnsOnlyWhenTypicalIsOutsideBothLimits) {
    struct {
        const char* text;
        bool warns;
    } rows[] = {
        {"2 1 3", false}, {"2 3 1", false}, {"0 1 3", true}, {"4 3 1", true}, {"1 1 3", false}};
    for (const auto& r : rows) {
        char buf[16];
        std::strcpy(buf, r.text);
        RNG_TypMinMax t;
        Output();
        RNG_ReadText(buf, "x", &t);
        EXPECT_EQ(Output().find("Typ value is not in between") != std::string::npos, r.warns)
            << r.text;
    }
}

TEST_F(Range, FindsRepeatedFirstValuesOnceTheColumnStopsRising) {
    RngpTable t;
    std::memset(&t, 0, sizeof(t));
    RNGP_Begin(&t);
    const double first[] = {0, 1, 2, 3, 1.5, 2, 4, 0, 5, 5};
    for (double f : first) {
        RngpRow r;
        std::memset(&r, 0, sizeof(r));
        r.first = f;
        r.firstState = CMN_VALUE_GIVEN;
        RNGP_Append(&t, &r, 1);
    }
    EXPECT_EQ(t.count, 10);
    EXPECT_EQ(Output(),
              "WARNING (line    0) - Value 2.000000e+00 repeated in the First Column\n"
              "WARNING (line    0) - Value 0.000000e+00 repeated in the First Column\n"
              "WARNING (line    0) - Value 5.000000e+00 repeated in the First Column\n");
    RNGP_Free(&t);
}

TEST_F(Range, GrowsATableOfManyRowsInOrder) {
    RngpTable t;
    std::memset(&t, 0, sizeof(t));
    RNGP_Begin(&t);
    for (int i = 0; i < 5000; i++) {
        RngpRow r;
        std::memset(&r, 0, sizeof(r));
        r.first = i % 2500;  // the second half repeats the first
        r.firstState = CMN_VALUE_GIVEN;
        ASSERT_EQ(RNGP_Append(&t, &r, 1), i + 1);
    }
    EXPECT_EQ(t.row[4999].first, 2499);
    int warnings = 0;
    MSG_GetCounts(nullptr, nullptr, &warnings);
    EXPECT_EQ(warnings, 2500);
    RNGP_Free(&t);
}

}  // namespace
