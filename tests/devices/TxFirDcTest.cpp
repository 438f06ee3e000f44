#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "devices/tx_fir_dc.h"
#include "tests/support/RandomSignal.h"

namespace {

constexpr double kBitTime = 1.666666666666667e-10;

// Drives the block as the transmitter network does: one-sample cells on its
// two ports, one firing per sample.
class TxFirDcTest : public testing::Test {
protected:
    tx_fir_dc block;
    double in = 0.0, out = 0.0;

    void SetUp() override {
        block.Input.Data = &in;
        block.Input.Capacity = 1;
        block.Output.Data = &out;
        block.Output.Capacity = 1;
    }

    bool Configure(int row, int spb = 32, double bit_time = kBitTime, int level = 0) {
        block.row = row;
        block.post_scale = 1;
        block.second_scale = 1;
        block.samples_per_bit = spb;
        block.bit_time = bit_time;
        block.level = level;
        return block.Setup();
    }

    void Start(int row, int spb = 32, double bit_time = kBitTime, int level = 0) {
        ASSERT_TRUE(Configure(row, spb, bit_time, level));
        ASSERT_TRUE(block.Initialize());
    }

    std::vector<double> Feed(const std::vector<double>& x) {
        std::vector<double> y;
        for (double v : x) {
            in = v;
            EXPECT_TRUE(block.Run());
            y.push_back(out);
        }
        return y;
    }

    // Refused settings: Setup fails with exactly one line that starts with
    // the block name, and a following firing refuses too.
    void ExpectRefused(int row, int spb, double bit_time, const std::string& reason) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Configure(row, spb, bit_time));
        const std::string err = testing::internal::GetCapturedStderr();
        // One line: the setting in the kit's words, the block last.
        EXPECT_NE(err.find(reason), std::string::npos) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_EQ(err.rfind(" (tx_fir_dc)\n"), err.size() - 13) << err;
        block.Initialize();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(block.Run());
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "tx_fir_dc::Run called without a successful Setup and Initialize\n");
    }
};

// y[n] = s[n-N-d] + w s[n-N-2d] over the conditioned input, silence before 0.
std::vector<double> Expected(const std::vector<double>& x, const tx_fir_dc& b) {
    std::vector<double> s(x.size()), y(x.size());
    for (std::size_t n = 0; n < x.size(); ++n) {
        double v = x[n] * b.in_gain * b.level_gain;
        s[n] = v < b.lower_limit ? b.lower_limit : (v > b.upper_limit ? b.upper_limit : v);
    }
    const long main = b.samples_per_bit + b.tap_delay;
    const long post = main + b.tap_delay;
    for (long n = 0; n < static_cast<long>(x.size()); ++n) {
        const double m = n >= main ? s[n - main] : 0.0;
        const double p = n >= post ? s[n - post] : 0.0;
        y[n] = b.post_weight * p + m;
    }
    return y;
}

}  // namespace

TEST_F(TxFirDcTest, RowsGiveTheirDelaysLimitsAndWeightsAtDefaultTiming) {
    struct Row {
        int d;
        double limit, c, second;
    };
    const Row rows[7] = {{21, 0.475, 0.3684, 0.0}, {31, 0.4375, 0.3142, 0.0},
                         {21, 0.525, 0.2381, 0.0}, {31, 0.495, 0.1919, 0.0},
                         {16, 0.32, 0.125, 0.125}, {20, 0.32, 0.125, 0.125},
                         {20, 0.3, 0.0666, 0.0666}};
    for (int r = 0; r < 7; ++r) {
        ASSERT_TRUE(Configure(r)) << r;
        EXPECT_EQ(block.tap_delay, rows[r].d) << r;
        EXPECT_EQ(block.upper_limit, rows[r].limit) << r;
        EXPECT_EQ(block.lower_limit, -rows[r].limit) << r;
        EXPECT_EQ(block.in_gain, 1.0) << r;
        EXPECT_EQ(block.post_weight, -rows[r].c) << r;
        EXPECT_EQ(block.second_weight, rows[r].second) << r;
        EXPECT_EQ(block.level_gain, 1.0) << r;
    }
}

TEST_F(TxFirDcTest, Row5StepSettlesAfterTheMainAndPostTaps) {
    Start(5);
    const std::vector<double> y = Feed(std::vector<double>(120, 1.0));
    for (int n = 0; n < 120; ++n) {
        if (n < 52)
            EXPECT_EQ(y[n], 0.0) << n;
        else if (n <= 71)
            EXPECT_EQ(y[n], 0.32) << n;
        else
            EXPECT_DOUBLE_EQ(y[n], 0.28) << n;
    }
}

