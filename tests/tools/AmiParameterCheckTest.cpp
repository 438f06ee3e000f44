// Values a user gives a model's parameters, checked against the .ami
// declarations, and the AMI_Init string built from them.
#include "tools/ami-sim/AmiParameterCheck.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace amisim;
using ::testing::HasSubstr;

namespace {

AmiFileContents Parse(const std::string& specific) {
    AmiFileContents c;
    std::string error;
    EXPECT_TRUE(ParseAmiFile("(m (Model_Specific " + specific + "))", "m.ami", c, error)) << error;
    return c;
}

}  // namespace

TEST(AmiParameterCheck, ValuesFaceTheirTypeAndFormat) {
    const struct {
        const char* declaration;
        const char* value;
        const char* message;  // "" when accepted
    } cases[] = {
        {"(eq (Usage In) (Type Integer) (Format Range 1 0 2))", "2", ""},
        {"(eq (Usage In) (Type Integer) (Format Range 1 0 2))", "3",
         "eq takes 0 to 2 (Range), not '3'"},
        {"(eq (Usage In) (Type Integer) (Format Range 1 0 2))", "-1", "(Range), not '-1'"},
        {"(eq (Usage In) (Type Integer) (Format Range 1 0 2))", "1.7",
         "eq takes a whole number (Integer), not '1.7'"},
        {"(eq (Usage In) (Type Integer) (Format Range 1 0 2))", "2.0", "(Integer), not '2.0'"},
        {"(eq (Usage In) (Type Integer) (Format Range 1 0 2))", "two", "(Integer), not 'two'"},
        {"(g (Usage In) (Type Float) (Format Range 0.5 0 1))", "1e-1", ""},
        {"(g (Usage In) (Type Float) (Format Range 0.5 0 1))", "1.0000000000001", ""},
        {"(g (Usage In) (Type Float) (Format Range 0.5 0 1))", "nan",
         "g takes a number (Float), not 'nan'"},
        {"(g (Usage In) (Type UI) (Format Value 0.5))", "0.5", ""},
        {"(g (Usage In) (Type UI) (Format Value 0.5))", "0.25", "g is fixed at 0.5 (Value)"},
        {"(m (Usage In) (Type String) (Format List fast slow))", "slow", ""},
        {"(m (Usage In) (Type String) (Format List fast slow))", "medium",
         "m takes fast or slow (List), not 'medium'"},
        {"(t (Usage In) (Type Tap) (Format List 0 0.25 0.5))", "0.250", ""},
        {"(s (Usage In) (Type Float) (Format Increment 0 0 1 0.25))", "0.75", ""},
        {"(s (Usage In) (Type Float) (Format Increment 0 0 1 0.25))", "0.3",
         "s takes 0 to 1 in steps of 0.25 (Increment), not '0.3'"},
        {"(s (Usage In) (Type Float) (Format Increment 0 0 1 0.25))", "1.25", "(Increment)"},
        {"(s (Usage In) (Type Float) (Format Steps 0 0 1 3))", "0.6666666667", ""},
        {"(s (Usage In) (Type Float) (Format Steps 0 0 1 3))", "0.5",
         "s takes 0 to 1 in 3 equal steps (Steps), not '0.5'"},
        {"(c (Usage In) (Type Float) (Format Corner 1 0.8 1.2))", "0.8", ""},
        {"(c (Usage In) (Type Float) (Format Corner 1 0.8 1.2))", "0.9",
         "c takes its typical, slow or fast value 1, 0.8 or 1.2 (Corner), not '0.9'"},
        {"(b (Usage In) (Type Boolean) (Default True))", "False", ""},
        {"(b (Usage In) (Type Boolean) (Default True))", "1",
         "b takes True or False (Boolean), not '1'"},
        {"(o (Usage Out) (Type Float))", "1", "o is not an input of the model (Usage Out)"},
        {"(i (Usage Info) (Type Float))", "1", "(Usage Info); it cannot be set"},
        {"(eq (Usage In) (Type Integer))", "", "eq needs a value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.declaration) + " <- " + c.value);
        const AmiFileContents ami = Parse(c.declaration);
        ASSERT_EQ(ami.declared.size(), 1u);
        const std::string why = CheckParameterValue(ami.declared[0], c.value);
        if (*c.message == '\0') {
            EXPECT_EQ(why, "");
        } else {
            EXPECT_THAT(why, HasSubstr(c.message));
        }
    }
}

TEST(AmiParameterCheck, UserStringsAreReadAgainstTheDeclarations) {
    AmiFileContents ami;
    std::string error;
    ASSERT_TRUE(ParseAmiFile(R"((corvin_rx1 (Model_Specific
        (eq (Usage In) (Type Integer) (Format Range 1 0 2) (Default 1))
        (grp (x (Usage InOut) (Type Float) (Format Range 0 -1 1)))
        (gain (Usage Out) (Type Float)))))",
                             "rx.ami", ami, error))
        << error;
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"(corvin_rx1 (eq 2))", ""},
        {"(corvin_rx1 (eq 0) (grp (x -0.5)))", ""},
        {" (corvin_rx1 ) ", ""},
        {"(corvin_rx1 (eqq 2))",
         "corvin_rx1 has no parameter 'eqq'; its parameters: eq (Integer, Range 0 to 2, default "
         "1); grp.x (Float, Range -1 to 1, default 0)"},
        {"(corvin_rx1 (eq 2)", "cannot be read: a list is not closed before the end of the text"},
        {"(corvin_rx1 (eq 2)))", "cannot be read: a ')' closes no list"},
        {"corvin_rx1 (eq 2)", "cannot be read: the text does not start with '('"},
        {"(corvin_rx1 (eq 1.7))", "eq takes a whole number (Integer), not '1.7'"},
        {"(corvin_rx1 (eq 1 2))", "eq takes one value, not 2"},
        {"(corvin_rx1 (grp (x 3)))", "grp.x takes -1 to 1 (Range), not '3'"},
        {"(corvin_rx1 (x 0.5))", "has no parameter 'x'"},
        {"(corvin_rx1 (gain 2))", "gain is not an input of corvin_rx1 (Usage Out)"},
        {"(corvin_tx1 (eq 2))",
         "is for a model named 'corvin_tx1'; its .ami file describes "
         "corvin_rx1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        error.clear();
        const bool ok = CheckParameterString(ami, c.text, error);
        EXPECT_EQ(ok, *c.message == '\0') << error;
        if (*c.message != '\0') {
            EXPECT_THAT(error, HasSubstr(c.message));
        }
    }
}

