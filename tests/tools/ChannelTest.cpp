#include "tools/ami-sim/Channel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

#include "tools/ami-sim/FftConvolver.h"
#include "tools/ami-sim/Latency.h"

using namespace amisim;
using ::testing::HasSubstr;

namespace {

constexpr double kBitTime = 1.666666666666667e-10;
constexpr double kDt = kBitTime / 32;

std::vector<double> DirectConvolution(const std::vector<double>& x, const std::vector<double>& h)
{
    std::vector<double> y(x.size(), 0.0);
    for (std::size_t n = 0; n < x.size(); ++n)
        for (std::size_t k = 0; k < h.size() && k <= n; ++k) y[n] += h[k] * x[n - k];
    return y;
}

double GainDbAt(const std::vector<double>& taps, double f, double dt)
{
    std::complex<double> sum = 0.0;
    for (std::size_t k = 0; k < taps.size(); ++k)
        sum += taps[k] * std::polar(1.0, -2.0 * M_PI * f * static_cast<double>(k) * dt);
    return 20.0 * std::log10(std::abs(sum));
}

std::vector<double> RandomSignal(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> v(n);
    for (double& s : v) s = u(rng);
    return v;
}

}  // namespace

// ---- FftConvolver -------------------------------------------------------

TEST(FftConvolver, MatchesDirectConvolutionAcrossUnevenChunks)
{
    const std::vector<double> h = RandomSignal(700, 1);
    const std::vector<double> x = RandomSignal(20000, 2);
    const std::vector<double> expected = DirectConvolution(x, h);

    FftConvolver conv(h, 100);
    std::vector<double> y(x.size());
    const std::size_t chunks[] = {1, 99, 3000, conv.MaxChunk(), conv.MaxChunk() + 5, 17};
    std::size_t pos = 0, c = 0;
    while (pos < x.size()) {
        const std::size_t n = std::min(chunks[c++ % 6], x.size() - pos);
        conv.Process(x.data() + pos, y.data() + pos, n);
        pos += n;
    }
    for (std::size_t i = 0; i < x.size(); ++i) ASSERT_NEAR(y[i], expected[i], 1e-9) << i;
}

TEST(FftConvolver, WorksInPlaceAndWithASingleTap)
{
    FftConvolver conv({0.5}, 8);
    std::vector<double> x = {1, 2, 3, 4};
    conv.Process(x.data(), x.data(), x.size());
    EXPECT_NEAR(x[0], 0.5, 1e-15);
    EXPECT_NEAR(x[3], 2.0, 1e-15);
}

TEST(FftConvolver, IsCausalNothingComesOutBeforeTheInput)
{
    Channel ch;
    std::string error;
    ASSERT_TRUE(DesignLossyLine(20.0, kBitTime, kDt, ch, error)) << error;
    FftConvolver conv(ch.taps, 4096);
    std::vector<double> x(30000, 0.0), y(30000);
    x[12345] = 1.0;
    conv.Process(x.data(), y.data(), x.size());
    for (std::size_t i = 0; i < 12345; ++i) ASSERT_LT(std::fabs(y[i]), 1e-12) << i;
    EXPECT_NEAR(y[12345], ch.taps[0], 1e-12);
}

TEST(FftConvolver, ResetForgetsEarlierInput)
{
    FftConvolver conv({1.0, 1.0, 1.0}, 4);
    std::vector<double> x = {5, 5, 5}, y(3);
    conv.Process(x.data(), y.data(), 3);
    conv.Reset();
    std::vector<double> z = {1, 0, 0};
    conv.Process(z.data(), y.data(), 3);
    EXPECT_NEAR(y[0], 1.0, 1e-12);
    EXPECT_NEAR(y[2], 1.0, 1e-12);
}

// ---- Built-in lossy line ------------------------------------------------

class LossyLine : public ::testing::TestWithParam<double> {};

TEST_P(LossyLine, HasUnitDcGainAndTheStatedLossAtNyquist)
{
    const double loss = GetParam();
    Channel ch;
    std::string error;
    ASSERT_TRUE(DesignLossyLine(loss, kBitTime, kDt, ch, error)) << error;
    EXPECT_NEAR(DcGain(ch), 1.0, 2e-3);
    EXPECT_NEAR(GainDbAt(ch.taps, 0.5 / kBitTime, kDt), -loss, 0.05);
    EXPECT_NEAR(GainDbAt(ch.taps, 0.25 / kBitTime, kDt),
                -LossyLineLossDb(0.25 / kBitTime, loss, 0.5 / kBitTime), 0.05);
    EXPECT_LE(ch.taps.size(), kMaxChannelTaps);
}

TEST_P(LossyLine, IsCausalWithItsEnergyNearTheStart)
{
    // A minimum-phase response: the bulk of the energy arrives within a few
    // unit intervals, none of it wrapped to the end of the record.
    Channel ch;
    std::string error;
    ASSERT_TRUE(DesignLossyLine(GetParam(), kBitTime, kDt, ch, error)) << error;
    double total = 0.0, early = 0.0;
    for (std::size_t k = 0; k < ch.taps.size(); ++k) {
        total += ch.taps[k] * ch.taps[k];
        if (k < 8 * 32) early += ch.taps[k] * ch.taps[k];
    }
    EXPECT_GT(early / total, 0.95);
    // It dies out within some tens of UI and is cut there.
    const double peak = *std::max_element(ch.taps.begin(), ch.taps.end());
    EXPECT_LT(ch.taps.size(), 100u * 32u);
    EXPECT_LT(std::fabs(ch.taps.back()), 2e-6 * peak);
}

