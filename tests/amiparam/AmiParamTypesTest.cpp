// Value typing, reserved words and leaf-name keywords.
#include <gtest/gtest.h>

#include "amiparam/amiparam.h"

TEST(AmiParamTypes, ValueTypeFollowsTheTestingOrder) {
    EXPECT_EQ(AMIPARAM_ValueType(nullptr), AMIPARAM_EMPTY);
    EXPECT_EQ(AMIPARAM_ValueType(""), AMIPARAM_EMPTY);
    EXPECT_EQ(AMIPARAM_ValueType("7"), AMIPARAM_INTEGER);
    EXPECT_EQ(AMIPARAM_ValueType("-7"), AMIPARAM_INTEGER);
    EXPECT_EQ(AMIPARAM_ValueType("99999999999999999999"), AMIPARAM_INTEGER);  // any width
    EXPECT_EQ(AMIPARAM_ValueType("2.5"), AMIPARAM_REAL);
    EXPECT_EQ(AMIPARAM_ValueType("1e3"), AMIPARAM_REAL);
    EXPECT_EQ(AMIPARAM_ValueType("True"), AMIPARAM_BOOLEAN);
    EXPECT_EQ(AMIPARAM_ValueType("False"), AMIPARAM_BOOLEAN);
    EXPECT_EQ(AMIPARAM_ValueType("true"), AMIPARAM_WORD);
    EXPECT_EQ(AMIPARAM_ValueType("3x"), AMIPARAM_WORD);
    EXPECT_EQ(AMIPARAM_ValueType("-"), AMIPARAM_WORD);
}

TEST(AmiParamTypes, ReservedWordsAreExactAndCaseSensitive) {
    const char* words[] = {"In",    "Out",   "Info",  "InOut",     "Float",      "Integer", "String",
                           "Boolean", "Tap", "UI",    "Value",     "Range",      "List",    "Corner",
                           "Increment", "Steps", "Table", "Gaussian", "Dual-Dirac", "DjRj"};
    for (int i = 0; i < 20; ++i) EXPECT_EQ(AMIPARAM_ReservedWord(words[i]), i) << words[i];
    EXPECT_EQ(AMIPARAM_ReservedWord("in"), -1);
    EXPECT_EQ(AMIPARAM_ReservedWord("Inout"), -1);
    EXPECT_EQ(AMIPARAM_ReservedWord(nullptr), -1);
}

TEST(AmiParamTypes, LeafKeywords) {
    EXPECT_EQ(AMIPARAM_LeafKeyword("Usage"), AMIPARAM_KW_USAGE);
    EXPECT_EQ(AMIPARAM_LeafKeyword("Type"), AMIPARAM_KW_TYPE);
    EXPECT_EQ(AMIPARAM_LeafKeyword("Format"), AMIPARAM_KW_FORMAT);
    EXPECT_EQ(AMIPARAM_LeafKeyword("Default"), AMIPARAM_KW_DEFAULT);
    EXPECT_EQ(AMIPARAM_LeafKeyword("Description"), AMIPARAM_KW_DESCRIPTION);
    EXPECT_EQ(AMIPARAM_LeafKeyword("Labels"), AMIPARAM_KW_LABELS);
    EXPECT_EQ(AMIPARAM_LeafKeyword("usage"), AMIPARAM_KW_NONE);
    EXPECT_EQ(AMIPARAM_LeafKeyword("Reserved_Parameters"), AMIPARAM_KW_NONE);
}

TEST(AmiParamTypes, TreeValuesCarryTypeReservedCodeAndKeyword) {
    AmiParamTree* tree = nullptr;
    ASSERT_EQ(AMIPARAM_Parse("(p (Usage In 5 \"Out\") (Type (x 1)) (Format Range 0 1 2))", &tree), AMIPARAM_OK);
    const AmiNode* root = tree->entries[0].node;
    EXPECT_EQ(root->keyword, AMIPARAM_KW_NONE);
    ASSERT_EQ(root->count, 3);
    const AmiNode* usage = root->items.children[0].node;
    EXPECT_EQ(usage->keyword, AMIPARAM_KW_USAGE);
    EXPECT_EQ(usage->items.values[0].reserved, AMIPARAM_RW_IN);
    EXPECT_EQ(usage->items.values[1].reserved, -1);  // an integer is never reserved
    EXPECT_EQ(usage->items.values[2].reserved, AMIPARAM_RW_OUT);
    EXPECT_EQ(root->items.children[1].kind, AMIPARAM_BRANCH);  // a branch named Type
    EXPECT_EQ(root->items.children[1].node->keyword, AMIPARAM_KW_NONE);
    EXPECT_EQ(root->items.children[2].node->keyword, AMIPARAM_KW_FORMAT);
    EXPECT_EQ(root->items.children[2].node->items.values[0].reserved, AMIPARAM_RW_RANGE);
    AMIPARAM_FreeTree(&tree);
}
