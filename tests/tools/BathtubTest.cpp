#include "tools/ami-sim/Bathtub.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace amisim;

namespace {

double Phi(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

// Expected counts of `total` Gaussian samples (mean, sigma) in bins of
// width w from vMin.
std::vector<std::uint32_t> GaussianHistogram(double mean, double sigma, double total, double vMin,
                                             double w, int bins)
{
    std::vector<std::uint32_t> h(static_cast<std::size_t>(bins));
    for (int b = 0; b < bins; ++b) {
        const double lo = vMin + b * w;
        h[static_cast<std::size_t>(b)] = static_cast<std::uint32_t>(
            std::lround(total * (Phi((lo + w - mean) / sigma) - Phi((lo - mean) / sigma))));
    }
    return h;
}

}  // namespace

TEST(Bathtub, GaussianTailIsExtrapolatedFromEitherSide)
{
    // A '1' level at 0.4 V, sigma 50 mV: below 0 V lies Phi(-8) = 6.2e-16,
    // far beyond what 1e7 samples show. The '0' level mirrors it.
    const double w = 0.005, vMin = -1.0;
    const int bins = 400;
    const auto one = GaussianHistogram(0.4, 0.05, 1e7, vMin, w, bins);
    const auto zero = GaussianHistogram(-0.4, 0.05, 1e7, vMin, w, bins);
    const struct {
        const std::vector<std::uint32_t>& h;
        bool low;
        double threshold, expected;
    } cases[] = {{one, true, 0.0, Phi(-8)},        {zero, false, 0.0, Phi(-8)},
                 {one, true, 0.2, Phi(-4)},        {one, true, 0.35, Phi(-1)},
                 {zero, false, -0.3, Phi(-2)}};
    for (const auto& c : cases) {
        const double got = TailFraction(c.h, vMin, w, c.threshold, c.low);
        EXPECT_NEAR(std::log10(got), std::log10(c.expected), 0.3) << c.threshold;
    }
}

TEST(Bathtub, CleanLevelHasNoTailAndCountsOnlyWhatCrosses)
{
    std::vector<std::uint32_t> h(100, 0);
    h[80] = 1000;  // every sample in one bin
    EXPECT_EQ(TailFraction(h, -1.0, 0.02, 0.0, true), 0.0);
    EXPECT_NEAR(TailFraction(h, -1.0, 0.02, 0.7, true), 1.0, 1e-12);
    EXPECT_EQ(TailFraction(std::vector<std::uint32_t>(100, 0), -1.0, 0.02, 0.0, true), 0.0);
}

TEST(Bathtub, NoisyEyeIsNarrowerAtLowBerThanItsMeasuredWidth)
{
    // NRZ +/-0.5 V with linear edges over a quarter UI and Gaussian noise.
    const int spb = 16;
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0.0, 0.03);
    std::vector<std::uint8_t> bits(4000);
    for (auto& b : bits) b = static_cast<std::uint8_t>(rng() & 1);
    std::vector<double> y(bits.size() * spb);
    for (std::size_t n = 0; n < y.size(); ++n) {
        const std::size_t k = n / spb;
        const double now = bits[k] ? 0.5 : -0.5;
        const double before = k > 0 ? (bits[k - 1] ? 0.5 : -0.5) : now;
        const double a = std::min(1.0, static_cast<double>(n % spb) / (spb / 4.0));
        y[n] = before + a * (now - before) + noise(rng);
    }
    EyeDiagram::Layout layout;
    layout.samplesPerBit = spb;
    layout.vMin = -0.8;
    layout.vMax = 0.8;
    layout.histogramBins = 320;
    EyeDiagram eye(layout, bits, 0, false, 10);
    eye.Add(0, y.data(), y.size());
    const EyeMetrics m = eye.Metrics();
    const BathtubCurve c = ComputeBathtub(eye, m, 1e-12);
    ASSERT_TRUE(c.open);
    EXPECT_GT(c.width, 0.2);
    EXPECT_LT(c.width, m.width);
    EXPECT_LT(c.left, m.bestPosition);
    EXPECT_GT(c.right, m.bestPosition);
    EXPECT_GT(*std::max_element(c.ber.begin(), c.ber.end()), 0.1);  // at the crossings
    EXPECT_LT(c.ber[static_cast<std::size_t>(m.bestIndex)], 1e-12);
}
