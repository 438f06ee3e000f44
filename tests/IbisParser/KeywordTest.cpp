// Keyword tables: sizes per version, placement rules and duplicate names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "IbisParser/keyword.h"

namespace {

int IndexOf(const KeywordRow* t, int n, int code) {
    for (int i = 0; i < n; ++i)
        if (t[i].code == code) return i;
    return -1;
}

TEST(KeywordTable, HasTheRowCountOfEachVersion) {
    const int expected[] = {50, 50, 88, 109, 120};
    for (int v = 1; v <= 5; ++v) {
        int n = 0;
        KEYWORD_Table(v, &n);
        EXPECT_EQ(n, expected[v - 1]) << "version " << v;
    }
}

TEST(KeywordTable, EndsWithCommentCharEndAndSentinel) {
    for (int v = 2; v <= 5; ++v) {
        int n = 0;
        const KeywordRow* t = KEYWORD_Table(v, &n);
        EXPECT_EQ(t[n - 3].code, KW_COMMENT_CHAR);
        EXPECT_EQ(t[n - 2].code, KW_END);
        EXPECT_EQ(t[n - 1].code, KW_NOT_KEY);
        EXPECT_STREQ(t[n - 1].name, "NOT_KEY");
        // Everything else in ascending code order (external circuits aside).
        int last = -1;
        for (int i = 0; i < n - 3; ++i) {
            int c = t[i].code;
            if (c == KW_EXTERNAL_CIRCUIT || c == KW_END_EXTERNAL_CIRCUIT) continue;
            EXPECT_GT(c, last);
            last = c;
        }
    }
}

TEST(KeywordTable, PlacesExternalCircuitAfterTestLoadFromVersion4) {
    for (int v = 4; v <= 5; ++v) {
        int n = 0;
        const KeywordRow* t = KEYWORD_Table(v, &n);
        int load = IndexOf(t, n, KW_TEST_LOAD);
        ASSERT_GE(load, 0);
        EXPECT_EQ(t[load + 1].code, KW_EXTERNAL_CIRCUIT);
        EXPECT_EQ(t[load + 2].code, KW_END_EXTERNAL_CIRCUIT);
    }
    int n = 0;
    const KeywordRow* t3 = KEYWORD_Table(3, &n);
    EXPECT_EQ(IndexOf(t3, n, KW_EXTERNAL_CIRCUIT), -1);
}

TEST(KeywordTable, GivesEachVersionOnlyItsKeywords) {
    int n2 = 0, n3 = 0, n4 = 0;
    const KeywordRow* t2 = KEYWORD_Table(2, &n2);
    const KeywordRow* t3 = KEYWORD_Table(3, &n3);
    const KeywordRow* t4 = KEYWORD_Table(4, &n4);
    EXPECT_EQ(IndexOf(t2, n2, KW_MODEL_SPEC), -1);
    EXPECT_GE(IndexOf(t3, n3, KW_MODEL_SPEC), 0);
    EXPECT_EQ(IndexOf(t3, n3, KW_RECEIVER_THRESHOLDS), -1);
    EXPECT_GE(IndexOf(t4, n4, KW_RECEIVER_THRESHOLDS), 0);
    EXPECT_EQ(IndexOf(t4, n4, KW_ALGORITHMIC_MODEL), -1);
}

TEST(KeywordTable, FindsADuplicateNameAtItsLowerCodeFirst) {
    int n = 0;
    const KeywordRow* t = KEYWORD_Table(5, &n);
    const char* dup[] = {"MANUFACTURER", "NUMBER_OF_PINS", "PULLUP", "RAMP",
                         "FALLING_WAVEFORM"};
    for (const char* name : dup) {
        std::vector<int> codes;
        for (int i = 0; i < n; ++i)
            if (std::strcmp(t[i].name, name) == 0) codes.push_back(t[i].code);
        ASSERT_GE(codes.size(), 2u) << name;
        EXPECT_LT(codes[0], codes[1]) << name;
    }
    EXPECT_STREQ(KEYWORD_Name(KW_SUB_PULLUP), "PULLUP");
    EXPECT_EQ(KEYWORD_Name(KW_COUNT), nullptr);
}

}  // namespace
