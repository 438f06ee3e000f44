#include "tools/ami-sim/LinkStatistics.h"

#include <algorithm>
#include <cmath>

#include "tools/ami-sim/Prbs.h"

namespace amisim {

namespace {

// Histogram bins over the eye plot's voltage range, for the bit error
// ratio and the contour.
constexpr int kHistogramBins = 512;

CountedDecisions Count(const Sampler& sampler, const Stimulus& stimulus, double threshold,
                       double sensitivity) {
    CountedDecisions c;
    const std::vector<double>& values = sampler.Values();
    const std::vector<std::uint8_t>& bits = stimulus.Bits();
    const bool inverted = sampler.Estimate().inverted;
    for (std::size_t k = 0; k < values.size() && k < bits.size(); ++k) {
        const double v = values[k];
        if (!std::isfinite(v)) continue;
        const bool one = (bits[k] != 0) != inverted;
        ++c.bits;
        if (one ? !(v > threshold + sensitivity) : !(v < threshold - sensitivity)) ++c.errors;
    }
    c.ber = c.bits > 0 ? static_cast<double>(c.errors) / static_cast<double>(c.bits) : 0.0;
    return c;
}

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
    eye_ = std::make_unique<EyeDiagram>(layout, stimulus.Bits(), sampler.TraceStarts(),
                                        sampler.Estimate().inverted, window.ignoreBits);
}

void LinkStatistics::Fold(Sampler& sampler) {
    const std::size_t end = sampler.Foldable();
    if (end <= folded_) return;
    const std::size_t from = std::max(folded_, sampler.Kept());
    eye_->Add(from, sampler.Samples() + (from - sampler.Kept()), end - from);
    folded_ = end;
    sampler.Release(folded_);
}

void LinkStatistics::Finish(const LinkPlan& plan, const SamplingWindow& window,
                            const Stimulus& stimulus, const Sampler& sampler) {
    const double position = sampler.Report().position;
    metrics_ = eye_->MetricsAt(position);
    const Impairments& m = plan.impairments;
    const double dt = plan.sampleInterval;
    inputs_.threshold = metrics_.threshold;
    inputs_.noise = m.rxNoise.value;
    inputs_.sensitivity = m.rxSensitivity.value;
    inputs_.jitter = SamplerJitter::From(std::hypot(m.txRj.value, m.rxRj.value) / dt,
                                         m.rxDj.value / dt, m.rxDcd.value / dt, m.rxSj.value / dt);
    inputs_.targetBer = kTargetBer;
    tub_ = ComputeBathtub(*eye_, metrics_, position, inputs_);
    contour_ = ComputeContour(*eye_, position, inputs_);
    // The contour's voltages are bin edges: never more open than the
    // samples themselves.
    contour_.heightAtTarget =
        metrics_.open ? std::min(contour_.heightAtTarget, metrics_.height) : 0.0;
    counted_ = Count(sampler, stimulus, inputs_.threshold, inputs_.sensitivity);
    counted_.expected = tub_.berAtSampling * static_cast<double>(counted_.bits);
    const std::size_t period = static_cast<std::size_t>(
        std::min<std::uint64_t>((std::uint64_t{1} << plan.prbsOrder) - 1, std::uint64_t{1} << 40));
    patternCovered_ = plan.bits >= window.ignoreBits + period;
}

}  // namespace amisim
