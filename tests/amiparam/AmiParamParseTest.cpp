// Parameter tree reader: tree shapes, result codes, quotes, dropped lists,
// and inputs that must end in a result code rather than a crash or hang.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "amiparam/amiparam.h"
#include "tests/amiparam/TreeDump.h"

TEST(AmiParamParse, SimpleTreeHasBranchLeafLevelsAndCapacity) {
    AmiParamTree* tree = nullptr;
    ASSERT_EQ(AMIPARAM_Parse("(corvin_rx1 (eq 3))", &tree), AMIPARAM_OK);
    ASSERT_EQ(tree->count, 2);
    const AmiEntry& root = tree->entries[0];
    EXPECT_EQ(root.kind, AMIPARAM_BRANCH);
    EXPECT_EQ(root.level, 1);
    EXPECT_STREQ(root.node->name, "corvin_rx1");
    ASSERT_EQ(root.node->count, 1);
    const AmiEntry& eq = root.node->items.children[0];
    EXPECT_EQ(eq.kind, AMIPARAM_LEAF);
    EXPECT_EQ(eq.level, 2);
    EXPECT_EQ(eq.node, tree->entries[1].node);  // a copy, sharing the node
    ASSERT_EQ(eq.node->count, 1);
    EXPECT_STREQ(eq.node->items.values[0].text, "3");
    EXPECT_EQ(eq.node->items.values[0].type, AMIPARAM_INTEGER);
    EXPECT_EQ(eq.node->items.values[0].reserved, -1);
    AMIPARAM_FreeTree(&tree);
    EXPECT_EQ(tree, nullptr);
}

TEST(AmiParamParse, NestedListsValuesAndWhiteSpace) {
    EXPECT_EQ(ParseDump("  (corvin_rx1 (eq 3) (x \"a b\" 2.5 True) (sub (y 1) (z 2)) (w 4))"),
              "corvin_rx1{eq[3:1] x[a b:0 2.5:3 True:2] sub{y[1:1] z[2:1]} w[4:1]}");
    EXPECT_EQ(ParseDump("(a(b 1)(c 2))"), ParseDump("(a (b 1) (c 2))"));
    EXPECT_EQ(ParseDump("((b 1))"), "{b[1:1]}");
    EXPECT_EQ(ParseDump("(a (b 1 ) )"), "a{b[1:1]}");
    EXPECT_EQ(ParseDump("(a\n\t(b\t1\n)\r\n)"), "a{b[1:1]}");
}

TEST(AmiParamParse, QuotesProtectParenthesesAndSplitValues) {
    EXPECT_EQ(ParseDump("(a (b \"(\" 1))"), "a{b[(:0 1:1]}");
    EXPECT_EQ(ParseDump("(a (b x\"y z\"w))"), "a{b[y z:0 w:0]}");
    EXPECT_EQ(ParseDump("(a (b \"\" 2))"), "a{b[:-1 2:1]}");
    EXPECT_EQ(ParseDump("(corvin_rx1 (eq \"2\"))"), "corvin_rx1{eq[2:1]}");
}

TEST(AmiParamParse, MixedListIsDroppedAndStrayWordsIgnored) {
    EXPECT_EQ(ParseDump("(a (b 1 (c 2)) (d 3))"), "a{d[3:1]}");
    EXPECT_EQ(ParseDump("(a (b 1 (c \")\" (e 5))) (d 3))"), "a{d[3:1]}");
    EXPECT_EQ(ParseDump("(a (b 1) x)"), "a{b[1:1]}");
}

TEST(AmiParamParse, CallerTextIsNotModified) {
    const char text[] = "(a (b \"q\" x\"y\"))";
    char copy[sizeof text];
    std::memcpy(copy, text, sizeof text);
    AmiParamTree* tree = nullptr;
    ASSERT_EQ(AMIPARAM_Parse(copy, &tree), AMIPARAM_OK);
    EXPECT_STREQ(copy, text);
    AMIPARAM_FreeTree(&tree);
}

struct CodeCase {
    const char* text;
    int code;
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << "code " << c.code << " for " << c.text; }

class AmiParamResult : public ::testing::TestWithParam<CodeCase> {};

TEST_P(AmiParamResult, FailsWithCodeAndLeavesOutUnchanged) {
    AmiParamTree sentinel{};
    AmiParamTree* tree = &sentinel;
    EXPECT_EQ(AMIPARAM_Parse(GetParam().text, &tree), GetParam().code) << GetParam().text;
    EXPECT_EQ(tree, &sentinel);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, AmiParamResult,
    ::testing::Values(CodeCase{"(a (b 1)", 1}, CodeCase{"(a (b 1)))", 1}, CodeCase{"(a (b \"(\" 1)", 1},
                      CodeCase{"corvin_rx1 (eq 3)", 2}, CodeCase{"", 2}, CodeCase{" \t\n ", 2},
                      CodeCase{"(a 1)", 3}, CodeCase{"(a x (b 1))", 3},  // every list dropped
                      CodeCase{"(a (b 1)) (c 2)", 5}, CodeCase{"(a (b 1)) (c (d 2))", 5}, CodeCase{"(a)", 6}, CodeCase{"(a (b))", 6},
                      CodeCase{"(a (b) (c 1))", 6}, CodeCase{"(a (b 1) (c))", 6}, CodeCase{"(a (b ))", 6},
                      CodeCase{"()", 6}, CodeCase{"(a (b ) (c 1))", 8}));

