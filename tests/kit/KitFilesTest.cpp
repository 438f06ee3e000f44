// Checks of the shipped kit files that an edit can easily break and that a
// simulator or the IBIS checker would then reject: line lengths, characters,
// the libraries and parameter files the IBIS file names, and the shape of
// the AMI parameter files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

std::vector<std::string> Lines(const std::string& name)
{
    const char* root = std::getenv("CORVIN_SOURCE_DIR");
    std::ifstream f(std::string(root ? root : ".") + "/kit/" + name, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(f, line)) lines.push_back(line);
    return lines;
}

std::string Text(const std::string& name)
{
    std::string all;
    for (const std::string& l : Lines(name)) all += l + "\n";
    return all;
}

}  // namespace

class KitFile : public ::testing::TestWithParam<const char*> {};

TEST_P(KitFile, IsPlainAsciiWithoutTabsOrCarriageReturns)
{
    const std::vector<std::string> lines = Lines(GetParam());
    ASSERT_FALSE(lines.empty()) << GetParam() << " missing";
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (unsigned char c : lines[i])
            ASSERT_TRUE(c >= 0x20 && c < 0x7F) << GetParam() << ":" << i + 1 << " code " << int(c);
}

INSTANTIATE_TEST_SUITE_P(Kit, KitFile,
                         ::testing::Values("corvin.ibs", "corvin_rx1.ami", "corvin_tx1.ami"));

TEST(KitIbs, LinesFitEightyColumnsAndTheFileEndsWithEnd)
{
    const std::vector<std::string> lines = Lines("corvin.ibs");
    ASSERT_FALSE(lines.empty());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_LE(lines[i].size(), 80u) << "corvin.ibs:" << i + 1;
    EXPECT_EQ(lines.front().rfind("[IBIS Ver]", 0), 0u);
    EXPECT_EQ(lines.back(), "[End]");
}

TEST(KitIbs, ExecutablesNameTheKitLibrariesAndParameterFiles)
{
    std::set<std::string> libraries, parameterFiles, platforms;
    const std::regex exe(R"(^Executable\s+(\S+)\s+(\S+)\s+(\S+)\s*$)");
    for (const std::string& l : Lines("corvin.ibs")) {
        std::smatch m;
        if (!std::regex_match(l, m, exe)) continue;
        platforms.insert(m[1]);
        libraries.insert(m[2]);
        parameterFiles.insert(m[3]);
    }
    EXPECT_THAT(platforms, UnorderedElementsAre("Linux_gcc_32", "Linux_gcc_64"));
    EXPECT_THAT(libraries, UnorderedElementsAre("corvin_rx1.so", "corvin_rx1_x64.so",
                                                "corvin_tx1.so", "corvin_tx1_x64.so"));
    EXPECT_THAT(parameterFiles, UnorderedElementsAre("corvin_rx1.ami", "corvin_tx1.ami"));
}

TEST(KitAmi, ParameterFilesHaveTheModelRootAndTheirSetting)
{
    struct Expect {
        const char* file;
        const char* root;
        const char* setting;
    };
    for (const Expect& e : {Expect{"corvin_rx1.ami", "corvin_rx1", "(eq"},
                            Expect{"corvin_tx1.ami", "corvin_tx1", "(de_code"}}) {
        const std::string text = Text(e.file);
        EXPECT_EQ(text.rfind(std::string("(") + e.root + "\n", 0), 0u) << e.file;
        EXPECT_NE(text.find(e.setting), std::string::npos) << e.file;
        for (const char* reserved : {"(Init_Returns_Impulse", "(GetWave_Exists", "(Ignore_Bits",
                                     "(Max_Init_Aggressors"})
            EXPECT_NE(text.find(reserved), std::string::npos) << e.file << " " << reserved;

        // Parentheses balance outside quotes; no comment character, which
        // would cut a line short when the file is read.
        int depth = 0, minDepth = 1;
        bool quoted = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '"') quoted = !quoted;
            if (quoted) continue;
            if (c == '(') ++depth;
            if (c == ')') --depth;
            if (i > 0 && i + 2 < text.size()) minDepth = std::min(minDepth, depth);
        }
        EXPECT_EQ(depth, 0) << e.file;
        EXPECT_EQ(minDepth, 1) << e.file << ": more than one list at the outermost level";
        EXPECT_FALSE(quoted) << e.file;
        EXPECT_EQ(text.find('|'), std::string::npos) << e.file;
        for (const std::string& l : Lines(e.file)) EXPECT_LE(l.size(), 120u) << e.file;
    }
}
