// Stimulus: the stimulus stage of a run: the transmitted bits (a PRBS from
// the plan's seed) and the waveform they make, symbols of +/- amplitude
// held for a unit interval each, their edges moved by the transmitter's
// bounded jitter.
//
// Edge k, between bits k - 1 and k, is due at k unit intervals; it moves by
// the sum of
// - duty-cycle distortion: rising edges DCD/2 late, falling edges DCD/2
//   early;
// - dual-Dirac deterministic jitter: Dj/2 early or late, at random;
// - sinusoidal jitter: Sj sin(2 pi f t) at the edge's due time t.
// Random jitter is not drawn here: an unbounded distribution needs its far
// tails, which no run of simulated bits reaches, so the sampler and the
// statistics carry it as a distribution (Sampler, Bathtub).
//
// Each sample stands for one sample interval of the ideal waveform: sample
// m is the mean of the symbols over [m, m + 1) sample intervals, so an edge
// that falls inside a sample interval is kept to a fraction of a sample.
// Edges never pass each other: one moved before the edge ahead of it is
// held at that edge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/ami-sim/LinkPlan.h"

namespace amisim {

class Stimulus {
public:
    // The bits of the whole run.
    const std::vector<std::uint8_t>& Bits() const { return bits_; }
    int SamplesPerBit() const { return spb_; }
    bool Jittered() const { return !edges_.empty(); }
    // Where edge k (0 < k < bits) falls, in samples; only when Jittered().
    double Edge(std::size_t k) const { return edges_[k]; }

    // Samples first .. first + n - 1 of the waveform.
    void Fill(std::size_t first, std::size_t n, double* out) const;

private:
    friend void MakeStimulus(const LinkPlan& plan, Stimulus& stimulus);
    void FillJittered(std::size_t first, std::size_t n, double* out) const;
    double Level(std::size_t k) const { return bits_[k] ? amplitude_ : -amplitude_; }

    std::vector<std::uint8_t> bits_;
    std::vector<double> edges_;  // bits + 1 entries; empty without jitter
    int spb_ = 1;
    double amplitude_ = 0.0;
};

void MakeStimulus(const LinkPlan& plan, Stimulus& stimulus);

}  // namespace amisim
