// AmiParameterReader: typed getters and the dotted-path search.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "amiparam/AmiParameterReader.h"

namespace {

// The value GetDouble leaves at path, or the sentinel -99 when it fails.
double Double(const char* text, const char* path) {
    AmiParameterReader r(text);
    double d = -99.0;
    return r.GetDouble(d, path) ? d : -99.0;
}

}  // namespace

TEST(AmiParameterReader, GetDoubleReadsIntegersAndReals) {
    EXPECT_EQ(Double("(corvin_rx1 (eq 2))", "corvin_rx1.eq"), 2.0);
    EXPECT_EQ(Double("(corvin_rx1 (eq 1.5))", "corvin_rx1.eq"), 1.5);
    EXPECT_EQ(Double("(corvin_rx1 (eq \"2\"))", "corvin_rx1.eq"), 2.0);
    EXPECT_EQ(Double("(corvin_rx1 (eq 2 7))", "corvin_rx1.eq"), 2.0);
    EXPECT_EQ(Double("(corvin_tx1 (de_code 6))", "corvin_tx1.de_code"), 6.0);
}

TEST(AmiParameterReader, GetDoubleRefusesOtherTypesAndKeepsTheDefault) {
    for (const char* text : {"(corvin_rx1 (eq high))", "(corvin_rx1 (eq True))", "(corvin_rx1 (eq \"\"))"}) {
        AmiParameterReader r(text);
        double d = 1.0;
        EXPECT_FALSE(r.GetDouble(d, "corvin_rx1.eq")) << text;
        EXPECT_EQ(d, 1.0);
    }
}

TEST(AmiParameterReader, PathsAreExactCaseSensitiveAndFirstMatchWins) {
    EXPECT_EQ(Double("(corvin_rx1 (EQ 2))", "corvin_rx1.eq"), -99.0);
    EXPECT_EQ(Double("(Corvin_rx1 (eq 2))", "corvin_rx1.eq"), -99.0);
    EXPECT_EQ(Double("(corvin_rx1 (eq 1) (eq 2))", "corvin_rx1.eq"), 1.0);
    EXPECT_EQ(Double("(corvin_rx1 (g (eq 5)) (eq 2))", "corvin_rx1.eq"), 2.0);
    EXPECT_EQ(Double("(corvin_rx1 (group (eq 3)))", "corvin_rx1.eq"), -99.0);
    EXPECT_EQ(Double("(corvin_rx1 (group (eq 3)))", "corvin_rx1.group.eq"), 3.0);
    EXPECT_EQ(Double("(corvin_rx1 (eq 3))", "corvin_rx1.eq.x"), -99.0);
    EXPECT_EQ(Double("(corvin_rx1 (eq 3))", "corvin_rx1.e"), -99.0);
    EXPECT_EQ(Double("(corvin_rx1 (eq 3))", "corvin_rx1"), -99.0);  // branches are never found
    EXPECT_EQ(Double("(corvin_rx1 (eq 3))", ""), -99.0);
    EXPECT_EQ(Double("(a.b (c 4))", "a.b.c"), 4.0);  // names may hold dots
}

TEST(AmiParameterReader, EmptyOutermostNameLeavesLeadingDotOnLeaves) {
    EXPECT_EQ(Double("((eq 3))", ".eq"), 3.0);
    EXPECT_EQ(Double("((sub (eq 4)))", "sub.eq"), 4.0);
}

TEST(AmiParameterReader, UnparsedStringsAnswerNothing) {
    for (const char* text : {"", "eq 3", "(a (b 1)", "(a 1)"}) {
        AmiParameterReader r(text);
        EXPECT_FALSE(r.ok) << text;
        double d = 0;
        EXPECT_FALSE(r.GetDouble(d, "a.b"));
        EXPECT_EQ(r.GetNode("a.b"), nullptr);
    }
    AmiParameterReader none(nullptr);
    EXPECT_FALSE(none.ok);
}

TEST(AmiParameterReader, GetIntTruncatesAndRefusesWhatIntCannotHold) {
    AmiParameterReader r("(m (a 3.9) (b -3.9) (c 1e12) (d 7))");
    int v = 0;
    EXPECT_TRUE(r.GetInt(v, "m.a"));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(r.GetInt(v, "m.b"));
    EXPECT_EQ(v, -3);
    EXPECT_FALSE(r.GetInt(v, "m.c"));
    EXPECT_EQ(v, -3);
    EXPECT_TRUE(r.GetInt(v, "m.d"));
    EXPECT_EQ(v, 7);
}

TEST(AmiParameterReader, GetBoolOnlyForTrueAndFalse) {
    AmiParameterReader r("(m (flag True) (off False) (word true))");
    bool b = false;
    EXPECT_TRUE(r.GetBool(b, "m.flag"));
    EXPECT_TRUE(b);
    EXPECT_TRUE(r.GetBool(b, "m.off"));
    EXPECT_FALSE(b);
    b = true;
    EXPECT_FALSE(r.GetBool(b, "m.word"));
    EXPECT_TRUE(b);
}

TEST(AmiParameterReader, GetStringReplacesTheCallersArray) {
    AmiParameterReader r("(m (mode \"fast lane\") (n 3))");
    char* s = new char[4];
    std::strcpy(s, "old");
    EXPECT_TRUE(r.GetString(s, "m.mode"));
    EXPECT_STREQ(s, "fast lane");
    char* before = s;
    EXPECT_FALSE(r.GetString(s, "m.n"));
    EXPECT_EQ(s, before);
    delete[] s;
}

TEST(AmiParameterReader, GetNodeFindsLeavesOnly) {
    AmiParameterReader r("(m (sub (x 1 2)) (y))");  // (y) holds only a name
    EXPECT_FALSE(r.ok);
    AmiParameterReader ok("(m (sub (x 1 2)))");
    const AmiNode* x = ok.GetNode("m.sub.x");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->count, 2);
    EXPECT_EQ(ok.GetNode("m.sub"), nullptr);
}

TEST(AmiParameterReader, DeepPathsAreFoundWithoutRecursion) {
    const int depth = 50000;
    std::string text, path;
    for (int i = 0; i < depth; ++i) {
        text += "(n ";
        path += "n.";
    }
    text += "(x 5)" + std::string(depth, ')');
    path += "x";
    EXPECT_EQ(Double(text.c_str(), path.c_str()), 5.0);
}
