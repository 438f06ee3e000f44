#include <gtest/gtest.h>

#include <vector>

#include "blocks/ConstUnTimed.h"

using namespace Vantra;

namespace {

class ConstUnTimedTest : public testing::Test {
protected:
    ConstUnTimed<double> source;
    double cell = -99.0;

    void SetUp() override
    {
        source.Output.Data = &cell;
        source.Output.Capacity = 1;
    }

    std::vector<double> Fire(int n)
    {
        std::vector<double> y;
        for (int i = 0; i < n; ++i) {
            EXPECT_TRUE(source.Run());
            y.push_back(cell);
        }
        return y;
    }
};

}  // namespace

TEST_F(ConstUnTimedTest, DelayEmitsZerosThenTheValueAndInitializeRestartsIt)
{
    source.Value = 2.0;
    source.InitialDelay = 3;
    ASSERT_TRUE(source.Setup());
    ASSERT_TRUE(source.Initialize());
    EXPECT_EQ(Fire(5), (std::vector<double>{0, 0, 0, 2, 2}));
    EXPECT_EQ(source.FiringCount, 5u);
    ASSERT_TRUE(source.Initialize());
    EXPECT_EQ(source.FiringCount, 0u);
    EXPECT_EQ(Fire(4), (std::vector<double>{0, 0, 0, 2}));
}

TEST_F(ConstUnTimedTest, ZeroDelayEmitsTheValueAtOnce)
{
    EXPECT_EQ(source.Value, 0.0);
    EXPECT_EQ(source.InitialDelay, 0);
    source.Value = -1.25;
    ASSERT_TRUE(source.Initialize());
    EXPECT_EQ(Fire(1), (std::vector<double>{-1.25}));
}

TEST_F(ConstUnTimedTest, NegativeDelayFailsInitializeWithOneLineButResetsTheCount)
{
    source.Value = 2.0;
    source.InitialDelay = 0;
    ASSERT_TRUE(source.Initialize());
    Fire(3);
    source.InitialDelay = -1;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(source.Initialize());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "InitialDelay must be >= 0\n");
    EXPECT_EQ(source.FiringCount, 0u);
}

TEST_F(ConstUnTimedTest, FiringCountSaturatesInsteadOfWrappingIntoTheDelay)
{
    source.Value = 4.0;
    source.InitialDelay = 2;
    ASSERT_TRUE(source.Initialize());
    source.FiringCount = static_cast<std::size_t>(-1) - 1;
    EXPECT_EQ(Fire(3), (std::vector<double>{4, 4, 4}));
    EXPECT_EQ(source.FiringCount, static_cast<std::size_t>(-1));
}
