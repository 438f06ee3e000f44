#include "tools/ami-sim/FrequencyDomainChannel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace amisim;

namespace {

constexpr double kBitTime = 1.666666666666667e-10;
constexpr double kDt = kBitTime / 32;

// A channel known in closed form: its transfer function and step response.
struct Analytic {
    const char* what;
    double fMax;  // sampled every 10 MHz from 10 MHz to here
    std::function<std::complex<double>(double)> h;
    std::function<double(double)> step;
    double delay;     // to half the final value
    double jumpTime;  // the step response is compared away from here
};

const double kTau = 0.5e-9;     // flight delay
const double kFc = 2e9;         // RC corner
const double kF0 = 10e9;        // Gaussian width

std::complex<double> Delay(double f) { return std::polar(1.0, -2 * M_PI * f * kTau); }

const Analytic kChannels[] = {
    {"RC low pass with flight delay", 100e9,
     [](double f) { return Delay(f) / std::complex<double>(1.0, f / kFc); },
     [](double t) { return t < kTau ? 0.0 : 1.0 - std::exp(-2 * M_PI * kFc * (t - kTau)); },
     kTau + std::log(2.0) / (2 * M_PI * kFc), kTau},
    {"Gaussian pulse with flight delay, 0.7 gain", 50e9,
     [](double f) { return 0.7 * std::exp(-(f / kF0) * (f / kF0)) * Delay(f); },
     [](double t) { return 0.7 * 0.5 * std::erfc(-M_PI * kF0 * (t - kTau)); }, kTau, -1.0},
};

ThroughResponse Sampled(const Analytic& a)
{
    ThroughResponse t;
    for (double f = 10e6; f <= a.fMax * (1 + 1e-12); f += 10e6) {
        t.frequency.push_back(f);
        t.h.push_back(a.h(f));
    }
    t.label = a.what;
    return t;
}

}  // namespace

TEST(FrequencyDomainChannel, ReproducesAnalyticChannels)
{
    for (const Analytic& a : kChannels) {
        SCOPED_TRACE(a.what);
        Channel ch;
        std::string error;
        ASSERT_TRUE(ChannelFromThrough(Sampled(a), kDt, ch, error)) << error;
        const ChannelFigures fig = MeasureChannel(ch, kDt, kBitTime);
        EXPECT_NEAR(fig.dcGain, a.step(1.0), 2e-3);
        EXPECT_NEAR(fig.delay, a.delay, 1e-12);
        EXPECT_NEAR(fig.lossDbAtNyquist, -20 * std::log10(std::abs(a.h(0.5 / kBitTime))), 0.02);

        // The step response, sample by sample, away from a jump the band
        // limit must round off; nothing arrives before the flight delay.
        double step = 0.0, worst = 0.0;
        for (std::size_t k = 0; k < ch.taps.size() && k * kDt < 20e-9; ++k) {
            step += ch.taps[k];
            const double t = static_cast<double>(k) * kDt;
            if (std::fabs(t - a.jumpTime) > 30e-12) worst = std::max(worst, std::fabs(step - a.step(t)));
            if (t < kTau - 0.2e-9) {
                ASSERT_LT(std::fabs(ch.taps[k]), 1e-6) << t;
            }
        }
        EXPECT_LT(worst, 0.01);
    }
}

TEST(FrequencyDomainChannel, RefusesTooFewFrequencies)
{
    ThroughResponse t;
    t.frequency = {1e9};
    t.h = {0.5};
    Channel ch;
    std::string error;
    EXPECT_FALSE(ChannelFromThrough(t, kDt, ch, error));
    EXPECT_THAT(error, ::testing::HasSubstr("at least 2 frequencies"));
}
