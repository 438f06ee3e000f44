#include "tools/ami-sim/TimeValueCsv.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using amisim::ParseTimeValueCsv;
using amisim::ReadTimeValueCsv;
using amisim::TimeValueTable;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

struct Parsed {
    bool ok;
    TimeValueTable table;
    std::string error;
};

Parsed Parse(const std::string& text)
{
    std::istringstream in(text);
    Parsed p;
    p.ok = ParseTimeValueCsv(in, "resp.csv", p.table, p.error);
    return p;
}

}  // namespace

TEST(TimeValueCsv, ReadsCommaSemicolonTabAndBlankSeparatedRows)
{
    for (const char* text : {"0,1\n1e-12,2\n2e-12,3\n", "0;1\n1e-12;2\n2e-12;3\n",
                             "0\t1\n1e-12\t2\n2e-12\t3\n", "  0   1\n1e-12 2  \n2e-12    3\n",
                             "0 , 1\n1e-12 ,2\n2e-12, 3"}) {
        const Parsed p = Parse(text);
        ASSERT_TRUE(p.ok) << text << ": " << p.error;
        EXPECT_THAT(p.table.time, ElementsAre(0.0, 1e-12, 2e-12)) << text;
        EXPECT_THAT(p.table.value, ElementsAre(1.0, 2.0, 3.0)) << text;
    }
}

TEST(TimeValueCsv, SkipsHeaderCommentsBlankLinesCrlfAndByteOrderMark)
{
    const Parsed p = Parse(
        "\xEF\xBB\xBFtime,value\r\n# exported response\r\n\r\n0,0.5\r\n  # mid comment\r\n"
        "1e-12,-0.25\r\n");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_THAT(p.table.time, ElementsAre(0.0, 1e-12));
    EXPECT_THAT(p.table.value, ElementsAre(0.5, -0.25));
}

TEST(TimeValueCsv, RefusesMalformedRowsNamingTheLine)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"0,1\n1,2,3\n", "resp.csv:2: expected two columns (time, value), found 3"},
        {"0,1\n1\n", "resp.csv:2: expected two columns (time, value), found 1"},
        {"0,1\n1,,\n", "resp.csv:2: expected two columns"},
        {"0,1\n1,abc\n", "resp.csv:2: value 'abc' is not a number"},
        {"0,1\n1,2V\n", "resp.csv:2: value '2V' is not a number"},
        {"0,1\nx,2\n", "resp.csv:2: time 'x' is not a number"},
        {"t,v\nt2,v2\n", "resp.csv:2: time 't2' is not a number"},
        {"0,1\n1,nan\n", "resp.csv:2: numbers must be finite"},
        {"0,1\ninf,2\n", "resp.csv:2: numbers must be finite"},
        {"0,1\n1,1e999\n", "resp.csv:2: value '1e999' is not a number"},
        {"0,1\n2,2\n1,3\n", "resp.csv:3: time 1 does not increase"},
        {"0,1\n0,2\n", "resp.csv:2: time 0 does not increase"},
        {"0,1\n", "resp.csv: needs at least two data rows (time, value), found 1"},
        {"", "resp.csv: needs at least two data rows (time, value), found 0"},
        {"time,value\n# nothing\n", "found 0"},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.text);
        EXPECT_FALSE(p.ok) << c.text;
        EXPECT_THAT(p.error, HasSubstr(c.message)) << c.text;
    }
}

TEST(TimeValueCsv, FailedParseLeavesTheTableUntouched)
{
    TimeValueTable table;
    table.time = {7.0};
    table.value = {8.0};
    std::istringstream in("0,1\n1,oops\n");
    std::string error;
    EXPECT_FALSE(ParseTimeValueCsv(in, "x", table, error));
    EXPECT_THAT(table.time, ElementsAre(7.0));
}

TEST(TimeValueCsv, ReportsFilesThatCannotBeRead)
{
    TimeValueTable table;
    std::string error;
    EXPECT_FALSE(ReadTimeValueCsv("/nonexistent/dir/resp.csv", table, error));
    EXPECT_EQ(error, "/nonexistent/dir/resp.csv: cannot open");
    EXPECT_FALSE(ReadTimeValueCsv("/tmp", table, error));
    EXPECT_EQ(error, "/tmp: is a directory");
}

TEST(TimeValueCsv, BinaryGarbageIsRefusedNotCrashedOn)
{
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) & 0xFF);
    const Parsed p = Parse(junk);
    EXPECT_FALSE(p.ok);
    EXPECT_FALSE(p.error.empty());
}
