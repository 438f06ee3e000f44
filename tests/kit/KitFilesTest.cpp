// Checks of the shipped kit files that an edit can easily break and that a
// simulator would then reject: line lengths, characters, the libraries and
// parameter files the IBIS file names, the shape of the AMI parameter files,
// and the assembled kit through the project's own IBIS checker.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "IbisParser/check.h"
#include "IbisParser/msg.h"
#include "amiparam/amiparam.h"

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
    for (const std::string& l : Lines("corvin.ibs")) {
        std::istringstream words(l);
        std::string keyword, platform, library, parameters, extra;
        if (!(words >> keyword) || keyword != "Executable") continue;
        ASSERT_TRUE(words >> platform >> library >> parameters) << l;
        EXPECT_FALSE(words >> extra) << l;
        platforms.insert(platform);
        libraries.insert(library);
        parameterFiles.insert(parameters);
    }
    EXPECT_THAT(platforms, UnorderedElementsAre("Linux_gcc_32", "Linux_gcc_64",
                                                "Windows_VisualStudio_32",
                                                "Windows_VisualStudio_64"));
    EXPECT_THAT(libraries,
                UnorderedElementsAre("corvin_rx1.so", "corvin_rx1_x64.so", "corvin_tx1.so",
                                     "corvin_tx1_x64.so", "corvin_rx1.dll", "corvin_rx1_x64.dll",
                                     "corvin_tx1.dll", "corvin_tx1_x64.dll"));
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

// ---- The AMI parameter files through the parameter reader --------------

namespace {

// The text a checker parses: comment lines dropped, each line cut at '|',
// stripped of leading and trailing blanks and joined without separators.
std::string Gathered(const std::string& name)
{
    std::string text;
    for (std::string line : Lines(name)) {
        const std::size_t bar = line.find('|');
        if (bar != std::string::npos) line.erase(bar);
        const std::size_t a = line.find_first_not_of(" \t");
        if (a == std::string::npos) continue;
        const std::size_t b = line.find_last_not_of(" \t");
        text += line.substr(a, b - a + 1);
    }
    return text;
}

const AmiEntry* ChildNamed(const AmiEntry& branch, const std::string& name)
{
    for (int i = 0; i < branch.node->count; ++i) {
        const AmiEntry& c = branch.node->items.children[i];
        if (c.node != nullptr && c.node->name != nullptr && name == c.node->name) return &c;
    }
    return nullptr;
}

// The values of leaf `leaf` under `parameter`, empty when it is missing.
std::vector<std::string> LeafValues(const AmiEntry& parameter, const std::string& leaf)
{
    std::vector<std::string> v;
    const AmiEntry* e = ChildNamed(parameter, leaf);
    if (e == nullptr || e->kind != AMIPARAM_LEAF) return v;
    for (int i = 0; i < e->node->count; ++i) v.push_back(e->node->items.values[i].text);
    return v;
}

}  // namespace

class KitAmiTree : public ::testing::TestWithParam<const char*> {};

