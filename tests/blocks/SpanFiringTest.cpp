// A span of firings does what that many single firings do, for every block
// the networks fire over spans.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/ConstUnTimed.h"
#include "blocks/Fork.h"
#include "blocks/Mux.h"
#include "blocks/ScalarToScalar.h"

using namespace Vantra;

namespace {

using Buffer = CircularBuffer<double>;

template <class Port, class T>
void Attach(Port& port, std::vector<T>& cells) {
    port.Data = cells.data();
    port.Capacity = cells.size();
    port.Position = 0;
}

}  // namespace

TEST(SpanFiring, ForkCopiesTheWholeSpanToEveryBranch) {
    Fork<Buffer> fork;
    fork.Output.Resize(3);
    std::vector<double> in = {1, 2, 3, 4, 5}, b[3];
    Attach(fork.Input, in);
    for (int i = 0; i < 3; ++i) {
        b[i].assign(5, 0.0);
        Attach(fork.Output.At(i), b[i]);
    }
    ASSERT_TRUE(fork.Setup());
    EXPECT_EQ(fork.RunSpan(4), 4u);
    for (const auto& branch : b) EXPECT_EQ(branch, (std::vector<double>{1, 2, 3, 4, 0}));
}

TEST(SpanFiring, MuxFollowsEachFiringsControlAndStopsAtTheFirstBadOne) {
    struct Case {
        std::vector<int> control;
        std::size_t done;
        std::vector<double> out;
        int lastControl;
    };
    // Branch i carries 10 * i + offset.
    for (const Case& c :
         {Case{{1, 1, 1, 1}, 4, {10, 11, 12, 13}, 1}, Case{{0, 2, 2, 1}, 4, {0, 21, 22, 13}, 1},
          Case{{2, 2, 3, 0}, 2, {20, 21, -1, -1}, 3},
          Case{{-1, 0, 0, 0}, 0, {-1, -1, -1, -1}, -1}}) {
        Mux<Buffer> mux;
        mux.Input.Resize(3);
        ASSERT_TRUE(mux.Setup());
        std::vector<double> branch[3], out(4, -1.0);
        for (int i = 0; i < 3; ++i) {
            branch[i] = {10.0 * i, 10.0 * i + 1, 10.0 * i + 2, 10.0 * i + 3};
            Attach(mux.Input.At(i), branch[i]);
        }
        std::vector<int> control = c.control;
        Attach(mux.Output, out);
        Attach(mux.Control, control);
        testing::internal::CaptureStderr();
        EXPECT_EQ(mux.RunSpan(4), c.done);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(mux.ControlValue, c.lastControl);
        EXPECT_EQ(err.empty(), c.done == 4) << err;
    }
}

TEST(SpanFiring, ConstantSourceCountsItsDelayAcrossSpans) {
    ConstUnTimed<double> source;
    source.Value = 2.5;
    source.InitialDelay = 3;
    std::vector<double> out(4, -1.0);
    Attach(source.Output, out);
    ASSERT_TRUE(source.Initialize());
    EXPECT_EQ(source.RunSpan(2), 2u);
    EXPECT_EQ(out, (std::vector<double>{0, 0, -1, -1}));
    EXPECT_EQ(source.RunSpan(4), 4u);
    EXPECT_EQ(out, (std::vector<double>{0, 2.5, 2.5, 2.5}));
    EXPECT_EQ(source.FiringCount, 6u);
    EXPECT_EQ(source.Output.Position, 0u);
}

TEST(SpanFiring, ConverterRoundsEverySampleOfTheSpan) {
    ScalarToScalar<Buffer, CircularBuffer<int>, TypeConverterRound> convert;
    std::vector<double> in = {0.5, -0.5, 2.49, 7.0};
    std::vector<int> out(4, 99);
    Attach(convert.Input, in);
    Attach(convert.Output, out);
    EXPECT_EQ(convert.RunSpan(3), 3u);
    EXPECT_EQ(out, (std::vector<int>{1, -1, 2, 99}));
}

TEST(SpanFiring, BlocksRefuseSpansTheirPortsCannotHold) {
    ConstUnTimed<double> source;
    std::vector<double> one(1);
    Attach(source.Output, one);
    testing::internal::CaptureStderr();
    EXPECT_EQ(source.RunSpan(2), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ConstUnTimed::RunSpan: 2 firings do not fit the Output port\n");
    Mux<Buffer> mux;
    mux.Input.Resize(1);
    ASSERT_TRUE(mux.Setup());
    std::vector<int> control(1);
    Attach(mux.Output, one);
    Attach(mux.Control, control);
    testing::internal::CaptureStderr();
    EXPECT_EQ(mux.RunSpan(3), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Mux::RunSpan: 3 firings do not fit the Control and Output ports\n");
}
