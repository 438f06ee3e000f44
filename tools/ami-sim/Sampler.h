// Sampler: the sampler stage of a run. Takes the receiver output as it
// streams out of the link and decides where the bits are sampled: it
// buffers the first stretch after the settling interval, finds the link's
// latency and polarity there (Latency), and places the sampling instant of
// every bit at the position of widest vertical opening of that stretch.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/ami-sim/Latency.h"
#include "tools/ami-sim/LinkPlan.h"
#include "tools/ami-sim/Stimulus.h"

namespace amisim {

// How much of the run goes where: the settling bits left out, the longest
// latency searched and the stretch the clock is acquired on.
struct SamplingWindow {
    std::size_t bits = 0, samplesPerBit = 0, totalSamples = 0;
    std::size_t ignoreBits = 0;      // settling bits left out of the eye
    std::size_t maxLag = 0;          // samples
    std::size_t window = 0;          // samples correlated for the latency
    std::size_t acquisitionEnd = 0;  // samples buffered before the clock is known
};

// False with `error` when the run is too short to leave an eye after the
// settling interval and the latency search.
bool SizeSampling(const LinkPlan& plan, std::size_t channelTaps, SamplingWindow& window,
                  std::string& error);

class Sampler {
public:
    Sampler(const LinkPlan& plan, const SamplingWindow& window, const Stimulus& stimulus);

    // Receiver output samples firstSample .. firstSample + n - 1, in order.
    // Until the clock is acquired they are buffered; Acquired() turns true
    // on the call that completes the stretch.
    void Take(std::size_t firstSample, const double* y, std::size_t n);
    bool Acquired() const { return acquired_; }
    // Acquires on what was buffered, however short (a run ending early).
    void Acquire();

    // The buffered stretch, from sample 0, until the statistics stage has
    // taken it; Release() frees it.
    const std::vector<double>& Buffered() const { return pending_; }
    void Release() { std::vector<double>().swap(pending_); }

    const LatencyEstimate& Estimate() const { return estimate_; }
    // The fold latency: bit k's trace starts (spb - spb/2) samples before
    // sample k spb + Latency(), which puts the sampling instant at the
    // middle of the eye plot.
    long Latency() const { return latency_; }
    // Range of the receiver output over the buffered stretch after the
    // settling interval (lo > hi when nothing finite was seen).
    double Low() const { return low_; }
    double High() const { return high_; }

private:
    const LinkPlan& plan_;
    SamplingWindow window_;
    const Stimulus& stimulus_;
    std::vector<double> pending_;
    bool acquired_ = false;
    LatencyEstimate estimate_;
    long latency_ = 0;
    double low_ = 0.0, high_ = 0.0;
};

}  // namespace amisim
