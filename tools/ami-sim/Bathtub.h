// Bathtub: bit error ratio against sampling phase from the folded eye, at
// the eye's decision threshold.
//
// At each position the '1' traces err below the threshold and the '0'
// traces above it. The measured histogram gives that fraction where enough
// samples cross (kMeasuredCrossings or more); beyond, a Gaussian tail
// fitted to the level's inner edge extrapolates it: the empirical
// cumulative fraction F at the bin edges on the inner side, for F up to
// kTailFraction, is fitted by least squares on the Q scale
// (Phi^-1(F) linear in the voltage), and the fitted Phi gives the fraction
// beyond the threshold. An edge spread over fewer than three bins (a clean,
// noiseless level) has no tail to fit; its measured fraction, zero when no
// sample crosses, stands. The bit error ratio is the two levels' fractions
// weighted by their bit counts.
//
// The width at the target BER is never wider than the measured opening
// (EyeMetrics::widthLeft .. widthRight): where samples were seen across the
// threshold the BER is at least one in the bits folded, far above any
// useful target, whatever a fitted tail says.
#pragma once

#include <vector>

#include "tools/ami-sim/EyeDiagram.h"

namespace amisim {

struct BathtubCurve {
    std::vector<double> positionUi;  // per eye position, as on the eye plot
    std::vector<double> ber;         // 0.5 where a level has no traces
    double threshold = 0.0;
    double targetBer = 1e-12;
    bool open = false;               // BER <= target at the best position
    double width = 0.0;              // unit intervals with BER <= target
    double left = 0.0, right = 0.0;  // its edges, unit intervals
};

constexpr int kMeasuredCrossings = 20;
constexpr double kTailFraction = 0.15;

// The eye needs histograms (Layout::histogramBins > 0); `metrics` are its
// Metrics() (threshold, best position and measured opening).
BathtubCurve ComputeBathtub(const EyeDiagram& eye, const EyeMetrics& metrics, double targetBer);

// Fraction of a level's samples beyond the threshold (below it for the
// '1' level: innerIsLow), by the rule above. counts: its histogram over
// bins of `binWidth` from `vMin`.
double TailFraction(const std::vector<std::uint32_t>& counts, double vMin, double binWidth,
                    double threshold, bool innerIsLow);

}  // namespace amisim