TEST_P(KitAmiTree, ParsesAndFollowsTheReservedAndModelSpecificRules)
{
    const std::string file = std::string(GetParam()) + ".ami";
    const std::string text = Gathered(file);
    AmiParamTree* tree = nullptr;
    ASSERT_EQ(AMIPARAM_Parse(text.c_str(), &tree), AMIPARAM_OK) << file;
    const AmiEntry& root = tree->entries[0];
    EXPECT_STREQ(root.node->name, GetParam());

    // The root holds a Description leaf and the two branches, nothing else.
    std::vector<std::string> children;
    for (int i = 0; i < root.node->count; ++i)
        children.push_back(root.node->items.children[i].node->name);
    EXPECT_THAT(children, ElementsAre("Description", "Reserved_Parameters", "Model_Specific"));

    // Reserved parameters of a GetWave-only model: Usage Info, the right
    // Type, a Default of that type, a Description, no Format.
    const AmiEntry* reserved = ChildNamed(root, "Reserved_Parameters");
    ASSERT_NE(reserved, nullptr);
    ASSERT_EQ(reserved->kind, AMIPARAM_BRANCH);
    struct Rule {
        const char* name;
        const char* type;
        const char* value;  // expected default, or "" for any integer
    };
    const Rule rules[] = {{"Init_Returns_Impulse", "Boolean", "False"},
                          {"GetWave_Exists", "Boolean", "True"},
                          {"Ignore_Bits", "Integer", ""},
                          {"Max_Init_Aggressors", "Integer", "0"}};
    EXPECT_EQ(reserved->node->count, 4);
    for (const Rule& r : rules) {
        const AmiEntry* p = ChildNamed(*reserved, r.name);
        ASSERT_NE(p, nullptr) << r.name;
        ASSERT_EQ(p->kind, AMIPARAM_BRANCH) << r.name;
        for (int i = 0; i < p->node->count; ++i)
            EXPECT_EQ(p->node->items.children[i].kind, AMIPARAM_LEAF) << r.name;
        EXPECT_THAT(LeafValues(*p, "Usage"), ElementsAre("Info")) << r.name;
        EXPECT_THAT(LeafValues(*p, "Type"), ElementsAre(r.type)) << r.name;
        EXPECT_TRUE(LeafValues(*p, "Format").empty()) << r.name;
        EXPECT_EQ(LeafValues(*p, "Description").size(), 1u) << r.name;
        const std::vector<std::string> d = LeafValues(*p, "Default");
        ASSERT_EQ(d.size(), 1u) << r.name;
        if (*r.value != '\0') {
            EXPECT_EQ(d[0], r.value) << r.name;
        } else {
            EXPECT_EQ(ChildNamed(*p, "Default")->node->items.values[0].type, AMIPARAM_INTEGER);
        }
    }

    // The one model setting: an integer input with a Range whose typical
    // value is the default and lies within its bounds.
    const AmiEntry* specific = ChildNamed(root, "Model_Specific");
    ASSERT_NE(specific, nullptr);
    ASSERT_EQ(specific->node->count, 1);
    const AmiEntry& setting = specific->node->items.children[0];
    EXPECT_THAT(LeafValues(setting, "Usage"), ElementsAre("In"));
    EXPECT_THAT(LeafValues(setting, "Type"), ElementsAre("Integer"));
    const std::vector<std::string> f = LeafValues(setting, "Format");
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0], "Range");
    const std::vector<std::string> d = LeafValues(setting, "Default");
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0], f[1]);
    EXPECT_LE(std::stoi(f[2]), std::stoi(d[0]));
    EXPECT_LE(std::stoi(d[0]), std::stoi(f[3]));
    EXPECT_EQ(LeafValues(setting, "Description").size(), 1u);
    AMIPARAM_FreeTree(&tree);
}

INSTANTIATE_TEST_SUITE_P(Kit, KitAmiTree, ::testing::Values("corvin_rx1", "corvin_tx1"));

// ---- The assembled kit through the IBIS checker -------------------------

TEST(AssembledKit, PassesTheIbisChecker)
{
    std::FILE* log = std::tmpfile();
    ASSERT_NE(log, nullptr);
    MSG_SetOutput(log);
    for (const char* name : {"corvin.ibs", "corvin_rx1.ami", "corvin_tx1.ami"}) {
        const std::string path = std::string(CORVIN_KIT_DIR) + "/" + name;
        const long before = std::ftell(log);
        const int passed = CHECK_File(path.c_str());
        std::fflush(log);
        std::string report(static_cast<std::size_t>(std::ftell(log) - before), '\0');
        std::fseek(log, before, SEEK_SET);
        const std::size_t got = std::fread(&report[0], 1, report.size(), log);
        report.resize(got);
        std::fseek(log, 0, SEEK_END);
        EXPECT_EQ(passed, 1) << path << ":\n" << report;
    }
    MSG_SetOutput(stdout);
    std::fclose(log);
}
