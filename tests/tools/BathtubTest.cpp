// The statistical bit error ratio pinned against closed forms: on an ideal
// NRZ eye, Gaussian noise gives Q(level / sigma) at the centre, random
// jitter narrows the 1e-12 width by the Q-scale multiple of its rms, a
// dual-Dirac by its peak to peak; without either the width is the measured
// one.
#include "tools/ami-sim/Bathtub.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tools/ami-sim/Prbs.h"

using namespace amisim;

namespace {

double Q(double z) {
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}

// Q^-1 by bisection.
double InverseQ(double p) {
    double lo = 0.0, hi = 40.0;
    for (int i = 0; i < 200; ++i) (Q(0.5 * (lo + hi)) > p ? lo : hi) = 0.5 * (lo + hi);
    return 0.5 * (lo + hi);
}

class BathtubTest : public ::testing::Test {
protected:
    static constexpr int kSpb = 32;
    static constexpr std::size_t kBits = 20000;

    void SetUp() override {
        Prbs p(7);
        bits.resize(kBits);
        for (auto& b : bits) b = static_cast<std::uint8_t>(p.NextBit());
        for (std::size_t k = 1; k < kBits; ++k) transitions += bits[k] != bits[k - 1];
    }

    // +/-0.5 V NRZ; `edge(k)` moves the edge into bit k by whole samples.
    void Fold(int (*edge)(std::size_t) = nullptr) {
        std::vector<double> y;
        for (std::size_t k = 0; k < kBits; ++k)
            for (int r = 0; r < kSpb; ++r) {
                const int shift = edge ? edge(k) : 0;
                const std::size_t b = r < shift && k > 0 ? k - 1 : k;
                y.push_back(bits[b] ? 0.5 : -0.5);
            }
        EyeDiagram::Layout layout;
        layout.samplesPerBit = kSpb;
        layout.vMin = -0.8;
        layout.vMax = 0.8;
        layout.histogramBins = 512;
        eye = std::make_unique<EyeDiagram>(layout, bits, 0, false, 10);
        eye->Add(0, y.data(), y.size());
        centre = kSpb - 0.5;  // the middle of the plot
        metrics = eye->MetricsAt(centre);
    }

    BathtubCurve Tub(const BerInputs& in) const {
        return ComputeBathtub(*eye, metrics, centre, in);
    }
    double Rho() const { return static_cast<double>(transitions) / kBits; }

    std::vector<std::uint8_t> bits;
    std::size_t transitions = 0;
    std::unique_ptr<EyeDiagram> eye;
    double centre = 0.0;
    EyeMetrics metrics;
};

}  // namespace

TEST_F(BathtubTest, WithoutNoiseOrJitterTheCurveIsTheCountAndTheWidthTheMeasuredOne) {
    // Edges 0 to 5 samples late: an eye 27 samples wide, counted exactly.
    Fold([](std::size_t k) { return static_cast<int>(k * 7 % 6); });
    ASSERT_TRUE(metrics.open);
    const BathtubCurve c = Tub(BerInputs{});
    ASSERT_TRUE(c.open);
    EXPECT_NEAR(c.width, metrics.width, 1e-9);
    EXPECT_NEAR(c.left, metrics.widthLeft, 1e-9);
    EXPECT_EQ(c.berAtSampling, 0.0);
    // Half a sample outside the opening the ratio is what the folded bits
    // count there: the share of late edges that reach it.
    const double outside = PositionBer(*eye, kSpb / 2 + 4, 0.0, 0.0, 0.0);
    EXPECT_GT(outside, 0.0);
    EXPECT_LT(outside, Rho());
}

TEST_F(BathtubTest, GaussianNoiseAtTheCentreIsTheQFunction) {
    Fold();
    for (double sigma : {0.1, 0.0625, 0.125}) {
        BerInputs in;
        in.noise = sigma;
        EXPECT_NEAR(Tub(in).berAtSampling / Q(0.5 / sigma), 1.0, 1e-9) << sigma;
    }
}

TEST_F(BathtubTest, RandomJitterNarrowsTheWidthByItsQScaleMultiple) {
    // 2 ps rms at 6 Gb/s. Near an edge the ratio is the share of bits with
    // a transition there times Q(distance / rms).
    Fold();
    const double bitTime = 1.666666666666667e-10, rj = 2e-12;
    BerInputs in;
    in.jitter = SamplerJitter::From(rj / (bitTime / kSpb), 0.0, 0.0, 0.0);
    const BathtubCurve c = Tub(in);
    ASSERT_TRUE(c.open);
    const double exact = 1.0 - 2.0 * (rj / bitTime) * InverseQ(1e-12 / Rho());
    const double dualDirac = 1.0 - 2.0 * (rj / bitTime) * 7.034;  // Q(7.034) = 1e-12
    EXPECT_NEAR(c.width, exact, 0.005);
    EXPECT_NEAR(c.width / dualDirac, 1.0, 0.03);
    EXPECT_LT(c.width, metrics.width);
}

TEST_F(BathtubTest, DualDiracJitterNarrowsTheWidthByItsPeakToPeak) {
    Fold();
    BerInputs in;
    in.jitter = SamplerJitter::From(0.0, 0.125 * kSpb, 0.0, 0.0);
    EXPECT_NEAR(Tub(in).width, 1.0 - 0.125, 1e-6);
    in.jitter = SamplerJitter::From(0.0, 0.0, 0.0, 0.0625 * kSpb);  // Sj: 2 x amplitude
    EXPECT_NEAR(Tub(in).width, 1.0 - 0.125, 0.01);
}

TEST_F(BathtubTest, ContourHeightIsTheLevelsLessTheirNoiseTails) {
    Fold();
    BerInputs in;
    in.noise = 0.05;
    const EyeContour c = ComputeContour(*eye, centre, in);
    // Half the bits are '1': each level's tail carries 2e-12.
    const double expected = 1.0 - 2.0 * 0.05 * InverseQ(2e-12);
    EXPECT_NEAR(c.heightAtTarget / expected, 1.0, 0.02);
    // Without noise the contour is the eye's own opening.
    const EyeContour clean = ComputeContour(*eye, centre, BerInputs{});
    EXPECT_NEAR(clean.heightAtTarget, 1.0, 2 * eye->BinWidth());
}