TEST_F(TxFirDcTest, Row0ImpulseAppearsAt53AndItsPostTapAt74) {
    Start(0);
    std::vector<double> x(100, 0.0);
    x[0] = 0.4;
    const std::vector<double> y = Feed(x);
    for (int n = 0; n < 100; ++n) {
        if (n == 53)
            EXPECT_EQ(y[n], 0.4) << n;
        else if (n == 74)
            EXPECT_DOUBLE_EQ(y[n], -0.3684 * 0.4) << n;
        else
            EXPECT_EQ(y[n], 0.0) << n;
    }
}

TEST_F(TxFirDcTest, InputIsLimitedToTheRowsWindowAndNanPassesThrough) {
    Start(0);
    const std::vector<double> x = {10.0, -10.0, 0.2, -0.3, std::nan("")};
    Feed(x);
    EXPECT_EQ(block.history_at(4), 0.475);
    EXPECT_EQ(block.history_at(3), -0.475);
    EXPECT_EQ(block.history_at(2), 0.2);
    EXPECT_EQ(block.history_at(1), -0.3);
    EXPECT_TRUE(std::isnan(block.history_at(0)));
}

TEST_F(TxFirDcTest, LevelGainScalesBeforeLimiting) {
    const double gains[5] = {1.0, 1.05, 1.06, 1.12, 1.0};
    for (int level = 0; level <= 4; ++level) {
        Start(2, 32, kBitTime, level);
        EXPECT_EQ(block.level_gain, gains[level]) << level;
        Feed({0.3});
        EXPECT_EQ(block.history_at(0), 0.3 * 1.0 * gains[level]) << level;
    }
    Start(5, 32, kBitTime, 3);
    Feed({0.3});  // 0.336 before the row's 0.32 limit
    EXPECT_EQ(block.history_at(0), 0.32);
    block.level = -7;
    ASSERT_TRUE(block.Setup());
    EXPECT_EQ(block.level_gain, 1.0);
}

TEST_F(TxFirDcTest, EveryRowMatchesTheTwoTapModelOnRandomInput) {
    const std::vector<double> x = RandomSignal(2000, 7, 0.7);
    for (int spb : {32, 128, 5}) {
        for (int r = 0; r < 7; ++r) {
            Start(r, spb);
            ASSERT_EQ(Feed(x), Expected(x, block)) << "row " << r << " spb " << spb;
        }
    }
}

TEST_F(TxFirDcTest, InitializeClearsTheHistorySoTheFirstOutputsAreZero) {
    Start(5);
    Feed(RandomSignal(300, 3, 0.7));
    ASSERT_TRUE(block.Initialize());
    const std::vector<double> y = Feed(std::vector<double>(60, 0.1));
    for (int n = 0; n < 52; ++n) EXPECT_EQ(y[n], 0.0) << n;
    EXPECT_EQ(y[52], 0.1);
}

TEST_F(TxFirDcTest, SetupAgainWithTheSameTimingKeepsTheHistory) {
    const std::vector<double> x = RandomSignal(400, 11, 0.7);
    Start(5);
    std::vector<double> y = Feed(std::vector<double>(x.begin(), x.begin() + 200));
    ASSERT_TRUE(Configure(6));  // same samples per bit, new limit and weight
    const std::vector<double> rest = Feed(std::vector<double>(x.begin() + 200, x.end()));
    // The samples already in the history keep row 5's limit.
    std::vector<double> s(x.size());
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double lim = n < 200 ? 0.32 : 0.3;
        s[n] = std::fmax(-lim, std::fmin(lim, x[n]));
    }
    for (std::size_t n = 200; n < x.size(); ++n)
        EXPECT_DOUBLE_EQ(rest[n - 200], s[n - 52] - 0.0666 * s[n - 72]) << n;
}

TEST_F(TxFirDcTest, PostScaleMultipliesThePostTapAndTheSecondWeightStaysOut) {
    block.post_scale = 2;
    block.second_scale = 1000;
    block.row = 5;
    ASSERT_TRUE(block.Setup());
    ASSERT_TRUE(block.Initialize());
    EXPECT_EQ(block.post_weight, -0.25);
    EXPECT_EQ(block.second_weight, 125.0);
    const std::vector<double> y = Feed(std::vector<double>(80, 0.2));
    EXPECT_DOUBLE_EQ(y[79], 0.2 - 0.25 * 0.2);
}

