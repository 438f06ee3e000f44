// The stimulus's edges: jitter moves them by fractions of a sample, each
// sample the mean of the symbols over its interval.
#include "tools/ami-sim/Stimulus.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace amisim;

namespace {

LinkPlan Plan() {
    LinkPlan p;
    p.bitTime = 1e-10;
    p.samplesPerBit = 10;
    p.sampleInterval = 1e-11;
    p.bits = 4000;
    p.prbsOrder = 7;
    p.seed = 1;
    p.amplitude = 0.5;
    return p;
}

std::vector<double> Wave(const Stimulus& s, std::size_t n) {
    std::vector<double> y(n);
    s.Fill(0, n, y.data());
    return y;
}

}  // namespace

TEST(Stimulus, DutyCycleDistortionMovesRisingEdgesLateAndFallingEdgesEarly) {
    LinkPlan p = Plan();
    p.impairments.txDcd.value = 0.5e-11;  // half a sample each way
    Stimulus s;
    MakeStimulus(p, s);
    ASSERT_TRUE(s.Jittered());
    const std::vector<double> y = Wave(s, p.bits * 10);
    const auto& bits = s.Bits();
    for (std::size_t k = 1; k < 200; ++k) {
        if (bits[k] == bits[k - 1]) continue;
        const bool rising = bits[k] != 0;
        EXPECT_DOUBLE_EQ(s.Edge(k), k * 10.0 + (rising ? 0.25 : -0.25)) << k;
        // The sample holding the edge is the mean of the two levels over it.
        const double expected = rising ? -0.5 * 0.25 + 0.5 * 0.75 : 0.5 * 0.75 - 0.5 * 0.25;
        const std::size_t at = rising ? k * 10 : k * 10 - 1;
        EXPECT_NEAR(y[at], expected, 1e-12) << k;
    }
}

TEST(Stimulus, DualDiracAndSinusoidalJitterStayWithinTheirPeaks) {
    LinkPlan p = Plan();
    p.impairments.txDj.value = 3e-11;  // +/- 1.5 samples
    p.impairments.txSj.value = 1e-11;  // +/- 1 sample
    p.impairments.txSjFrequency.value = 1e8;
    Stimulus s;
    MakeStimulus(p, s);
    double low = 0, high = 0;
    for (std::size_t k = 1; k < p.bits; ++k) {
        const double shift = s.Edge(k) - k * 10.0;
        low = std::min(low, shift);
        high = std::max(high, shift);
        EXPECT_GE(s.Edge(k), s.Edge(k - 1));
    }
    EXPECT_NEAR(low, -2.5, 0.01);
    EXPECT_NEAR(high, 2.5, 0.01);

    // The same seed draws the same edges; the waveform pieces join up.
    Stimulus again;
    MakeStimulus(p, again);
    EXPECT_EQ(Wave(s, 5000), Wave(again, 5000));
    std::vector<double> pieces(5000);
    for (std::size_t at = 0, n = 7; at < pieces.size(); at += n, n = n * 3 % 500 + 1)
        s.Fill(at, std::min(n, pieces.size() - at), pieces.data() + at);
    EXPECT_EQ(pieces, Wave(s, 5000));
}

TEST(Stimulus, WithoutJitterSymbolsFillWholeUnitIntervals) {
    Stimulus s;
    MakeStimulus(Plan(), s);
    EXPECT_FALSE(s.Jittered());
    const std::vector<double> y = Wave(s, 1000);
    for (std::size_t n = 0; n < y.size(); ++n) EXPECT_EQ(y[n], s.Bits()[n / 10] ? 0.5 : -0.5);
}
