// Sampler: the sampler stage of a run. Takes the receiver output as it
// streams out of the link and decides where each bit is sampled:
//
// 1. Acquisition. It buffers the first stretch after the settling interval
//    and finds there the link's latency and polarity (the peak of the
//    cross-correlation with the stimulus, Latency), an eye folded at that
//    latency, its position of widest vertical opening, its decision
//    threshold and its levels.
// 2. The clock. Bit k is sampled at sample index s_k (fractional):
//    - bang-bang: an early-late (Alexander) loop. Besides each bit it
//      samples the edge half a unit interval later; where two bits differ,
//      an edge sample equal to the first says the clock is early, equal to
//      the second that it is late, and the phase moves by the loop's gain
//      that way (plus the integral path, which sums the votes times its
//      gain);
//    - Mueller-Muller: the timing error (y_k d_{k-1} - y_{k-1} d_k) / A
//      (y the sample less the threshold, d its decision +/-1, A the level)
//      times the gain moves the phase; it settles where the pulse
//      response's first pre- and post-cursors are equal;
//    - centre: a fixed phase, the centre of the widest opening of the
//      acquired eye;
//    - clock times: the receiver's clock_times, each plus half a unit
//      interval (the data are sampled half a clock period after a clock
//      time), each sampling the bit whose interval at the latency holds
//      it; a bit without one is sampled a unit interval after the one
//      before.
//    Both loops start at the acquired position of widest opening and settle
//    on the acquisition stretch first; the run is then sampled from its
//    first bit at the phase they settled to, the loop running again from
//    the end of the settling interval. They see the receiver output itself: the sampler's noise and
//    jitter draws (below) enter the statistics as distributions, and a
//    loop that reacted to them would count them a second time.
// 3. Each bit's sample: the output at s_k moved by a draw of the sampling
//    clock's jitter (random: the transmitter's and the receiver's Rj; the
//    receiver's Dj and DCD as dual-Diracs; its Sj from its arcsine
//    distribution), interpolated linearly, plus a draw of the receiver's
//    input-referred noise. These samples are what the decisions are counted
//    on (LinkStatistics).
// 4. The traces for the eye: bit k's trace starts where s_k falls at the
//    middle of the eye plot, rounded to a sample, so the eye is folded on
//    the recovered clock and centred on the sampling instant.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/ami-sim/Latency.h"
#include "tools/ami-sim/LinkModels.h"
#include "tools/ami-sim/LinkPlan.h"
#include "tools/ami-sim/Random.h"
#include "tools/ami-sim/Stimulus.h"

namespace amisim {

// How much of the run goes where: the settling bits left out, the longest
// latency searched and the stretch the clock is acquired on.
struct SamplingWindow {
    std::size_t bits = 0, samplesPerBit = 0, totalSamples = 0;
    std::size_t ignoreBits = 0;      // settling bits left out of the eye
    std::size_t maxLag = 0;          // samples
    std::size_t window = 0;          // samples correlated for the latency
    std::size_t acquisitionEnd = 0;  // samples buffered before the clock starts
};

// False with `error` when the run is too short to leave an eye after the
// settling interval and the latency search.
bool SizeSampling(const LinkPlan& plan, std::size_t channelTaps, SamplingWindow& window,
                  std::string& error);

// What the sampler did, for the reports.
struct SamplerReport {
    ClockChoice method = ClockChoice::BangBang;
    double gainUi = 0.0, integralUi = 0.0;
    double threshold = 0.0;   // the clock recovery's decision threshold
    double phaseUi = 0.0;     // mean sampling instant after the bit's start at the latency
    double phaseRmsUi = 0.0;  // its spread over the bits in the eye
    double phaseLowUi = 0.0, phaseHighUi = 0.0;
    double position = 0.0;       // mean sampling instant in the eye's traces (positions)
    std::size_t clockTimes = 0;  // clock times the receiver returned
    std::size_t clockTimesUsed = 0;
    std::size_t sampledBits = 0;  // bits from the settling interval on with a sample
    std::vector<std::string> warnings;
};

class Sampler {
public:
    Sampler(const LinkPlan& plan, const SamplingWindow& window, const Stimulus& stimulus,
            const LinkModels& models);

    // Receiver output samples firstSample .. firstSample + n - 1, in order.
    void Take(std::size_t firstSample, const double* y, std::size_t n);
    // The end of the stream: acquires on what there is if it has not yet,
    // and samples every bit the output reaches.
    void Finish();
    bool Acquired() const { return acquired_; }

    // For the statistics stage: the output from sample `Kept()` on, up to
    // `Foldable()` (every trace that can hold a sample below it is known),
    // and the trace starts so far. Release(n): samples below n are done.
    std::size_t Kept() const { return base_; }
    std::size_t Foldable() const;
    const double* Samples() const { return history_.data(); }
    void Release(std::size_t upTo) { released_ = std::max(released_, upTo); }
    const std::vector<long long>& TraceStarts() const { return starts_; }

    // Per bit: the sample the decision is made on (not a number where the
    // bit was not sampled).
    const std::vector<double>& Values() const { return values_; }

    const LatencyEstimate& Estimate() const { return estimate_; }
    long Latency() const { return estimate_.lag; }
    // Range of the receiver output over the acquisition stretch after the
    // settling interval (lo > hi when nothing finite was seen).
    double Low() const { return low_; }
    double High() const { return high_; }
    const SamplerReport& Report() const { return report_; }

private:
    void Acquire();
    void ChooseMethod();
    void TrainLoop();
    void SampleBits(bool final);
    double Instant(std::size_t k);
    double At(double s) const;  // the output at fractional sample s
    double JitterDraw(std::size_t k);
    void Recover(std::size_t k, double value, double edge);
    long long TraceStart(double s) const;
    void Trim();
    void Summarise();

    const LinkPlan& plan_;
    SamplingWindow window_;
    const Stimulus& stimulus_;
    const LinkModels& models_;
    Random jitter_, noise_;
    double rjSamples_ = 0.0, djSamples_ = 0.0, dcdSamples_ = 0.0, sjSamples_ = 0.0;
    double noiseRms_ = 0.0;
    double spread_ = 0.0;  // the farthest a jitter draw moves a sample, in samples
    bool quiet_ = true;    // no jitter and no noise to draw

    std::vector<double> history_;  // output samples from base_ on
    std::size_t base_ = 0;
    std::size_t released_ = 0;
    bool acquired_ = false, finished_ = false;
    LatencyEstimate estimate_;
    double low_ = 0.0, high_ = 0.0;
    double centre_ = 0.0;  // the plot position the sampling instant is folded at
    double origin_ = 0.0;  // bit k is due at k spb + origin_ (the acquired phase)
    double level_ = 1.0;   // the Mueller-Muller loop's level estimate
    std::size_t loopStart_ = 0;

    // Clock state.
    double phase_ = 0.0, integral_ = 0.0;  // samples
    double lastInstant_ = 0.0;             // clock times: the last bit's instant
    double lastSampled_ = 0.0;
    std::size_t nextTick_ = 0;
    double previousValue_ = 0.0, previousEdge_ = 0.0;
    std::size_t next_ = 0;  // the next bit to sample

    std::vector<long long> starts_;
    std::vector<double> values_;
    double phaseSum_ = 0.0, phaseSquares_ = 0.0, positionSum_ = 0.0;
    SamplerReport report_;
};

}  // namespace amisim
