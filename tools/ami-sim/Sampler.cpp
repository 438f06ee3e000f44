#include "tools/ami-sim/Sampler.h"

#include <algorithm>
#include <cmath>

#include "tools/ami-sim/EyeDiagram.h"

namespace amisim {

namespace {

// Bits of the longest latency searched beyond the channel's own length: the
// models' filters and pipelines.
constexpr std::size_t kModelLatencyBits = 64;
// Bits after the settling interval the clock is acquired on.
constexpr std::size_t kAcquisitionBits = 4096;
constexpr std::size_t kMinimumEyeBits = 16;

}  // namespace

bool SizeSampling(const LinkPlan& plan, std::size_t taps, SamplingWindow& w, std::string& error) {
    const std::size_t spb = static_cast<std::size_t>(plan.samplesPerBit);
    w.bits = plan.bits;
    w.samplesPerBit = spb;
    w.totalSamples = plan.bits * spb;
    const std::size_t channelBits = (taps + spb - 1) / spb;
    w.ignoreBits = plan.ignoreBits >= 0 ? static_cast<std::size_t>(plan.ignoreBits)
                                        : std::min(channelBits + 32, plan.bits / 4);
    w.maxLag = taps + kModelLatencyBits * spb;
    const std::size_t needed = w.ignoreBits * spb + w.maxLag + kMinimumEyeBits * spb;
    if (needed > w.totalSamples) {
        error = "too few bits: " + std::to_string(plan.bits) + " bits leave no eye after " +
                std::to_string(w.ignoreBits) + " settling bits and a latency search of " +
                std::to_string((w.maxLag + spb - 1) / spb) + " bits; use --bits " +
                std::to_string((needed + spb - 1) / spb) + " or more";
        return false;
    }
    w.window = std::min(kAcquisitionBits * spb, w.totalSamples - w.ignoreBits * spb - w.maxLag);
    w.acquisitionEnd = w.ignoreBits * spb + w.window + w.maxLag;
    return true;
}

Sampler::Sampler(const LinkPlan& plan, const SamplingWindow& window, const Stimulus& stimulus)
    : plan_(plan), window_(window), stimulus_(stimulus) {}

void Sampler::Take(std::size_t, const double* y, std::size_t n) {
    if (acquired_) return;
    pending_.insert(pending_.end(), y, y + n);
    if (pending_.size() >= window_.acquisitionEnd) Acquire();
}

void Sampler::Acquire() {
    if (acquired_) return;
    acquired_ = true;
    const std::size_t spb = window_.samplesPerBit;
    const std::size_t s0 = window_.ignoreBits * spb;
    const std::size_t maxLag = window_.maxLag;
    const std::size_t w =
        std::min(window_.window,
                 pending_.size() > s0 + maxLag ? pending_.size() - s0 - maxLag : std::size_t{0});
    std::vector<double> reference(w);
    stimulus_.Fill(s0, w, reference.data());
    estimate_ = EstimateLatency(reference.data(), pending_.data() + s0, w, maxLag);

    // Sample where this stretch's eye opens widest: move the latency so
    // that position falls in the middle of the plot.
    EyeDiagram::Layout probe;
    probe.samplesPerBit = plan_.samplesPerBit;
    EyeDiagram trial(probe, stimulus_.Bits(), estimate_.lag, estimate_.inverted,
                     window_.ignoreBits);
    trial.Add(0, pending_.data(), pending_.size());
    const EyeMetrics tm = trial.Metrics();
    latency_ = estimate_.lag;
    if (tm.measured) latency_ += tm.bestIndex - trial.CentrePosition();
    latency_ = std::max(latency_, 0L);

    low_ = INFINITY;
    high_ = -INFINITY;
    for (std::size_t i = s0; i < pending_.size(); ++i) {
        if (!std::isfinite(pending_[i])) continue;
        low_ = std::min(low_, pending_[i]);
        high_ = std::max(high_, pending_[i]);
    }
}

}  // namespace amisim
