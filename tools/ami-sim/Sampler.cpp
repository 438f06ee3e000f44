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
// Gaussian draws are cut at this many standard deviations, so a draw never
// reaches past the samples kept.
constexpr double kGaussianCut = 8.0;
// How far (samples) the sampling instant may move off the plot's middle
// before the traces follow it; see TraceStart.
constexpr double kFoldHysteresis = 0.75;
// Samples kept past what the statistics stage has folded before the buffer
// is compacted.
constexpr std::size_t kCompactAt = 1 << 16;

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

Sampler::Sampler(const LinkPlan& plan, const SamplingWindow& window, const Stimulus& stimulus,
                 const LinkModels& models)
    : plan_(plan),
      window_(window),
      stimulus_(stimulus),
      models_(models),
      jitter_(plan.seed, RandomStream::SamplerJitter),
      noise_(plan.seed, RandomStream::SamplerNoise) {
    const Impairments& m = plan.impairments;
    const double dt = plan.sampleInterval;
    rjSamples_ = std::hypot(m.txRj.value, m.rxRj.value) / dt;
    djSamples_ = m.rxDj.value / dt;
    dcdSamples_ = m.rxDcd.value / dt;
    sjSamples_ = m.rxSj.value / dt;
    noiseRms_ = m.rxNoise.value;
    spread_ = kGaussianCut * rjSamples_ + 0.5 * djSamples_ + 0.5 * dcdSamples_ + sjSamples_;
    quiet_ = spread_ == 0.0 && noiseRms_ == 0.0;
    report_.gainUi = plan.clock.gainUi;
    report_.integralUi = plan.clock.integralUi;
    starts_.reserve(plan.bits);
    values_.assign(plan.bits, NAN);
}

void Sampler::Take(std::size_t firstSample, const double* y, std::size_t n) {
    (void)firstSample;  // samples come in order and without gaps
    history_.insert(history_.end(), y, y + n);
    if (!acquired_ && base_ + history_.size() >= window_.acquisitionEnd) Acquire();
    if (acquired_) SampleBits(false);
}

void Sampler::Finish() {
    if (!acquired_) Acquire();
    finished_ = true;
    SampleBits(true);
    Summarise();
}

std::size_t Sampler::Foldable() const {
    if (finished_) return base_ + history_.size();
    if (starts_.empty()) return base_;
    // A bit not yet sampled starts after the last known start.
    return static_cast<std::size_t>(std::max<long long>(starts_.back() + 1, 0));
}

void Sampler::Acquire() {
    acquired_ = true;
    const std::size_t spb = window_.samplesPerBit;
    const std::size_t s0 = window_.ignoreBits * spb;
    const std::size_t have = history_.size();
    const std::size_t maxLag = window_.maxLag;
    const std::size_t w =
        std::min(window_.window, have > s0 + maxLag ? have - s0 - maxLag : std::size_t{0});
    std::vector<double> reference(w);
    stimulus_.Fill(s0, w, reference.data());
    estimate_ = EstimateLatency(reference.data(), history_.data() + s0, w, maxLag);

    EyeDiagram::Layout probe;
    probe.samplesPerBit = plan_.samplesPerBit;
    EyeDiagram trial(probe, stimulus_.Bits(), estimate_.lag, estimate_.inverted,
                     window_.ignoreBits);
    trial.Add(0, history_.data(), history_.size());
    const EyeMetrics tm = trial.Metrics();
    // Position p of the trial eye is sample k spb + lag - (spb - spb/2) + p
    // of bit k.
    const double toSample = static_cast<double>(estimate_.lag) -
                            static_cast<double>(plan_.samplesPerBit - plan_.samplesPerBit / 2);
    const double even = plan_.samplesPerBit % 2 == 0 ? 0.5 : 0.0;
    centre_ = plan_.samplesPerBit - even;  // the middle of the plot, in positions
    double start = tm.measured ? tm.bestIndex : trial.CentrePosition();
    report_.threshold = tm.measured ? tm.threshold : 0.0;
    if (tm.measured) level_ = std::max(0.5 * std::fabs(tm.levelOne - tm.levelZero), 1e-300);
    ChooseMethod();
    if (report_.method == ClockChoice::Centre && tm.measured && tm.open)
        start = 0.5 * (tm.widthLeft + tm.widthRight) * plan_.samplesPerBit - even;
    origin_ = toSample + start;
    loopStart_ = window_.ignoreBits;
    TrainLoop();

    low_ = INFINITY;
    high_ = -INFINITY;
    for (std::size_t i = s0; i < have; ++i) {
        if (!std::isfinite(history_[i])) continue;
        low_ = std::min(low_, history_[i]);
        high_ = std::max(high_, history_[i]);
    }
}

