#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <limits>

#include "FirHarness.h"
#include "FixedOrderSum.h"
#include "blocks/FIR.h"
#include "tests/support/RandomSignal.h"

using namespace Vantra;

namespace {

// y[n] = sum_k h[k] x[n-k], the textbook single-rate convolution, its
// products added one at a time in tap order.
std::vector<double> Convolve(const std::vector<double>& h, const std::vector<double>& x) {
    std::vector<double> y(x.size(), 0.0);
    for (std::size_t n = 0; n < x.size(); ++n)
        for (std::size_t k = 0; k < h.size() && k <= n; ++k) y[n] += h[k] * x[n - k];
    return y;
}

class FirTest : public testing::Test {
protected:
    FIR<double, 0> fir;
    FirHarness<FIR<double, 0>> h{fir};
    std::vector<double> taps;

    void Use(std::vector<double> t, int m = 1, int l = 1, int p = 0) {
        taps = std::move(t);
        fir.Taps = taps.data();
        fir.NumTaps = static_cast<int>(taps.size());
        fir.Decimation = m;
        fir.Interpolation = l;
        fir.DecimationPhase = p;
        ASSERT_TRUE(h.Start());
    }
};

}  // namespace

TEST_F(FirTest, SingleTapIsAGainAndAUnitTapIsADelay) {
    Use({2.5});
    EXPECT_EQ(h.Feed({1, -2, 4}), (std::vector<double>{2.5, -5, 10}));
    FIR<double, 0> delay;
    FirHarness<FIR<double, 0>> hd(delay);
    std::vector<double> t = {0, 0, 0, 1};
    delay.Taps = t.data();
    delay.NumTaps = 4;
    ASSERT_TRUE(hd.Start());
    EXPECT_EQ(hd.Feed({1, 2, 3, 4, 5, 6}), (std::vector<double>{0, 0, 0, 1, 2, 3}));
}

TEST_F(FirTest, SingleRateMatchesConvolutionOverManyWrapsOfTheHistory) {
    Use(RandomSignal(37, 1));
    std::vector<double> x = RandomSignal(500, 2);
    std::vector<double> y = h.Feed(x), want = Convolve(taps, x);
    for (std::size_t n = 0; n < x.size(); ++n) EXPECT_NEAR(y[n], want[n], 1e-12) << n;
}

TEST_F(FirTest, SetupSizesTheDelayLineAndPhases) {
    Use(std::vector<double>(7, 1.0), 1, 3);
    EXPECT_EQ(fir.Input.Rate, 1u);
    EXPECT_EQ(fir.Output.Rate, 3u);
    EXPECT_EQ(fir.DelayLine.Rate, 1u);
    EXPECT_EQ(fir.DelayLine.WindowSize, 1u + 7 / 3 + 1);
    EXPECT_EQ(fir.DelayLine.Capacity, fir.DelayLine.WindowSize);
    EXPECT_EQ(fir.TapsPerPhase, 3);
}

TEST_F(FirTest, InterpolationByThreeUsesEveryThirdTapPerPhase) {
    // Output t of a firing uses taps t, t+3, t+6: with seven taps phase 0
    // has three products and phases 1 and 2 have two.
    Use({1, 10, 100, 1000, 10000, 100000, 1000000}, 1, 3);
    std::vector<double> y = h.Feed({1, 2});
    EXPECT_EQ(y, (std::vector<double>{1, 10, 100, 2 + 1000, 20 + 10000, 200 + 100000}));
}

TEST_F(FirTest, DecimationByThreeComputesAtThePhase) {
    std::vector<double> x = {1, 2, 3, 4, 5, 6};
    Use({1, 10, 100}, 3, 1, 2);  // output when the third new input arrives
    EXPECT_EQ(h.Feed(x), (std::vector<double>{3 + 20 + 100, 6 + 50 + 400}));

    FIR<double, 0> p0;
    FirHarness<FIR<double, 0>> h0(p0);
    p0.Taps = taps.data();
    p0.NumTaps = 3;
    p0.Decimation = 3;
    ASSERT_TRUE(h0.Start());
    EXPECT_EQ(h0.Feed(x), (std::vector<double>{1, 4 + 30 + 200}));
}

