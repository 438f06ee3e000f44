#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "blocks/ScalarToScalar.h"

using namespace Vantra;

namespace {

int Round(double x)
{
    int out = 12345;
    const int r = TypeConverterRound::Convert(x, out);
    EXPECT_EQ(r, out) << "Convert must return what it stores, for " << x;
    return out;
}

}  // namespace

TEST(TypeConverterRound, HalvesRoundAwayFromZero)
{
    const std::vector<std::pair<double, int>> cases = {
        {0.5, 1},   {-0.5, -1}, {1.5, 2},   {-1.5, -2}, {2.5, 3},
        {-2.5, -3}, {0.0, 0},   {-0.0, 0},  {7.0, 7},   {-7.0, -7}};
    for (const auto& c : cases) EXPECT_EQ(Round(c.first), c.second) << c.first;
}

TEST(TypeConverterRound, ValuesJustInsideAHalfRoundTowardTheNearestInteger)
{
    EXPECT_EQ(Round(0.49999), 0);
    EXPECT_EQ(Round(-0.50001), -1);
    EXPECT_EQ(Round(1.4999), 1);
    EXPECT_EQ(Round(-1.4999), -1);
    // The largest double below one half: floor(x + 0.5) would give 1.
    const double below_half = std::nextafter(0.5, 0.0);
    EXPECT_EQ(Round(below_half), 0);
    EXPECT_EQ(Round(-below_half), 0);
    EXPECT_EQ(TypeConverterRound::RoundValue(2.5), 3.0);
    EXPECT_EQ(TypeConverterRound::RoundValue(-2.5), -3.0);
}

TEST(TypeConverterRound, IntRangeEndsConvertExactly)
{
    EXPECT_EQ(Round(2147483647.0), INT_MAX);
    EXPECT_EQ(Round(2147483647.4), INT_MAX);
    EXPECT_EQ(Round(-2147483648.0), INT_MIN);
    EXPECT_EQ(Round(-2147483648.4), INT_MIN);
}

TEST(TypeConverterRound, OutOfRangeInfiniteAndNanGiveTheSmallestInt)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {2147483647.5, 3.0e9, -2147483648.5, -3.0e9, 1e300, inf, -inf,
                     std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(Round(x), INT_MIN) << x;
}

TEST(TypeConverter, BareConverterSucceedsInEveryPhaseAndWritesNothing)
{
    TypeConverter<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound> conv;
    double in = 3.7;
    int out = 42;
    conv.Input.Data = &in;
    conv.Input.Capacity = 1;
    conv.Output.Data = &out;
    conv.Output.Capacity = 1;
    EXPECT_TRUE(conv.Setup());
    EXPECT_TRUE(conv.Initialize());
    EXPECT_TRUE(conv.Run());
    EXPECT_TRUE(conv.Finalize());
    EXPECT_EQ(out, 42);
}

TEST(ScalarToScalar, EachFiringConvertsTheCurrentSample)
{
    ScalarToScalar<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound> conv;
    double in = 0.0;
    int out = 0;
    conv.Input.Data = &in;
    conv.Input.Capacity = 1;
    conv.Output.Data = &out;
    conv.Output.Capacity = 1;
    ASSERT_TRUE(conv.Setup());
    ASSERT_TRUE(conv.Initialize());
    const std::vector<std::pair<double, int>> cases = {
        {0.49999, 0}, {0.5, 1}, {-0.5, -1}, {-0.50001, -1}, {7.0, 7}, {3.0e9, INT_MIN}};
    for (const auto& c : cases) {
        in = c.first;
        EXPECT_TRUE(conv.Run());
        EXPECT_EQ(out, c.second) << c.first;
    }
}