void Sampler::ChooseMethod() {
    const bool ticks = !models_.clockTimes.empty();
    ClockChoice m = plan_.clock.method;
    if (m == ClockChoice::Auto) m = ticks ? ClockChoice::ClockTimes : ClockChoice::BangBang;
    if (m == ClockChoice::ClockTimes && !ticks) {
        report_.warnings.push_back(
            "--clock clock-times: the receiver returned no clock times; a bang-bang clock "
            "recovery samples instead");
        m = ClockChoice::BangBang;
    }
    report_.method = m;
}

// A loop settles on the acquisition stretch first, so that it samples the
// run from its first bit at the phase it would settle to, and the eye
// holds no bits of a loop still pulling in.
void Sampler::TrainLoop() {
    if (report_.method != ClockChoice::BangBang && report_.method != ClockChoice::MuellerMuller)
        return;
    const double spb = plan_.samplesPerBit;
    const double end = static_cast<double>(history_.size()) - spb - 2.0;
    for (std::size_t k = window_.ignoreBits; k < window_.bits; ++k) {
        const double s = static_cast<double>(k) * spb + origin_ + phase_;
        if (s >= end) break;
        Recover(k, At(s), At(s + 0.5 * spb));
    }
}

double Sampler::At(double s) const {
    const double local =
        std::clamp(s - static_cast<double>(base_), 0.0, static_cast<double>(history_.size()) - 1.0);
    const std::size_t i = static_cast<std::size_t>(local);
    const double a = local - static_cast<double>(i);
    if (a == 0.0 || i + 1 >= history_.size()) return history_[i];
    return history_[i] + a * (history_[i + 1] - history_[i]);
}

// Where bit k is sampled, before the clock's jitter.
double Sampler::Instant(std::size_t k) {
    const double spb = plan_.samplesPerBit;
    const double due = static_cast<double>(k) * spb + origin_;
    if (report_.method == ClockChoice::ClockTimes) {
        // A clock samples the bit whose interval (from the latency on) holds
        // its instant; a bit without one is sampled a unit interval after
        // the bit before.
        const std::vector<double>& ticks = models_.clockTimes;
        const double dt = plan_.sampleInterval, half = 0.5 * plan_.bitTime;
        auto bitOf = [&](double instant) {
            return std::floor((instant - static_cast<double>(estimate_.lag)) / spb);
        };
        const double bit = static_cast<double>(k);
        while (nextTick_ < ticks.size() && bitOf((ticks[nextTick_] + half) / dt) < bit) ++nextTick_;
        double s = k == 0 ? due : lastInstant_ + spb;
        if (nextTick_ < ticks.size() && bitOf((ticks[nextTick_] + half) / dt) == bit) {
            s = (ticks[nextTick_++] + half) / dt;
            ++report_.clockTimesUsed;
        }
        lastInstant_ = s;
        return s;
    }
    if (report_.method == ClockChoice::Centre) return due;
    return due + phase_;
}

double Sampler::JitterDraw(std::size_t k) {
    double d = 0.0;
    if (rjSamples_ > 0.0)
        d += rjSamples_ * std::clamp(jitter_.Gaussian(), -kGaussianCut, kGaussianCut);
    if (djSamples_ > 0.0) d += 0.5 * djSamples_ * jitter_.Sign();
    if (dcdSamples_ > 0.0) d += k % 2 == 0 ? 0.5 * dcdSamples_ : -0.5 * dcdSamples_;
    if (sjSamples_ > 0.0) d += sjSamples_ * std::sin(2.0 * M_PI * jitter_.Uniform());
    return d;
}

