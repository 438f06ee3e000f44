#include "tools/ami-sim/EyeDiagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "tools/ami-sim/Prbs.h"

using amisim::EyeDiagram;
using amisim::EyeMetrics;

namespace {

class EyeTest : public ::testing::Test {
protected:
    static constexpr int kSpb = 16;
    static constexpr std::size_t kBits = 2000;

    void SetUp() override {
        amisim::Prbs p(7);
        bits.resize(kBits);
        for (auto& b : bits) b = static_cast<std::uint8_t>(p.NextBit());
        for (std::size_t k = 0; k < kBits; ++k) symbol.push_back(bits[k] ? 1.0 : -1.0);
    }

    // value(k, r): the output at sample r of bit k.
    std::vector<double> Waveform(const std::function<double(std::size_t, int)>& value) const {
        std::vector<double> y;
        for (std::size_t k = 0; k < kBits; ++k)
            for (int r = 0; r < kSpb; ++r) y.push_back(value(k, r));
        return y;
    }

    double S(std::size_t k) const { return k < kBits ? symbol[k] : 0.0; }
    // A phase wandering by up to 4 samples over some hundred bits.
    static int Wander(std::size_t k) {
        return static_cast<int>(std::lround(4.0 * std::sin(k / 150.0)));
    }

    EyeMetrics Measure(const std::vector<double>& y, long latency = 0, bool inverted = false,
                       std::size_t firstBit = 8) const {
        EyeDiagram::Layout layout;
        layout.samplesPerBit = kSpb;
        EyeDiagram eye(layout, bits, latency, inverted, firstBit);
        eye.Add(0, y.data(), y.size());
        return eye.Metrics();
    }

    std::vector<std::uint8_t> bits;
    std::vector<double> symbol;
};

}  // namespace

TEST_F(EyeTest, IntersymbolInterferenceSetsTheHeightAndWidth) {
    // Each bit carries a quarter of the previous one: '1' samples are 0.75
    // or 1.25, '0' samples -0.75 or -1.25, so the opening is 1.5 V at every
    // phase of the bit. The width edges fall where the margin to the 0 V
    // threshold, interpolated between the last open and first closed
    // phases, crosses zero: 0.375 samples before the bit (margins 0.75 and
    // -1.25) and 0.5 samples after it (0.75 and -0.75).
    const std::vector<double> y =
        Waveform([&](std::size_t k, int) { return S(k) + 0.25 * (k > 0 ? S(k - 1) : 0.0); });
    const EyeMetrics m = Measure(y);
    ASSERT_TRUE(m.measured);
    EXPECT_TRUE(m.open);
    EXPECT_NEAR(m.height, 1.5, 1e-12);
    EXPECT_NEAR(m.threshold, 0.0, 1e-12);
    EXPECT_NEAR(m.innerOne, 0.75, 1e-12);
    EXPECT_NEAR(m.innerZero, -0.75, 1e-12);
    EXPECT_NEAR(m.levelOne, 1.0, 0.05);
    EXPECT_NEAR(m.width, (23.5 - 7.625) / kSpb, 1e-12);
    EXPECT_NEAR(m.widthLeft, (7.625 + 0.5) / kSpb, 1e-12);
    EXPECT_NEAR(m.widthRight, (23.5 + 0.5) / kSpb, 1e-12);
    // All phases tie; the one nearest the middle of the plot is reported.
    EXPECT_EQ(m.bestIndex, kSpb - 1);
    EXPECT_NEAR(m.bestPosition, (kSpb - 0.5) / kSpb, 1e-12);
}

TEST_F(EyeTest, TimingJitterNarrowsTheWidthByTwiceItsPeak) {
    // Clean +/-1 levels, each transition J samples early or late at random:
    // the eye is open, 2 V high, for spb - 2J phases.
    const int jitter = 3;
    std::mt19937 rng(11);
    std::vector<int> shift(kBits + 1);
    for (int& s : shift) s = (rng() & 1) ? jitter : -jitter;
    const std::vector<double> y = Waveform([&](std::size_t k, int r) {
        // The transition into bit k happens at offset shift[k].
        if (r < shift[k] && k > 0) return S(k - 1);
        if (r >= kSpb + shift[k + 1] && k + 1 < kBits) return S(k + 1);
        return S(k);
    });
    const EyeMetrics m = Measure(y);
    ASSERT_TRUE(m.open);
    EXPECT_NEAR(m.height, 2.0, 1e-12);
    EXPECT_NEAR(m.width, static_cast<double>(kSpb - 2 * jitter) / kSpb, 1e-12);
}

TEST_F(EyeTest, UncorrelatedNoiseReadsAsAClosedEye) {
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 1.0);
    const std::vector<double> y = Waveform([&](std::size_t, int) { return noise(rng); });
    const EyeMetrics m = Measure(y);
    ASSERT_TRUE(m.measured);
    EXPECT_FALSE(m.open);
    EXPECT_EQ(m.height, 0.0);
    EXPECT_EQ(m.width, 0.0);
}

