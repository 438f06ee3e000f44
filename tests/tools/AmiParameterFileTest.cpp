#include "tools/ami-sim/AmiParameterFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

using amisim::AmiDefaultParameters;
using amisim::ReadAmiDefaultParameters;
using ::testing::HasSubstr;

namespace {

std::string Defaults(const std::string& text) {
    std::string params, error;
    if (!AmiDefaultParameters(text, params, error)) return "error: " + error;
    return params;
}

std::string KitFile(const char* name) {
    const char* root = std::getenv("CORVIN_SOURCE_DIR");
    return std::string(root ? root : ".") + "/kit/" + name;
}

}  // namespace

TEST(AmiParameterFile, KitFilesGiveTheModelsDefaultSettings) {
    std::string params, error;
    ASSERT_TRUE(ReadAmiDefaultParameters(KitFile("corvin_rx1.ami"), params, error)) << error;
    EXPECT_EQ(params, "(corvin_rx1 (eq 1))");
    ASSERT_TRUE(ReadAmiDefaultParameters(KitFile("corvin_tx1.ami"), params, error)) << error;
    EXPECT_EQ(params, "(corvin_tx1 (de_code 5))");
}

TEST(AmiParameterFile, OnlyInputParametersAtTheirDefaultsNestedAsInTheFile) {
    EXPECT_EQ(Defaults(R"(
        (m | comment (with a parenthesis
          (Reserved_Parameters (Ignore_Bits (Usage Info) (Type Integer) (Default 3)))
          (Model_Specific
            (a (Usage In) (Type Float) (Default 0.5))
            (b (Usage Out) (Type Float) (Default 1))
            (c (Usage InOut) (Type String) (Default "two words"))
            (grp (d (Usage In) (Type Integer) (Format Range 2 0 9))
                 (e (Usage Info) (Default 4)))
            (empty (f (Usage Out) (Default 1)))
            (g (Usage In) (Format List x y) )
            (h (Usage In) (Format Value 7))
            (nodefault (Usage In) (Type Float))))
    )"),
              "(m (a 0.5) (c \"two words\") (grp (d 2)) (g x) (h 7))");
}

TEST(AmiParameterFile, WithoutModelSpecificOnlyTheNameRemains) {
    EXPECT_EQ(Defaults("(m (Reserved_Parameters (Ignore_Bits (Usage Info) (Default 3))))"), "(m)");
}

TEST(AmiParameterFile, MalformedFilesAreRefused) {
    EXPECT_THAT(Defaults(""), HasSubstr("does not start with '('"));
    EXPECT_THAT(Defaults("m (a 1)"), HasSubstr("does not start with '('"));
    EXPECT_THAT(Defaults("(m (a 1)"), HasSubstr("not closed"));
    EXPECT_THAT(Defaults("(m (a \"x))"), HasSubstr("string is not closed"));
    EXPECT_THAT(Defaults("(m (a 1)) (n (b 2))"), HasSubstr("text after"));
    EXPECT_THAT(Defaults("((a 1))"), HasSubstr("no name"));
    // The kit's reader refuses an empty list, as the kit's checker does.
    EXPECT_THAT(Defaults("(m\n (Model_Specific))"), HasSubstr("2: a list holds neither"));
    EXPECT_THAT(Defaults("(m (a 1)))"), HasSubstr("a ')' closes no list"));
    EXPECT_THAT(Defaults(std::string(100000, '(')), HasSubstr("not closed"));
    std::string params, error;
    EXPECT_FALSE(ReadAmiDefaultParameters("/nonexistent.ami", params, error));
    EXPECT_THAT(error, HasSubstr("cannot open"));
}

TEST(AmiParameterFile, ReservedValuesAreTheValueTypicalOrDefault) {
    amisim::AmiFileContents c;
    std::string error;
    ASSERT_TRUE(amisim::ParseAmiFile(R"((m
        (Reserved_Parameters
          (GetWave_Exists (Usage Info) (Type Boolean) (Default True))
          (Tx_Rj (Usage Info) (Type UI) (Format Value 0.01))
          (Tx_Dj (Usage Info) (Type Float) (Format Range 2e-12 1e-12 3e-12))
          (Tx_DCD (Usage Info) (Type Float) (Format Corner 1e-12 0 2e-12))
          (Rx_Noise (Usage Info) (Type Float) (Default 0.004))
          (Tx_Jitter (Usage Info) (Type Float) (Format DjRj 0 1e-12 3e-13)))))",
                                     "m.ami", c, error))
        << error;
    const struct {
        const char* name;
        bool found;
        double value;
        bool ui;
    } cases[] = {{"Tx_Rj", true, 0.01, true},    {"Tx_Dj", true, 2e-12, false},
                 {"Tx_DCD", true, 1e-12, false}, {"Rx_Noise", true, 0.004, false},
                 {"Tx_Jitter", false, 0, false}, {"GetWave_Exists", false, 0, false},
                 {"Tx_Sj", false, 0, false}};
    for (const auto& k : cases) {
        double v = 0.0;
        bool ui = false;
        ASSERT_EQ(c.Reserved(k.name, v, ui), k.found) << k.name;
        if (!k.found) continue;
        EXPECT_DOUBLE_EQ(v, k.value) << k.name;
        EXPECT_EQ(ui, k.ui) << k.name;
    }
    // A distribution keeps its format and numbers for the plan to read.
    const amisim::AmiReservedValue* j = c.Find("Tx_Jitter");
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(j->format, "DjRj");
    EXPECT_EQ(j->numbers, (std::vector<double>{0, 1e-12, 3e-13}));
    EXPECT_THAT(c.parameters, "(m)");
}
