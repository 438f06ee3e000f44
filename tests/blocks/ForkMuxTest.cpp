#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/Fork.h"
#include "blocks/Mux.h"

using namespace Vantra;

namespace {

using Buffer = CircularBuffer<double>;

void Attach(Buffer& port, double* cell)
{
    port.Data = cell;
    port.Capacity = 1;
    port.Position = 0;
}

// A Mux wired to one cell per branch and one output cell, with the branch
// values 10, 11, 12, ...
class MuxTest : public testing::Test {
protected:
    Mux<Buffer> mux;
    std::vector<double> branch;
    double out = -1.0;

    bool Build(std::size_t width)
    {
        mux.Input.Resize(width);
        if (!mux.Setup()) return false;
        branch.assign(width, 0.0);
        for (std::size_t i = 0; i < width; ++i) {
            branch[i] = 10.0 + static_cast<double>(i);
            Attach(mux.Input.At(i), &branch[i]);
        }
        Attach(mux.Output, &out);
        return mux.Initialize();
    }

    // Runs one firing with control value c; returns what it wrote to stderr.
    std::string Fire(int c, bool expected)
    {
        mux.ControlValue = c;
        testing::internal::CaptureStderr();
        EXPECT_EQ(mux.Run(), expected) << "control " << c;
        return testing::internal::GetCapturedStderr();
    }
};

}  // namespace

TEST(Fork, TwoBranchesBothReceiveTheInputSample)
{
    Fork<Buffer> fork;
    fork.Output.Resize(2);
    double in = 0.75, a = 0.0, b = 0.0;
    Attach(fork.Input, &in);
    Attach(fork.Output.At(0), &a);
    Attach(fork.Output.At(1), &b);
    ASSERT_TRUE(fork.Setup());
    ASSERT_TRUE(fork.Initialize());
    EXPECT_TRUE(fork.Run());
    EXPECT_EQ(a, 0.75);
    EXPECT_EQ(b, 0.75);
    in = -2.0;
    EXPECT_TRUE(fork.Run());
    EXPECT_EQ(a, -2.0);
    EXPECT_EQ(b, -2.0);
    EXPECT_TRUE(fork.Finalize());
}

TEST(Fork, WidthZeroDoesNothingAndSucceeds)
{
    Fork<Buffer> fork;
    double in = 1.0;
    Attach(fork.Input, &in);
    EXPECT_TRUE(fork.Setup());
    EXPECT_TRUE(fork.Run());
    EXPECT_EQ(in, 1.0);
}

TEST_F(MuxTest, EveryValidControlValuePassesItsBranch)
{
    ASSERT_TRUE(Build(3));
    for (int c : {0, 1, 2, 0}) {
        EXPECT_EQ(Fire(c, true), "");
        EXPECT_EQ(out, 10.0 + c);
    }
}

TEST_F(MuxTest, OutOfRangeControlFailsWithThePluralMessageAndKeepsTheOutput)
{
    ASSERT_TRUE(Build(3));
    out = 5.5;
    EXPECT_EQ(Fire(3, false),
              "Control input signal value is equal to 3.  There are 3 inputs connected.  "
              "The valid control input range is [0,2].\n");
    EXPECT_EQ(Fire(-1, false),
              "Control input signal value is equal to -1.  There are 3 inputs connected.  "
              "The valid control input range is [0,2].\n");
    EXPECT_EQ(Fire(-2147483647 - 1, false),
              "Control input signal value is equal to -2147483648.  There are 3 inputs "
              "connected.  The valid control input range is [0,2].\n");
    EXPECT_EQ(out, 5.5);
}

TEST_F(MuxTest, OneBranchUsesTheSingularWording)
{
    ASSERT_TRUE(Build(1));
    EXPECT_EQ(Fire(0, true), "");
    EXPECT_EQ(out, 10.0);
    const std::string expected_tail =
        ".  There is 1 input connected.  The valid control input range is [0,0].\n";
    EXPECT_EQ(Fire(1, false), "Control input signal value is equal to 1" + expected_tail);
    EXPECT_EQ(Fire(-1, false), "Control input signal value is equal to -1" + expected_tail);
}

TEST_F(MuxTest, NoBranchRejectsEveryControlValueWithoutQuotingARange)
{
    ASSERT_TRUE(Build(0));
    const std::string tail = ".  There are 0 inputs connected.  No control input value is valid.\n";
    EXPECT_EQ(Fire(0, false), "Control input signal value is equal to 0" + tail);
    EXPECT_EQ(Fire(-3, false), "Control input signal value is equal to -3" + tail);
    EXPECT_EQ(out, -1.0);
}

TEST_F(MuxTest, BlockSizeBelowOneFailsSetupAndKeepsTheRates)
{
    for (int size : {0, -4}) {
        mux.BlockSize = size;
        mux.Input.Resize(3);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(mux.Setup());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "BlockSize must be >= 1\n");
        EXPECT_EQ(mux.Output.Rate, 1u);
        EXPECT_EQ(mux.Output.WindowSize, 1u);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(mux.Input.At(i).Rate, 1u);
    }
    // A firing after the failed Setup refuses instead of copying a negative count.
    mux.ControlValue = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(mux.Run());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Mux::Run called without a successful Setup\n");
}

TEST_F(MuxTest, BlockSizeSetsTheRatesAndIsCopiedPerFiring)
{
    mux.BlockSize = 2;
    mux.Input.Resize(2);
    ASSERT_TRUE(mux.Setup());
    EXPECT_EQ(mux.Output.Rate, 2u);
    EXPECT_EQ(mux.Control.Rate, 1u);
    double a[2] = {1, 2}, b[2] = {3, 4}, o[2] = {0, 0};
    mux.Input.At(0).Data = a;
    mux.Input.At(0).Capacity = 2;
    mux.Input.At(1).Data = b;
    mux.Input.At(1).Capacity = 2;
    mux.Output.Data = o;
    mux.Output.Capacity = 2;
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(mux.Input.At(i).Rate, 2u);
    // Raising BlockSize after Setup does not change what a firing copies.
    mux.BlockSize = 50;
    mux.ControlValue = 1;
    EXPECT_TRUE(mux.Run());
    EXPECT_EQ(o[0], 3);
    EXPECT_EQ(o[1], 4);
}