INSTANTIATE_TEST_SUITE_P(Losses, LossyLine, ::testing::Values(3.0, 10.0, 25.0));

TEST(LossyLineDesign, ZeroLossIsAWireAndBadLossIsRefused)
{
    Channel ch;
    std::string error;
    ASSERT_TRUE(DesignLossyLine(0.0, kBitTime, kDt, ch, error));
    EXPECT_EQ(ch.taps, std::vector<double>{1.0});
    EXPECT_FALSE(DesignLossyLine(-1.0, kBitTime, kDt, ch, error));
    EXPECT_FALSE(DesignLossyLine(NAN, kBitTime, kDt, ch, error));
    EXPECT_THAT(error, HasSubstr("between 0 and 100 dB"));
    EXPECT_FALSE(DesignLossyLine(10.0, kBitTime, 0.0, ch, error));
}

// ---- Tabulated responses ------------------------------------------------

TEST(TabulatedChannel, ImpulseResponseKeepsItsArea)
{
    // h(t) = exp(-t/tau)/tau, area 1, on a coarse 2 ps grid over 30 tau.
    const double tau = 20e-12;
    TimeValueTable t;
    for (int k = 0; k <= 300; ++k) {
        t.time.push_back(k * 2e-12);
        t.value.push_back(std::exp(-k * 2e-12 / tau) / tau);
    }
    Channel ch;
    std::string error;
    ASSERT_TRUE(ChannelFromTable(t, ResponseKind::Impulse, kDt, ch, error)) << error;
    EXPECT_NEAR(DcGain(ch), 1.0, 0.01);
    EXPECT_NEAR(ch.taps[0], 0.5 * kDt / tau, 1e-9);  // the jump at t = 0 counts half
}

TEST(TabulatedChannel, LoneFirstSampleIsAWholeImpulse)
{
    // A discrete unit impulse on the simulation grid passes unchanged; a
    // first row followed by one of the other sign is no jump either.
    const std::pair<double, double> starts[] = {{0.0, 1.0}, {-0.5, 1.0}};
    for (const auto& s : starts) {
        TimeValueTable t{{0, kDt, 2 * kDt, 3 * kDt}, {1.0 / kDt, s.first / kDt, 0, 0}};
        Channel ch;
        std::string error;
        ASSERT_TRUE(ChannelFromTable(t, ResponseKind::Impulse, kDt, ch, error)) << error;
        EXPECT_NEAR(ch.taps[0], 1.0, 1e-9);
        EXPECT_NEAR(DcGain(ch), s.second + s.first, 1e-9);
    }
}

TEST(TabulatedChannel, StepResponseGainIsItsFinalValue)
{
    TimeValueTable t;
    for (int k = 0; k <= 200; ++k) {
        const double time = k * 1e-12;
        t.time.push_back(time + 50e-12);  // a leading delay is dropped
        t.value.push_back(0.8 * (1.0 - std::exp(-time / 15e-12)));
    }
    Channel ch;
    std::string error;
    ASSERT_TRUE(ChannelFromTable(t, ResponseKind::Step, kDt, ch, error)) << error;
    EXPECT_NEAR(DcGain(ch), t.value.back(), 1e-12);
    EXPECT_EQ(ch.taps[0], 0.0);
    EXPECT_GT(ch.taps[1], ch.taps[10]);  // a decaying derivative
    // The running sum of the taps is the step response at the sample times.
    double sum = 0.0;
    for (int k = 0; k <= 5; ++k) sum += ch.taps[static_cast<std::size_t>(k)];
    EXPECT_NEAR(sum, 0.8 * (1.0 - std::exp(-5 * kDt / 15e-12)), 2e-3);
}

TEST(TabulatedChannel, RefusesTooShortAndTooLongResponses)
{
    Channel ch;
    std::string error;
    TimeValueTable shortTable{{0, 1e-12, 2e-12}, {0, 1, 0}};
    EXPECT_FALSE(ChannelFromTable(shortTable, ResponseKind::Impulse, kDt, ch, error));
    EXPECT_THAT(error, HasSubstr("at least 4 rows"));

    TimeValueTable longTable{{0, 1e-12, 2e-12, 1.0}, {0, 1, 0, 0}};  // one second
    EXPECT_FALSE(ChannelFromTable(longTable, ResponseKind::Impulse, kDt, ch, error));
    EXPECT_THAT(error, HasSubstr("spans 1 s"));
}

// ---- Latency ------------------------------------------------------------

TEST(Latency, FindsTheDelayAndPolarityOfADelayedFilteredCopy)
{
    const std::size_t spb = 16, bits = 600, delay = 157;
    std::mt19937 rng(3);
    std::vector<double> x(bits * spb);
    for (std::size_t b = 0; b < bits; ++b) {
        const double v = (rng() & 1) ? 0.5 : -0.5;
        for (std::size_t i = 0; i < spb; ++i) x[b * spb + i] = v;
    }
    for (const double sign : {1.0, -1.0}) {
        std::vector<double> y(x.size(), 0.0);
        for (std::size_t n = delay + 1; n < x.size(); ++n)
            y[n] = sign * (0.6 * x[n - delay] + 0.2 * x[n - delay + 1] + 0.2 * x[n - delay - 1]);
        const std::size_t window = 400 * spb, maxLag = 1000;
        const LatencyEstimate e = EstimateLatency(x.data(), y.data(), window, maxLag);
        EXPECT_EQ(e.lag, static_cast<long>(delay));
        EXPECT_EQ(e.inverted, sign < 0);
        EXPECT_NEAR(std::fabs(e.correlation), 1.0, 0.05);
    }
}
