#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "blocks/Tanh.h"
#include "devices/corvinic_rxdc.h"
#include "devices/rx_post_dc.h"

namespace {

// Both limiters share members and behaviour; only their tables differ.
template <class Block>
class SoftLimiterTest : public testing::Test {
protected:
    Block block;

    double Out(int row, double in) {
        block.row = row;
        block.in = in;
        EXPECT_TRUE(block.Run());
        return block.out;
    }

    void Start(int row) {
        block.row = row;
        ASSERT_TRUE(block.Setup());
        ASSERT_TRUE(block.Initialize());
    }
};

using Limiters = testing::Types<corvinic_rxdc, rx_post_dc>;
TYPED_TEST_SUITE(SoftLimiterTest, Limiters);

const char* NameOf(const corvinic_rxdc&) {
    return "corvinic_rxdc";
}
const char* NameOf(const rx_post_dc&) {
    return "rx_post_dc";
}
// What a refused row is to the model's user: the receiver's eq setting, or
// (never a user's choice) the post limiter's row.
const char* SettingOf(const corvinic_rxdc&) {
    return "eq";
}
const char* SettingOf(const rx_post_dc&) {
    return "the post-limiter row";
}

}  // namespace

TYPED_TEST(SoftLimiterTest, ZeroInGivesZeroOutAndTheCurveIsOdd) {
    this->Start(0);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(this->Out(row, 0.0), 0.0);
        EXPECT_EQ(this->Out(row, -0.02), -this->Out(row, 0.02));
    }
}

TYPED_TEST(SoftLimiterTest, RowOutsideTheTableIsRefusedBySetupWithOneLine) {
    for (int row : {3, -1, 10, -2147483647 - 1}) {
        this->block.row = row;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(this->block.Setup());
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  std::string(SettingOf(this->block)) + " must be 0, 1 or 2, not " +
                      std::to_string(row) + " (" + NameOf(this->block) + ")\n");
    }
}

TYPED_TEST(SoftLimiterTest, FiringWithARowChangedOutOfRangeFailsAndKeepsOut) {
    this->Start(1);
    const double good = this->Out(1, 0.003);
    this->block.row = 3;
    this->block.in = 0.5;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(this->block.Run());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(SettingOf(this->block)) +
                                                          " must be 0, 1 or 2, not 3 (" +
                                                          NameOf(this->block) + ")\n");
    EXPECT_EQ(this->block.out, good);
    // The next firing uses whatever row is set then.
    EXPECT_EQ(this->Out(2, 0.003),
              this->block.amplitude[2] * Vantra::Tanh(this->block.gain[2] * 0.003));
}

TYPED_TEST(SoftLimiterTest, SpanGivesTheSingleFiringBitsOnEveryInstructionSet) {
    std::vector<double> in;
    for (int i = -300; i <= 300; ++i) in.push_back(0.001 * i);
    in.push_back(-0.0);
    for (Vantra::KernelIsa isa :
         {Vantra::KernelIsa::Portable, Vantra::KernelIsa::Sse2, Vantra::KernelIsa::Avx2}) {
        this->block.kernel_isa = isa;
        for (int row = 0; row < 3; ++row) {
            this->Start(row);
            std::vector<double> out(in.size(), 9.0);
            ASSERT_TRUE(this->block.run_span(in.data(), out.data(), in.size()));
            EXPECT_EQ(this->block.in, in.back());
            EXPECT_EQ(this->block.out, out.back());
            for (std::size_t i = 0; i < in.size(); ++i) {
                const double one = this->Out(row, in[i]);
                ASSERT_EQ(std::signbit(out[i]), std::signbit(one)) << in[i];
                ASSERT_EQ(out[i], one) << Vantra::KernelIsaName(isa) << " row " << row;
            }
        }
    }
    // A row outside the table writes nothing.
    this->block.row = 5;
    double out = 7.0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(this->block.run_span(in.data(), &out, 1));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, 7.0);
}

TEST(CorvinicRxdc, SmallInputsFollowEachRowsSlope) {
    corvinic_rxdc b;
    b.row = 0;
    ASSERT_TRUE(b.Setup());
    ASSERT_TRUE(b.Initialize());
    const double expected[3] = {0.14160, 0.045332, 0.022299};
    for (int r = 0; r < 3; ++r) {
        b.row = r;
        b.in = 0.01;
        ASSERT_TRUE(b.Run());
        EXPECT_NEAR(b.out, expected[r], 5e-6) << "row " << r;
    }
}

TEST(CorvinicRxdc, LargeInputsSaturateAtTheAmplitude) {
    corvinic_rxdc b;
    b.row = 0;
    ASSERT_TRUE(b.Initialize());
    b.in = 1.0;
    ASSERT_TRUE(b.Run());
    EXPECT_EQ(b.out, 0.209);
    b.in = -1.0;
    ASSERT_TRUE(b.Run());
    EXPECT_EQ(b.out, -0.209);
}

TEST(RxPostDc, ReceiverRowLimitsToHalfAndTransmitterRowsToOne) {
    rx_post_dc b;
    ASSERT_TRUE(b.Initialize());
    b.row = 0;
    b.in = 0.1;
    ASSERT_TRUE(b.Run());
    EXPECT_NEAR(b.out, 0.49999992, 1e-8);
    b.in = -0.1;
    ASSERT_TRUE(b.Run());
    EXPECT_NEAR(b.out, -0.49999992, 1e-8);
    b.row = 1;
    b.in = 0.001;
    ASSERT_TRUE(b.Run());
    EXPECT_NEAR(b.out, 0.0818167, 1e-7);
    for (double x : {0.001, -0.02, 0.3}) {
        b.in = x;
        b.row = 1;
        ASSERT_TRUE(b.Run());
        const double row1 = b.out;
        b.row = 2;
        ASSERT_TRUE(b.Run());
        EXPECT_EQ(b.out, row1);
    }
}