TEST(AmiParameterCheck, NamesAndTheStringBuiltFromSettings) {
    const AmiFileContents ami = Parse(R"(
        (eq (Usage In) (Type Integer) (Format Range 1 0 2) (Default 1))
        (mode (Usage In) (Type String) (Format List fast slow))
        (grp (eq (Usage In) (Type Float) (Format Corner 0.5 0.4 0.6))
             (out (Usage Out) (Type Float)))
        (info (Usage Info) (Type Float) (Default 3)))");
    ASSERT_EQ(ami.declared.size(), 5u);
    EXPECT_EQ(FindParameter(ami, "mode"), &ami.declared[1]);
    EXPECT_EQ(FindParameter(ami, "m.mode"), &ami.declared[1]);  // after the model's name
    EXPECT_EQ(FindParameter(ami, "grp.eq"), &ami.declared[2]);
    EXPECT_EQ(FindParameter(ami, "eq"), &ami.declared[0]);  // the path before the leaf name
    EXPECT_EQ(FindParameter(ami, "out"), &ami.declared[3]);
    EXPECT_EQ(FindParameter(ami, "nothing"), nullptr);

    EXPECT_EQ(BuildParameterString(ami, {}), "(m (eq 1) (mode \"fast\") (grp (eq 0.5)))");
    EXPECT_EQ(BuildParameterString(ami, {{"eq", "2"}, {"mode", "slow"}}, Corner::Max),
              "(m (eq 2) (mode \"slow\") (grp (eq 0.6)))");
    EXPECT_EQ(BuildParameterString(ami, {{"grp.eq", "0.45"}}, Corner::Min),
              "(m (eq 1) (mode \"fast\") (grp (eq 0.45)))");
    EXPECT_EQ(ListParameters(ami),
              "eq (Integer, Range 0 to 2, default 1); mode (String, List fast, slow, default "
              "fast); grp.eq (Float, Corner 0.5 (slow 0.4, fast 0.6), default 0.5)");
}