TEST(AmiParamParse, NullArgumentsGiveThreeAndFreeToleratesNull) {
    AmiParamTree* tree = nullptr;
    EXPECT_EQ(AMIPARAM_Parse(nullptr, &tree), AMIPARAM_NO_PARENT);
    EXPECT_EQ(AMIPARAM_Parse("(a (b 1))", nullptr), AMIPARAM_NO_PARENT);
    AMIPARAM_FreeTree(nullptr);
    AMIPARAM_FreeTree(&tree);
}

TEST(AmiParamParse, FlattenGuardsItsCapacity) {
    // Four '(' of capacity, but the closing of s lets the pass go on to d.
    char text[] = "(a (s (b 1)) (c 2) (d 3))";
    auto* tree = static_cast<AmiParamTree*>(std::calloc(1, sizeof(AmiParamTree)));
    tree->entries = static_cast<AmiEntry*>(std::calloc(4, sizeof(AmiEntry)));
    tree->count = 4;
    int count = 4;
    EXPECT_EQ(AMIPARAM_Flatten(text, tree, &count), AMIPARAM_OVERFLOW);
    EXPECT_EQ(count, 4);
    EXPECT_STREQ(tree->entries[3].node->name, "c");
    AMIPARAM_FreeTree(&tree);  // releases what the pass allocated
}

TEST(AmiParamCountLists, CountsOutsideQuotesOnly) {
    int n = -1;
    EXPECT_EQ(AMIPARAM_CountLists("(a (b \"((\" 1))", &n), 1);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(AMIPARAM_CountLists("(a (b 1)", &n), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(AMIPARAM_CountLists(nullptr, &n), 1);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(AMIPARAM_CountLists("()", nullptr), 1);
}

// Inputs a simulator might pass that must end in a result, not a crash,
// an endless loop or a read past the text (the sanitizer build checks the
// last).
TEST(AmiParamUnsafe, LongWhiteSpaceRunsAreAccepted) {
    std::string ws(500, ' ');
    std::string text = ws + "(" + ws + "a" + ws + "(" + ws + "b 1)" + ws + "(c" + ws + "2" + ws + ")" + ws + ")";
    EXPECT_EQ(ParseDump(text.c_str()), "a{b[1:1] c[2:1]}");
}

TEST(AmiParamUnsafe, UnterminatedQuotesStopAtTheEnd) {
    // The name's quote keeps the counts balanced; the value's quote never
    // closes.
    EXPECT_EQ(ParseDump("(a\" (b \"x) (c 1)"), "a\"{b[]}");
    EXPECT_EQ(ParseDump("(a\" (b 1 (\"x) (c 1)"), "a\"{}");
    EXPECT_EQ(ParseDump("(a (b 1))\""), "a{b[1:1]}");
}

TEST(AmiParamUnsafe, DeepNestingParsesWithoutRecursion) {
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i) text += "(n ";
    text += "(x 1)";
    text += std::string(depth, ')');
    AmiParamTree* tree = nullptr;
    ASSERT_EQ(AMIPARAM_Parse(text.c_str(), &tree), AMIPARAM_OK);
    EXPECT_EQ(tree->count, depth + 1);
    AMIPARAM_FreeTree(&tree);

    std::string empty = std::string(depth, '(') + std::string(depth, ')');
    EXPECT_EQ(ParseDump(empty.c_str()), "#6");
}

TEST(AmiParamUnsafe, MegabyteTextsParse) {
    std::string big(1 << 20, 'v');
    EXPECT_EQ(ParseDump(("(a (b " + big + "))").c_str()), "a{b[" + big + ":0]}");
    std::string quoted = "(a (b \"" + std::string(1 << 20, '(') + "\"))";
    AmiParamTree* tree = nullptr;
    EXPECT_EQ(AMIPARAM_Parse(quoted.c_str(), &tree), AMIPARAM_OK);
    AMIPARAM_FreeTree(&tree);
    std::string opens(1 << 20, '(');
    EXPECT_EQ(ParseDump(opens.c_str()), "#1");
    std::string real = "(a (b 1." + std::string(1 << 20, '5') + "))";
    EXPECT_EQ(ParseDump(real.c_str()).substr(0, 8), "a{b[1.55");
}