TEST_F(FirTest, MultirateOutputEqualsUpsampleFilterDownsample) {
    const int m = 3, l = 2, p = 1;
    Use(RandomSignal(11, 3), m, l, p);
    std::vector<double> x = RandomSignal(60, 4);
    std::vector<double> up(x.size() * l, 0.0);
    for (std::size_t i = 0; i < x.size(); ++i) up[i * l] = x[i];
    std::vector<double> full = Convolve(taps, up);
    std::vector<double> y = h.Feed(x);
    // Firing f produces the upsampled times f*M*L + P + t*M, t < L, counted
    // from the first new input of the firing.
    ASSERT_EQ(y.size(), x.size() / m * l);
    for (std::size_t f = 0; f < x.size() / m; ++f)
        for (int t = 0; t < l; ++t)
            EXPECT_NEAR(y[f * l + t], full[f * m * l + p + t * m], 1e-15) << f << "," << t;
}

TEST_F(FirTest, ModesAndComplexFiltersAgree) {
    std::vector<double> t = RandomSignal(9, 5), x = RandomSignal(40, 6);
    Use(t);
    FIR<double, 1> other;
    FirHarness<FIR<double, 1>> ho(other);
    other.Taps = t.data();
    other.NumTaps = 9;
    ASSERT_TRUE(ho.Start());
    EXPECT_EQ(h.Feed(x), ho.Feed(x));

    // A complex filter with real taps and input (i * x) gives i * y.
    using C = std::complex<double>;
    FIR<C, 0> cf;
    FirHarness<FIR<C, 0>, C> hc(cf);
    std::vector<C> ct(t.begin(), t.end()), cx;
    for (double v : x) cx.emplace_back(0.0, v);
    cf.Taps = ct.data();
    cf.NumTaps = 9;
    ASSERT_TRUE(hc.Start());
    std::vector<C> cy = hc.Feed(cx);
    std::vector<double> want = Convolve(t, x);
    for (std::size_t n = 0; n < x.size(); ++n) {
        EXPECT_NEAR(cy[n].real(), 0.0, 1e-15);
        EXPECT_NEAR(cy[n].imag(), want[n], 1e-12);
    }
}

TEST_F(FirTest, InitializeAgainClearsTheHistory) {
    Use({1, 1, 1});
    h.Feed({5, 5, 5});
    ASSERT_TRUE(fir.Initialize());
    EXPECT_EQ(h.Feed({1}), (std::vector<double>{1}));
}

namespace {

std::vector<std::uint64_t> Bits(const std::vector<double>& v) {
    std::vector<std::uint64_t> b(v.size());
    std::memcpy(b.data(), v.data(), v.size() * sizeof(double));
    return b;
}

// The models' shape: 384 taps of which only the first ones are not zero.
std::vector<double> TaperedTaps() {
    std::vector<double> t = RandomSignal(129, 7);
    t.resize(384, 0.0);
    return t;
}

}  // namespace

TEST_F(FirTest, SingleRateGivesTheFixedOrderSumHoweverTheSamplesAreSplit) {
    const std::vector<double> taps = TaperedTaps(), x = RandomSignal(5000, 8);
    const std::vector<std::uint64_t> want = Bits(FixedOrderFilter(taps, x));
    struct Split {
        std::size_t span;
        std::vector<std::size_t> pattern;
    };
    for (const Split& s : {Split{1, {1}}, Split{7, {7}}, Split{64, {64}}, Split{1000, {1000}},
                           Split{1000, {1, 999, 64, 7, 300}}, Split{8192, {8192}}}) {
        FIR<double, 0> f;
        FirHarness<FIR<double, 0>> hs(f);
        f.Taps = const_cast<double*>(taps.data());
        f.NumTaps = 384;
        ASSERT_TRUE(hs.Start(s.span));
        EXPECT_EQ(Bits(hs.FeedSpans(x, s.pattern)), want) << "spans of " << s.span;
    }
}

