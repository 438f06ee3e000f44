// Bathtub: the bit error ratio of the folded eye against the sampling
// phase, and the eye's opening at a target ratio, by a statistical method
// that never contradicts the counts.
//
// 1. At each position p of the eye, the folded samples of the '1' traces
//    and of the '0' traces (their histograms, each bin at the mean of its
//    values) are compared with the decision threshold through the
//    receiver's input-referred noise: a '1' sample at v errs with
//    probability Q((v - th - sens) / sigma), a '0' sample with
//    Q((th - sens - v) / sigma), sens being the decision's sensitivity.
//    Without noise these are 0 or 1: the ratio is the counted share of the
//    samples on the wrong side, exactly what the folded bits show.
// 2. Between positions the ratio is interpolated on the log scale; where
//    one side has none (no noise: every sample clear of the threshold), it
//    steps at the point where the eye's margin, interpolated linearly, runs
//    out: the same edge the measured eye width has.
// 3. The sampling clock's jitter spreads the sampling instant: the ratio
//    at phase x is the mean of the ratio at x - t over its distribution
//    (Gaussian Rj of the transmitter and the receiver together; dual-Dirac
//    Dj and DCD; the arcsine distribution of Sj), computed on a grid of
//    1/512 UI.
//
// With no noise and no jitter the curve is the counted ratio and the width
// at any target below one error in the bits folded is the measured width;
// with them, it falls below what the counts can show (one error in the
// bits folded) along the distributions' tails. The width at the target is
// the span around the sampling instant where the ratio stays at or below
// it, never wider than the measured opening.
#pragma once

#include <vector>

#include "tools/ami-sim/EyeDiagram.h"

namespace amisim {

// The sampling clock's jitter, in samples: a Gaussian part and a discrete
// part (offsets with weights summing to 1).
struct SamplerJitter {
    double rms = 0.0;
    std::vector<double> offsets{0.0};
    std::vector<double> weights{1.0};

    // Rj rms, Dj and DCD peak to peak (dual-Diracs), Sj amplitude (arcsine,
    // in 32 equal parts), all in samples.
    static SamplerJitter From(double rj, double dj, double dcd, double sj);
    bool None() const { return rms == 0.0 && offsets.size() == 1 && offsets[0] == 0.0; }
};

struct BerInputs {
    double threshold = 0.0;    // volts
    double noise = 0.0;        // rms volts at the sampler
    double sensitivity = 0.0;  // volts
    SamplerJitter jitter;
    double targetBer = 1e-12;
};

struct BathtubCurve {
    std::vector<double> positionUi;  // on the grid, as on the eye plot
    std::vector<double> ber;
    double threshold = 0.0;
    double targetBer = 1e-12;
    double countable = 0.0;          // one error in the bits folded: below it, extrapolated
    bool open = false;               // BER <= target at the sampling instant
    double width = 0.0;              // unit intervals with BER <= target
    double left = 0.0, right = 0.0;  // its edges, unit intervals
    double samplingUi = 0.0;         // the sampling instant on the plot
    double berAtSampling = 0.5;
};

// The eye needs histograms (Layout::histogramBins > 0); `metrics` are its
// metrics at `samplingPosition` (positions, fractional).
BathtubCurve ComputeBathtub(const EyeDiagram& eye, const EyeMetrics& metrics,
                            double samplingPosition, const BerInputs& inputs);

// The eye's opening at the target ratio: at each position the lowest and
// highest threshold with the ratio at or below the target (not numbers
// where there is none), and the height at the sampling position.
struct EyeContour {
    std::vector<double> positionUi, low, high;
    double heightAtTarget = 0.0;
    double lowAtSampling = 0.0, highAtSampling = 0.0;
};

EyeContour ComputeContour(const EyeDiagram& eye, double samplingPosition, const BerInputs& inputs);

// The bit error ratio at position p (a whole position) and threshold th,
// before the clock's jitter.
double PositionBer(const EyeDiagram& eye, int p, double threshold, double noise,
                   double sensitivity);

}  // namespace amisim