// The clock recovery loops, after bit k was sampled.
void Sampler::Recover(std::size_t k, double value, double edge) {
    if (k < loopStart_) return;
    const double th = report_.threshold;
    const double spb = plan_.samplesPerBit;
    double vote = 0.0;
    if (report_.method == ClockChoice::BangBang && k > loopStart_) {
        const bool before = previousValue_ > th, now = value > th;
        if (before != now) vote = (previousEdge_ > th) == before ? 1.0 : -1.0;
    } else if (report_.method == ClockChoice::MuellerMuller && k > loopStart_) {
        const double y = value - th, yBefore = previousValue_ - th;
        const double d = y > 0.0 ? 1.0 : -1.0, dBefore = yBefore > 0.0 ? 1.0 : -1.0;
        vote = (y * dBefore - yBefore * d) / level_;
    }
    integral_ += plan_.clock.integralUi * spb * vote;
    phase_ += report_.gainUi * spb * vote + integral_;
    previousValue_ = value;
    previousEdge_ = edge;
}

void Sampler::SampleBits(bool final) {
    const double spb = plan_.samplesPerBit;
    const double end = static_cast<double>(base_ + history_.size());
    const bool edges = report_.method == ClockChoice::BangBang;
    while (next_ < window_.bits) {
        const std::size_t k = next_;
        const double s = Instant(k);
        const double reach = s + (edges ? 0.5 * spb : 0.0) + spread_ + 2.0;
        if (reach >= end && !(final && s + 1.0 < end)) break;
        // The loops see the output itself; the decision sample adds the
        // clock's jitter and the noise.
        const double clean = At(s);
        const double edge = edges ? At(s + 0.5 * spb) : 0.0;
        double value = clean;
        if (!quiet_) {
            value = At(s + JitterDraw(k));
            if (noiseRms_ > 0.0)
                value += noiseRms_ * std::clamp(noise_.Gaussian(), -kGaussianCut, kGaussianCut);
        }
        starts_.push_back(TraceStart(s));
        if (std::isfinite(value) && k >= window_.ignoreBits) {
            values_[k] = value;
            const double phase = (s - static_cast<double>(k) * spb - estimate_.lag + 0.5) / spb;
            phaseSum_ += phase;
            phaseSquares_ += phase * phase;
            report_.phaseLowUi =
                report_.sampledBits == 0 ? phase : std::min(report_.phaseLowUi, phase);
            report_.phaseHighUi = std::max(report_.phaseHighUi, phase);
            positionSum_ += s - static_cast<double>(starts_.back());
            ++report_.sampledBits;
        }
        Recover(k, std::isfinite(clean) ? clean : report_.threshold, edge);
        lastSampled_ = s;
        ++next_;
    }
    Trim();
}

// Where bit k's trace starts: one unit interval after the bit before's, so
// that a steady clock folds every trace alike, unless the sampling instant
// has moved more than kFoldHysteresis samples from the plot's middle (a
// loop dithering across the half-sample boundary would otherwise fold part
// of the bits a sample off and narrow the eye by an artefact).
long long Sampler::TraceStart(double s) const {
    const long long nearest = std::llround(s - centre_);
    if (starts_.empty()) return nearest;
    const long long steady = starts_.back() + plan_.samplesPerBit;
    const double off = s - centre_ - static_cast<double>(steady);
    if (std::fabs(off) <= kFoldHysteresis) return steady;
    return std::max(nearest, starts_.back() + 1);
}

// Drops samples neither the sampler nor the statistics stage needs again:
// below what the statistics stage has folded and below where the next
// bit's sample (the clock moves less than a unit interval from one bit to
// the next) and its jitter can reach.
void Sampler::Trim() {
    const double spb = plan_.samplesPerBit;
    const double need = lastSampled_ - spb - spread_ - 2.0;
    const std::size_t keep =
        std::min(released_, need > 0.0 ? static_cast<std::size_t>(need) : std::size_t{0});
    if (keep < base_ + kCompactAt) return;
    history_.erase(history_.begin(), history_.begin() + static_cast<std::ptrdiff_t>(keep - base_));
    base_ = keep;
}

void Sampler::Summarise() {
    report_.clockTimes = models_.clockTimes.size();
    const double n = static_cast<double>(report_.sampledBits);
    if (n == 0.0) return;
    report_.phaseUi = phaseSum_ / n;
    report_.phaseRmsUi =
        std::sqrt(std::max(0.0, phaseSquares_ / n - report_.phaseUi * report_.phaseUi));
    report_.position = positionSum_ / n;
}

}  // namespace amisim