TEST_F(FirTest, ZeroTapsAreSkippedOnlyWhereThatChangesNoBit) {
    // Zero taps at both ends; infinities and NaNs in reach of them must
    // give what the sum over every tap gives (0 * inf is NaN there), finite
    // samples further on must give the sums over the other taps again.
    std::vector<double> taps(40, 0.0);
    for (std::size_t k = 3; k < 20; ++k) taps[k] = 0.1 * static_cast<double>(k) - 0.9;
    std::vector<double> x = RandomSignal(400, 10);
    const double inf = std::numeric_limits<double>::infinity();
    x[50] = inf;
    x[120] = -inf;
    x[200] = std::numeric_limits<double>::quiet_NaN();
    x[399] = inf;
    const std::vector<std::uint64_t> want = Bits(FixedOrderFilter(taps, x));
    for (std::size_t span : {1u, 5u, 64u, 400u}) {
        FIR<double, 0> f;
        FirHarness<FIR<double, 0>> hs(f);
        f.Taps = taps.data();
        f.NumTaps = 40;
        ASSERT_TRUE(hs.Start(span));
        EXPECT_EQ(Bits(hs.FeedSpans(x, {span})), want) << "spans of " << span;
    }
}

TEST_F(FirTest, DelayLineShowsTheNewestInputsAfterEverySpan) {
    Use({1, 2, 3, 4});  // D = 6: offsets 0..4 hold the last five inputs
    FIR<double, 0> f;
    FirHarness<FIR<double, 0>> hs(f);
    f.Taps = taps.data();
    f.NumTaps = 4;
    ASSERT_TRUE(hs.Start(9));
    std::vector<double> x(40);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<double>(i + 1);
    std::size_t fed = 0;
    for (std::size_t span : {3u, 9u, 1u, 9u, 9u, 9u}) {  // slides back on the way
        for (std::size_t k = 0; k < span; ++k) hs.in[k] = x[fed + k];
        ASSERT_EQ(f.RunSpan(span), span);
        fed += span;
        for (std::size_t k = 0; k < 5; ++k) {
            const double want = fed + k >= 5 ? static_cast<double>(fed + k - 4) : 0.0;
            EXPECT_EQ(f.DelayLine.ElementAt(k), want) << fed << " offset " << k;
        }
    }
}

TEST_F(FirTest, MultirateSpansEqualOneFiringAtATime) {
    Use(RandomSignal(11, 3), 3, 2, 1);
    const std::vector<double> x = RandomSignal(90, 4), once = h.Feed(x);
    FIR<double, 0> f;
    FirHarness<FIR<double, 0>> hs(f);
    f.Taps = taps.data();
    f.NumTaps = 11;
    f.Decimation = 3;
    f.Interpolation = 2;
    f.DecimationPhase = 1;
    ASSERT_TRUE(hs.Start(4));
    EXPECT_EQ(hs.FeedSpans(x, {4, 1, 3}), once);
}

TEST_F(FirTest, SpanLongerThanThePortsIsRefused) {
    Use({1, 2});
    testing::internal::CaptureStderr();
    EXPECT_EQ(fir.RunSpan(2), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "FIR::RunSpan: 2 firings do not fit the Input and Output ports\n");
    EXPECT_EQ(fir.RunSpan(0), 0u);
}

TEST(FirSetup, ReportsEveryFailedCheckInOrder) {
    FIR<double, 0> f;
    f.NumTaps = 0;
    f.Decimation = 0;
    f.DecimationPhase = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(f.Setup());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "There must be at least one Tap\n"
              "Decimation must be > 0\n"
              "DecimationPhase must be < Decimation ratio\n");
    EXPECT_EQ(f.TapsPerPhase, 0);
    EXPECT_EQ(f.DelayLine.WindowSize, 1u);
}

