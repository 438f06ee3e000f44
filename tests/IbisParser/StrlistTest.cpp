// String lists and the name-count table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisParser/strlist.h"
#include "MsgCapture.h"

using ::testing::HasSubstr;

namespace {

class Strlist : public MsgCapture {};

TEST_F(Strlist, PushesAddsUniqueAndAnswersMembership) {
    StringNode* list = nullptr;
    ASSERT_EQ(STRING_PushAll(&list, "a", "b", nullptr), 1);
    std::string c = "a";
    ASSERT_EQ(STRING_AddUnique(&list, c.c_str()), 1);
    ASSERT_EQ(STRING_AddUnique(&list, "c"), 1);
    std::vector<std::string> seen;
    for (StringNode* n = list; n; n = STRING_Next(n)) seen.push_back(STRING_Text(n));
    EXPECT_EQ(seen, (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_TRUE(STRING_Contains(list, "b"));
    EXPECT_FALSE(STRING_Contains(list, "B"));
    STRING_Free(&list);
    EXPECT_EQ(list, nullptr);
}

TEST_F(Strlist, CountsNamesWithoutAnyFixedCapacity) {
    NameCount* t = nullptr;
    for (int i = 0; i < 50000; ++i) STRING_CountAdd(&t, ("n" + std::to_string(i % 20000)).c_str());
    EXPECT_EQ(STRING_CountSize(t), 20000);
    EXPECT_EQ(STRING_CountGet(t, "n0"), 3);
    EXPECT_EQ(STRING_CountGet(t, "n19999"), 2);
    EXPECT_EQ(Output(), "");
    EXPECT_EQ(STRING_CountGet(t, "never"), 0);
    EXPECT_THAT(Output(), HasSubstr("PROGRAM BUG - Should not be here IbisParser/strlist"));
    STRING_CountFree(&t);
    EXPECT_EQ(t, nullptr);
}

}  // namespace
