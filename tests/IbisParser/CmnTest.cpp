// Common routines: allocation wrappers, string duplication, white space,
// and the assertion line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/msg.h"
#include "tests/IbisParser/MsgCapture.h"

// Impossible requests must come back as null rather than stop the process
// under AddressSanitizer.
#if defined(__SANITIZE_ADDRESS__)
// Exported: the build hides symbols by default, and the runtime looks it up.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
#endif

namespace {
const size_t kImpossible = SIZE_MAX / 2;
}

using CmnMemory = MsgCapture;

TEST_F(CmnMemory, CallocZeroFillsAndFreeClearsThePointer) {
    int* p = nullptr;
    ASSERT_EQ(CMN_Calloc(&p, 16 * sizeof *p), 1);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0);
    CMN_Free(&p);
    EXPECT_EQ(p, nullptr);
    CMN_Free(&p);  // a record whose allocation failed
    CMN_FreeBlock(nullptr);
}

TEST_F(CmnMemory, ReallocKeepsContentsAndGrows) {
    char* p = nullptr;
    ASSERT_EQ(CMN_Calloc(&p, 4), 1);
    std::memcpy(p, "abc", 4);
    ASSERT_EQ(CMN_Realloc(&p, 1 << 20), 1);
    EXPECT_STREQ(p, "abc");
    CMN_FreeBlock(p);
}

TEST_F(CmnMemory, FailedCallocLogsErrorAndLeavesNull) {
    char* p = reinterpret_cast<char*>(1);
    EXPECT_EQ(CMN_Calloc(&p, kImpossible), 0);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(Output(), "ERROR - Memory allocation failed.  This request " +
                            std::to_string(kImpossible > UINT32_MAX ? UINT32_MAX : kImpossible) +
                            ".\n\n");
}

TEST_F(CmnMemory, FailedReallocKeepsTheOldBlock) {
    char* p = nullptr;
    ASSERT_EQ(CMN_Calloc(&p, 8), 1);
    char* before = p;
    EXPECT_EQ(CMN_Realloc(&p, kImpossible), 0);
    EXPECT_EQ(p, before);
    EXPECT_NE(Output().find("ERROR - Memory reallocation failed."), std::string::npos);
    EXPECT_EQ(Errors(), 1);
    CMN_Free(&p);
}

TEST(CmnStrings, StrDupCopiesAndPassesNullThrough) {
    EXPECT_EQ(CMN_StrDup(nullptr), nullptr);
    char* s = CMN_StrDup("eq 3");
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s, "eq 3");
    CMN_Free(&s);
}

TEST(CmnStrings, StrNDupStopsAtLengthOrTerminator) {
    char* a = CMN_StrNDup("abcdef", 3);
    char* b = CMN_StrNDup("ab", 10);
    char* c = CMN_StrNDup("abc", 0);
    EXPECT_STREQ(a, "abc");
    EXPECT_STREQ(b, "ab");
    EXPECT_STREQ(c, "");
    CMN_Free(&a);
    CMN_Free(&b);
    CMN_Free(&c);
    EXPECT_EQ(CMN_StrNDup("x", SIZE_MAX), nullptr);
}

TEST(CmnWhiteSpace, SkipStopsAtNonBlankOrEnd) {
    char text[] = " \t\r\n x";
    char* p = text;
    EXPECT_EQ(CMN_SkipWhiteSpace(&p), 1);
    EXPECT_EQ(*p, 'x');
    char blank[] = "   ";
    p = blank;
    EXPECT_EQ(CMN_SkipWhiteSpace(&p), 1);
    EXPECT_EQ(*p, '\0');
}

TEST(CmnWhiteSpace, RunsOver120AreReportedButSkipped) {
    std::string ok(120, ' ');
    std::string tooLong(121, ' ');
    ok += "a";
    tooLong += "a";
    char* p = &ok[0];
    EXPECT_EQ(CMN_SkipWhiteSpace(&p), 1);
    p = &tooLong[0];
    EXPECT_EQ(CMN_SkipWhiteSpace(&p), 0);
    EXPECT_EQ(*p, 'a');
    CMN_SetAllowLongLines(1);
    p = &tooLong[0];
    EXPECT_EQ(CMN_SkipWhiteSpace(&p), 1);
    CMN_SetAllowLongLines(0);
}

TEST(CmnWhiteSpace, IsSpaceTakesTheCodeAsChar) {
    EXPECT_TRUE(CMN_IsSpace(' '));
    EXPECT_TRUE(CMN_IsSpace('\v'));
    EXPECT_TRUE(CMN_IsSpace(' ' + 256));  // taken as a char
    EXPECT_FALSE(CMN_IsSpace('a'));
    EXPECT_FALSE(CMN_IsSpace(static_cast<char>(0xA0)));
    EXPECT_FALSE(CMN_IsSpace(-1));
}

TEST(CmnAssertDeathTest, NullArgumentsStopWithTheAssertionLine) {
    // The line goes to standard output; route it to stderr for the matcher.
    EXPECT_DEATH((dup2(2, 1), CMN_Calloc(nullptr, 4)), "IbisParser/cmn:[0-9]+:assertion failed\\.");
    int* p = nullptr;
    EXPECT_DEATH((dup2(2, 1), CMN_Calloc(&p, 0)), "IbisParser/cmn:[0-9]+:assertion failed\\.");
    EXPECT_DEATH((dup2(2, 1), CMN_SkipWhiteSpace(nullptr)), "assertion failed");
}