TEST(FirSetup, EachCheckHasItsOwnMessage) {
    double tap = 1.0;
    struct Case {
        int m, p, l;
        const char* text;
    };
    for (Case c : {Case{1, 0, 0, "Interpolation must be > 0\n"},
                   Case{2, -1, 1, "DecimationPhase must be >= 0\n"},
                   Case{2, 2, 1, "DecimationPhase must be < Decimation ratio\n"}}) {
        FIR<double, 0> f;
        f.Taps = &tap;
        f.NumTaps = 1;
        f.Decimation = c.m;
        f.DecimationPhase = c.p;
        f.Interpolation = c.l;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(f.Setup());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.text);
    }
}

TEST(FirSetup, RunWithoutSetupOrInitializeRefusesInsteadOfReadingNothing) {
    FIR<double, 0> f;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(f.Run());
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());

    // Parameters changed after Initialize do not reach Run until the next
    // Setup: the history stays the size Setup decided.
    std::vector<double> taps(4, 1.0);
    FirHarness<FIR<double, 0>> h(f);
    f.Taps = taps.data();
    f.NumTaps = 4;
    ASSERT_TRUE(h.Start());
    f.NumTaps = 4000;
    EXPECT_EQ(h.Feed({1, 1, 1, 1, 1}), (std::vector<double>{1, 2, 3, 4, 4}));
    EXPECT_TRUE(f.Finalize());
    EXPECT_EQ(f.DelayLine.Data, nullptr);
}

namespace {

struct FirShape {
    int taps, m, l, p;
};

void Shape(FIR<double, 1>& f, std::vector<double>& taps, FirShape s) {
    taps.assign(static_cast<std::size_t>(s.taps), 0.5);
    f.Taps = taps.data();
    f.NumTaps = s.taps;
    f.Decimation = s.m;
    f.Interpolation = s.l;
    f.DecimationPhase = s.p;
}

}  // namespace

TEST(FirSetup, RunRefusesAShapeThatInitializeDidNotBuild) {
    // Each pair keeps the history length and changes what Run indexes by.
    struct Case {
        FirShape built, next;
    };
    for (Case c : {Case{{4, 2, 1, 0}, {5, 1, 1, 0}},     // multirate to single rate
                   Case{{4, 1, 2, 0}, {5, 1, 2, 0}},     // more taps per phase
                   Case{{4, 3, 1, 0}, {4, 3, 1, 2}},     // another phase
                   Case{{6, 1, 3, 0}, {4, 1, 2, 0}},     // another interpolation
                   Case{{5, 1, 2, 0}, {4, 1, 2, 0}}}) {  // fewer taps
        FIR<double, 1> f;
        FirHarness<FIR<double, 1>> h(f);
        std::vector<double> taps;
        Shape(f, taps, c.built);
        ASSERT_TRUE(h.Start());
        h.Feed(std::vector<double>(3 * h.in.size(), 1.0));

        Shape(f, taps, c.next);
        ASSERT_TRUE(f.Setup());
        ASSERT_EQ(f.DelayLine.WindowSize, f.DelayLine.Capacity);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(f.Run());
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "FIR::Run called without a successful Setup and Initialize\n");
        // A new Initialize builds the new shape, and Run goes on.
        ASSERT_TRUE(h.Start());
        EXPECT_TRUE(f.Run());
    }
}

TEST(FirSetup, RunRefusesAfterAFailedSetup) {
    FIR<double, 1> f;
    FirHarness<FIR<double, 1>> h(f);
    std::vector<double> taps;
    Shape(f, taps, {4, 1, 1, 0});
    ASSERT_TRUE(h.Start());
    f.Interpolation = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(f.Setup());
    EXPECT_FALSE(f.Run());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Interpolation must be > 0\n"
              "FIR::Run called without a successful Setup and Initialize\n");
}
