// Every built model library as a loader sees it: exactly the three entry
// points exported, no C++ runtime needed from the host, and on Linux no
// glibc symbol version newer than 2.17, the oldest glibc of the enterprise
// releases simulators are certified on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/CommandOutput.h"

namespace {

bool Exists(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f != nullptr) std::fclose(f);
    return f != nullptr;
}

// "2.17" -> {2, 17}; compared element by element.
std::vector<int> VersionOf(const std::string& text)
{
    std::vector<int> v;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, '.')) v.push_back(std::atoi(part.c_str()));
    return v;
}

// The glibc versions a library's dynamic symbols need (objdump -T).
std::set<std::string> GlibcVersions(const std::string& lib)
{
    std::set<std::string> versions;
    const std::string text = CommandOutput("objdump -T " + lib);
    for (std::size_t at = text.find("GLIBC_"); at != std::string::npos;
         at = text.find("GLIBC_", at + 1)) {
        std::size_t end = at + 6;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) ||
                                     text[end] == '.'))
            ++end;
        versions.insert(text.substr(at + 6, end - at - 6));
    }
    return versions;
}

// A DLL's export table and imported DLLs from objdump -p.
void ReadPe(const std::string& dll, std::set<std::string>* exports, std::set<std::string>* imports)
{
    std::istringstream lines(CommandOutput("objdump -p " + dll));
    std::string line;
    bool inExports = false;
    while (std::getline(lines, line)) {
        if (line.find("DLL Name: ") != std::string::npos)
            imports->insert(line.substr(line.find("DLL Name: ") + 10));
        if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos) {
            inExports = true;
            continue;
        }
        if (inExports && line.find("] ") != std::string::npos)
            exports->insert(line.substr(line.find("] ") + 2));
        else if (inExports)
            inExports = false;
    }
}

struct LibraryCase {
    const char* path;  // relative to the build directory
    bool windows;
};

void PrintTo(const LibraryCase& c, std::ostream* os) { *os << c.path; }

const std::set<std::string> kEntryPoints = {"AMI_Close", "AMI_GetWave", "AMI_Init"};

class LibraryFile : public testing::TestWithParam<LibraryCase> {
protected:
    std::string path;
    void SetUp() override
    {
        path = std::string(CORVIN_BINARY_DIR) + "/" + GetParam().path;
        ASSERT_TRUE(Exists(path)) << path << " was not built";
    }
};

}  // namespace

TEST_P(LibraryFile, ExportsOnlyTheEntryPointsAndNeedsNoCxxRuntime)
{
    std::set<std::string> exports, imports;
    if (GetParam().windows) {
        ReadPe(path, &exports, &imports);
        // Everything else is linked in: only the system's own DLLs.
        EXPECT_EQ(imports, (std::set<std::string>{"KERNEL32.dll", "msvcrt.dll"}));
    } else {
        std::istringstream lines(CommandOutput("nm -D --defined-only " + path));
        std::string addr, type, name;
        while (lines >> addr >> type >> name) exports.insert(name);
        const std::string deps = CommandOutput("objdump -p " + path + " | grep NEEDED");
        for (const char* runtime : {"libstdc++", "libgcc_s"})
            EXPECT_EQ(deps.find(runtime), std::string::npos) << deps;
    }
    EXPECT_EQ(exports, kEntryPoints);
}

TEST_P(LibraryFile, NeedsNoGlibcNewerThan2_17)
{
    if (GetParam().windows) GTEST_SKIP() << "not an ELF library";
#ifdef CORVIN_SANITIZE
    GTEST_SKIP() << "the sanitizer build's libraries are not the shipped ones";
#endif
    const std::set<std::string> versions = GlibcVersions(path);
    EXPECT_FALSE(versions.empty()) << "objdump -T listed no glibc version";
    for (const std::string& v : versions)
        EXPECT_LE(VersionOf(v), VersionOf("2.17")) << path << " needs GLIBC_" << v;
}

TEST(GlibcVersionOrder, ComparesNumerically)
{
    EXPECT_LT(VersionOf("2.3"), VersionOf("2.17"));
    EXPECT_LT(VersionOf("2.2.5"), VersionOf("2.17"));
    EXPECT_GT(VersionOf("2.32"), VersionOf("2.17"));
    EXPECT_GT(VersionOf("2.17.1"), VersionOf("2.17"));
}

INSTANTIATE_TEST_SUITE_P(Linux64, LibraryFile,
                         testing::Values(LibraryCase{"lib/corvin_rx1_x64.so", false},
                                         LibraryCase{"lib/corvin_tx1_x64.so", false}));
#ifdef CORVIN_HAS_M32
INSTANTIATE_TEST_SUITE_P(Linux32, LibraryFile,
                         testing::Values(LibraryCase{"m32/lib/corvin_rx1.so", false},
                                         LibraryCase{"m32/lib/corvin_tx1.so", false}));
#endif
#ifdef CORVIN_HAS_W64
INSTANTIATE_TEST_SUITE_P(Windows64, LibraryFile,
                         testing::Values(LibraryCase{"w64/lib/corvin_rx1_x64.dll", true},
                                         LibraryCase{"w64/lib/corvin_tx1_x64.dll", true}));
#endif
#ifdef CORVIN_HAS_W32
INSTANTIATE_TEST_SUITE_P(Windows32, LibraryFile,
                         testing::Values(LibraryCase{"w32/lib/corvin_rx1.dll", true},
                                         LibraryCase{"w32/lib/corvin_tx1.dll", true}));
#endif
