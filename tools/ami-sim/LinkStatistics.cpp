#include "tools/ami-sim/LinkStatistics.h"

#include <algorithm>
#include <cmath>

namespace amisim {

namespace {

// Histogram bins over the eye plot's voltage range, for the bathtub curve.
constexpr int kHistogramBins = 400;
constexpr double kTargetBer = 1e-12;

}  // namespace

void LinkStatistics::Start(const LinkPlan& plan, const SamplingWindow& window,
                           const Stimulus& stimulus, const Sampler& sampler) {
    double lo = sampler.Low(), hi = sampler.High();
    if (!(hi >= lo)) lo = hi = 0.0;
    const double pad = hi > lo ? 0.12 * (hi - lo) : 0.1 * std::fabs(hi) + 1e-3;
    EyeDiagram::Layout layout;
    layout.samplesPerBit = plan.samplesPerBit;
    layout.vMin = lo - pad;
    layout.vMax = hi + pad;
    layout.rows = 240;
    layout.columnsPerSample = std::max(1, 256 / (2 * plan.samplesPerBit));
    layout.histogramBins = kHistogramBins;
    eye_ = std::make_unique<EyeDiagram>(layout, stimulus.Bits(), sampler.Latency(),
                                        sampler.Estimate().inverted, window.ignoreBits);
    const std::vector<double>& buffered = sampler.Buffered();
    eye_->Add(0, buffered.data(), buffered.size());
}

void LinkStatistics::Fold(std::size_t firstSample, const double* y, std::size_t n) {
    eye_->Add(firstSample, y, n);
}

void LinkStatistics::Finish() {
    metrics_ = eye_->Metrics();
    tub_ = ComputeBathtub(*eye_, metrics_, kTargetBer);
}

}  // namespace amisim
