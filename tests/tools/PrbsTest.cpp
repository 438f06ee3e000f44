#include "tools/ami-sim/Prbs.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using amisim::Prbs;

namespace {

std::vector<int> Bits(Prbs& p, std::size_t n)
{
    std::vector<int> v(n);
    for (int& b : v) b = p.NextBit();
    return v;
}

// Lengths of the runs of one period taken as a circle, by bit value.
std::map<int, std::map<int, int>> CircularRuns(const std::vector<int>& bits)
{
    std::size_t start = 0;  // begin at a change of value so no run is split
    while (bits[start] == bits.back()) ++start;
    std::map<int, std::map<int, int>> runs;
    int len = 0;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const int b = bits[(start + i) % bits.size()];
        const int next = bits[(start + i + 1) % bits.size()];
        ++len;
        if (next != b) {
            ++runs[b][len];
            len = 0;
        }
    }
    return runs;
}

}  // namespace

class PrbsPeriod : public ::testing::TestWithParam<int> {};

TEST_P(PrbsPeriod, RepeatsAfterExactlyTwoToTheOrderMinusOneBits)
{
    const int order = GetParam();
    Prbs p(order, 0x5A5Au);
    const std::uint32_t initial = p.State();
    const std::uint64_t period = p.Period();
    ASSERT_EQ(period, (std::uint64_t{1} << order) - 1);
    for (std::uint64_t i = 1; i < period; ++i) {
        p.NextBit();
        ASSERT_NE(p.State(), initial) << "state repeated after " << i << " bits";
    }
    p.NextBit();
    EXPECT_EQ(p.State(), initial);
}

TEST_P(PrbsPeriod, OnePeriodHasMaximalLengthRunStatistics)
{
    // A maximal-length sequence of order n holds 2^(n-1) ones and
    // 2^(n-1) - 1 zeros; one run of n ones, none of n zeros, one of n - 1
    // zeros, and 2^(n-2-k) runs of each value of every length k <= n - 2.
    const int n = GetParam();
    Prbs p(n);
    const std::vector<int> bits = Bits(p, static_cast<std::size_t>(p.Period()));
    long ones = 0;
    for (int b : bits) ones += b;
    EXPECT_EQ(ones, 1L << (n - 1));

    auto runs = CircularRuns(bits);
    EXPECT_EQ(runs[1][n], 1);
    EXPECT_EQ(runs[0].count(n), 0u);
    EXPECT_EQ(runs[0][n - 1], 1);
    EXPECT_EQ(runs[1].count(n - 1), 0u);
    EXPECT_EQ(runs[1].rbegin()->first, n);
    EXPECT_EQ(runs[0].rbegin()->first, n - 1);
    for (int k = 1; k <= n - 2; ++k) {
        EXPECT_EQ(runs[1][k], 1 << (n - 2 - k)) << "ones, length " << k;
        EXPECT_EQ(runs[0][k], 1 << (n - 2 - k)) << "zeros, length " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, PrbsPeriod, ::testing::Values(7, 15));

TEST(Prbs, Prbs31FollowsItsPolynomialAndHasNoLongRuns)
{
    // x^31 + x^28 + 1: every bit is the XOR of the bits 31 and 28 before it.
    Prbs p(31, 12345u);
    const std::vector<int> b = Bits(p, 1u << 20);
    for (std::size_t i = 31; i < b.size(); ++i)
        ASSERT_EQ(b[i], b[i - 31] ^ b[i - 28]) << "at bit " << i;
    int run = 0, longest = 0;
    for (std::size_t i = 1; i < b.size(); ++i) {
        run = b[i] == b[i - 1] ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    EXPECT_LE(longest, 31);
    EXPECT_GE(longest, 15);  // a million bits see long runs
}

TEST(Prbs, ZeroSeedIsReplacedBecauseTheRegisterWouldStickAtZero)
{
    Prbs p(7, 0x80u);  // only bits above the register: zero after masking
    EXPECT_NE(p.State(), 0u);
    const std::vector<int> b = Bits(p, 127);
    int ones = 0;
    for (int x : b) ones += x;
    EXPECT_EQ(ones, 64);
}

TEST(Prbs, NamesMapToOrders)
{
    EXPECT_EQ(Prbs::OrderFromName("prbs7"), 7);
    EXPECT_EQ(Prbs::OrderFromName("PRBS-15"), 15);
    EXPECT_EQ(Prbs::OrderFromName("Prbs31"), 31);
    EXPECT_EQ(Prbs::OrderFromName("31"), 31);
    EXPECT_EQ(Prbs::OrderFromName("prbs9"), 0);
    EXPECT_EQ(Prbs::OrderFromName("prbs"), 0);
    EXPECT_EQ(Prbs::OrderFromName("prbs7x"), 0);
    EXPECT_EQ(Prbs::OrderFromName(""), 0);
    EXPECT_EQ(Prbs::Name(15), "PRBS-15");
}