TEST_F(TxFirDcTest, RowsWithoutConstantsAreRefused) {
    for (int row : {-1, 7, 10, 2147483647})
        ExpectRefused(row, 32, kBitTime,
                      "de_code must be 0 to 6, not " + std::to_string(row) + " (tx_fir_dc)");
}

TEST_F(TxFirDcTest, SamplesPerBitOutsideOneTo128IsRefused) {
    for (int spb : {0, -3}) ExpectRefused(5, spb, kBitTime, "needs at least one sample per bit");
    for (int spb : {129, 100000})
        ExpectRefused(5, spb, kBitTime,
                      "The transmitter takes at most 128 samples per bit (its de-emphasis keeps "
                      "four bits of samples), not " +
                          std::to_string(spb) + ": give a larger sample_interval (tx_fir_dc)");
    Start(5, 128);
    Start(5, 1, 1e-9);  // d = 1: N + 2d = 3 < 4
    EXPECT_EQ(block.tap_delay, 1);
}

TEST_F(TxFirDcTest, BitTimeThatIsNotAFinitePositiveNumberIsRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double bt : {0.0, -1e-10, inf, -inf, std::nan("")})
        ExpectRefused(5, 32, bt, "bit_time must be a positive number of seconds");
}

TEST_F(TxFirDcTest, PostTapBeyondFourBitsIsRefusedAndTheLastFittingSpacingWorks) {
    // Row 5 (100 ps) at 32 samples per bit: d = 48 puts the post tap at
    // 32 + 96 = 128, the first sample outside four bits; d = 47 is the last.
    // The message gives the fastest rate for the row: 47 samples of 100 ps
    // each 1/32 bit apart, 14.6875 Gb/s.
    ExpectRefused(5, 32, 32e-10 / 47.5,
                  "de_code 5 puts its post tap 100 ps after the main tap, which at a bit_time of "
                  "6.73684e-11 s is more than the transmitter can hold; at 32 samples per bit "
                  "this de_code runs up to 14.6875 Gb/s (tx_fir_dc)");
    Start(5, 32, 32e-10 / 46.5);
    EXPECT_EQ(block.tap_delay, 47);
    const std::vector<double> x = RandomSignal(600, 5, 0.7);
    EXPECT_EQ(Feed(x), Expected(x, block));
    // A faster bit rate pushes the 160 ps rows out while 105 ps still fits.
    ExpectRefused(1, 32, 1e-10, "de_code 1 puts its post tap 160 ps after the main tap");
    Start(0, 32, 1e-10);
    EXPECT_EQ(block.tap_delay, 34);
    // A tiny bit time gives a spacing far beyond any int.
    ExpectRefused(5, 32, 1e-300, "at a bit_time of 1e-300 s is more than the transmitter");
}

TEST_F(TxFirDcTest, FiringBeforeSetupOrAfterATimingChangeWithoutInitializeRefuses) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(block.Run());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tx_fir_dc::Run called without a successful Setup and Initialize\n");
    Start(5, 32);
    Feed({0.1, 0.2});
    ASSERT_TRUE(Configure(5, 16));  // the history ring was laid out for 32
    testing::internal::CaptureStderr();
    EXPECT_FALSE(block.Run());
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(block.Initialize());
    EXPECT_TRUE(block.Run());
}

TEST_F(TxFirDcTest, SpansGiveTheSingleFiringOutputs) {
    const std::vector<double> x = RandomSignal(700, 4, 0.6);
    Start(0);
    const std::vector<double> once = Feed(x);
    for (std::size_t span : {7u, 64u, 700u}) {
        tx_fir_dc b;
        std::vector<double> in(span), out(span);
        b.Input.Data = in.data();
        b.Input.Capacity = span;
        b.Output.Data = out.data();
        b.Output.Capacity = span;
        b.row = 0;
        b.samples_per_bit = 32;
        b.bit_time = kBitTime;
        ASSERT_TRUE(b.Setup());
        ASSERT_TRUE(b.Initialize());
        std::vector<double> y;
        for (std::size_t i = 0; i < x.size(); i += span) {
            const std::size_t n = std::min(span, x.size() - i);
            std::copy(x.begin() + i, x.begin() + i + n, in.begin());
            ASSERT_EQ(b.RunSpan(n), n);
            y.insert(y.end(), out.begin(), out.begin() + n);
        }
        EXPECT_EQ(y, once) << "spans of " << span;
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(block.RunSpan(2), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tx_fir_dc::RunSpan: 2 firings do not fit the Input and Output ports\n");
}