TEST_F(EyeTest, LatencyAndInversionAreFoldedOut) {
    const long delay = 37;
    const std::vector<double> clean =
        Waveform([&](std::size_t k, int) { return S(k) + 0.25 * (k > 0 ? S(k - 1) : 0.0); });
    std::vector<double> y(clean.size(), 0.0);
    for (std::size_t n = delay; n < y.size(); ++n) y[n] = -0.5 * clean[n - delay];
    const EyeMetrics m = Measure(y, delay, /*inverted=*/true);
    ASSERT_TRUE(m.open);
    EXPECT_NEAR(m.height, 0.75, 1e-12);
    EXPECT_EQ(m.bestIndex, kSpb - 1);

    // Folded with the wrong polarity, the same eye is closed.
    EXPECT_FALSE(Measure(y, delay, /*inverted=*/false).open);
}

TEST_F(EyeTest, SettlingBitsAreLeftOut) {
    // Garbage during the first 100 bits does not reach the eye.
    std::vector<double> y = Waveform([&](std::size_t k, int) { return S(k); });
    for (std::size_t n = 0; n < 100 * kSpb; ++n) y[n] = (n % 7) * 3.0 - 9.0;
    const EyeMetrics m = Measure(y, 0, false, 101);
    EXPECT_NEAR(m.height, 2.0, 1e-12);
    EXPECT_EQ(m.bitsFolded, kBits - 101);
}

TEST_F(EyeTest, ChunkedInputGivesTheSameEyeAndTheDensityCountsEveryTrace) {
    const std::vector<double> y =
        Waveform([&](std::size_t k, int r) { return S(k) * std::sin(M_PI * (r + 0.5) / kSpb); });
    EyeDiagram::Layout layout;
    layout.samplesPerBit = kSpb;
    layout.vMin = -1.2;
    layout.vMax = 1.2;
    layout.rows = 50;
    layout.columnsPerSample = 4;
    EyeDiagram whole(layout, bits, 0, false, 10);
    whole.Add(0, y.data(), y.size());
    EyeDiagram pieces(layout, bits, 0, false, 10);
    for (std::size_t pos = 0, n = 1; pos < y.size(); pos += n, n = n * 3 % 1000 + 1)
        pieces.Add(pos, y.data() + pos, std::min(n, y.size() - pos));
    EXPECT_EQ(whole.Density(), pieces.Density());
    EXPECT_EQ(whole.Metrics().height, pieces.Metrics().height);

    // Each trace puts one unit of weight into every column it crosses.
    const int cols = whole.Columns();
    for (int c : {10, cols / 2, cols - 10}) {
        double sum = 0.0;
        for (int r = 0; r < layout.rows; ++r) sum += whole.Density()[r * cols + c];
        EXPECT_NEAR(sum, static_cast<double>(kBits - 10 - 1), 1.5) << "column " << c;
    }
}

TEST_F(EyeTest, NonFiniteSamplesAreCountedAndSkipped) {
    std::vector<double> y = Waveform([&](std::size_t k, int) { return S(k); });
    y[5000] = NAN;
    y[6000] = INFINITY;
    EyeDiagram::Layout layout;
    layout.samplesPerBit = kSpb;
    layout.rows = 20;
    EyeDiagram eye(layout, bits, 0, false, 8);
    eye.Add(0, y.data(), y.size());
    EXPECT_EQ(eye.NonFiniteSamples(), 2u);
    EXPECT_NEAR(eye.Metrics().height, 2.0, 1e-12);
}

TEST_F(EyeTest, NothingFoldedMeansNotMeasured) {
    EyeDiagram::Layout layout;
    layout.samplesPerBit = kSpb;
    EyeDiagram eye(layout, bits, 0, false, 8);
    EXPECT_FALSE(eye.Metrics().measured);
    const double few[3] = {1, 2, 3};
    eye.Add(0, few, 3);
    EXPECT_FALSE(eye.Metrics().measured);
}

TEST_F(EyeTest, FoldedOnTheRecoveredClockTheEyeFollowsAWanderingPhase) {
    // The bits arrive with a phase that wanders by up to 4 samples, a bit
    // one sample shorter or longer where it moves; folded at a fixed
    // latency the eye narrows by the wander, folded on trace starts that
    // follow it only by the one sample of the shorter bits.
    std::vector<long long> starts;
    std::vector<double> y;
    for (std::size_t k = 0; k < kBits; ++k) {
        const int wander = Wander(k);
        const long long begin = static_cast<long long>(y.size());
        for (int r = 0; r < kSpb + (k + 1 < kBits ? Wander(k + 1) - wander : 0); ++r)
            y.push_back(S(k));
        starts.push_back(begin - (kSpb - kSpb / 2));
    }
    EyeDiagram::Layout layout;
    layout.samplesPerBit = kSpb;
    EyeDiagram clocked(layout, bits, starts, false, 8);
    clocked.Add(0, y.data(), y.size());
    const EyeMetrics m = clocked.MetricsAt(kSpb - 0.5);
    ASSERT_TRUE(m.open);
    EXPECT_NEAR(m.width, 1.0 - 1.0 / kSpb, 1e-9);
    EXPECT_NEAR(m.bestPosition, 1.0, 1e-9);
    EyeDiagram fixed(layout, bits, 0, false, 8);
    fixed.Add(0, y.data(), y.size());
    EXPECT_LT(fixed.MetricsAt(kSpb - 0.5).width, 1.0 - 6.0 / kSpb);
}
