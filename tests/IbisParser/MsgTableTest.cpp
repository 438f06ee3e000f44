// Message table: order, lookup, and the rows whose codes were split.
#include <gtest/gtest.h>

#include <cstring>

#include "IbisParser/msg.h"
#include "IbisParser/msgcodes.h"

TEST(MsgTable, IsStrictlyAscendingAndStartsWithFallback) {
    ASSERT_EQ(MSG_TableSize, 1227);
    EXPECT_EQ(MSG_Table[0].code, 0);
    EXPECT_STREQ(MSG_Table[0].text, "Error code doesn't exist.");
    for (int i = 1; i < MSG_TableSize; ++i)
        ASSERT_LT(MSG_Table[i - 1].code, MSG_Table[i].code) << "row " << i;
}

TEST(MsgTable, FindCodeFindsEveryRowAndNothingElse) {
    for (int i = 0; i < MSG_TableSize; ++i) {
        ASSERT_EQ(MSG_FindCode(MSG_Table[i].code), i);
        ASSERT_NE(MSG_Table[i].text, nullptr);
    }
    EXPECT_EQ(MSG_FindCode(-1), -1);
    EXPECT_EQ(MSG_FindCode(99), -1);
    EXPECT_EQ(MSG_FindCode(264), -1);
    EXPECT_EQ(MSG_FindCode(5999), -1);
}

TEST(MsgTable, FormerlySharedRowsHaveCodesOfTheirOwn) {
    auto text = [](int code) {
        int row = MSG_FindCode(code);
        return row < 0 ? "" : MSG_Table[row].text;
    };
    EXPECT_STREQ(text(MSGC_IBIS_CREATE_FAILED), "Unable to create IBIS.");
    EXPECT_STREQ(text(MSGC_IBIS_NO_COMPONENT), "Required keyword 'Component' not found.");
    EXPECT_STREQ(text(3900), "Unable to Parse %s: %s %d");
    EXPECT_STREQ(text(MSGC_EBD_NODE_PIN_TOO_LONG), "Node Pin name string too long. will be truncated.");
    EXPECT_STREQ(text(MSGC_EBD_RECURSIVE_REFERENCE),
                 "Ebd file '%s' recursively references the component %s in the calling Ebd file '%s'");
    EXPECT_STREQ(text(MSGC_CMN_ALLOC_FAILED), "Memory allocation failed.  This request %u.\n");
    EXPECT_STREQ(text(MSGC_AMI_TOO_FEW_NODES), "Too few nodes in branches or leaves");
}
