#include "tools/ami-sim/Stimulus.h"

#include <algorithm>
#include <cmath>

#include "tools/ami-sim/Prbs.h"
#include "tools/ami-sim/Random.h"

namespace amisim {

namespace {

// Edge positions in samples, from the plan's transmitter jitter.
std::vector<double> JitteredEdges(const LinkPlan& plan, const std::vector<std::uint8_t>& bits) {
    const Impairments& m = plan.impairments;
    const double dcd = m.txDcd.value, dj = m.txDj.value;
    const double sj = m.txSjFrequency.value > 0.0 ? m.txSj.value : 0.0;
    if (dcd == 0.0 && dj == 0.0 && sj == 0.0) return {};
    Random random(plan.seed, RandomStream::TxJitter);
    const double dt = plan.sampleInterval, spb = plan.samplesPerBit;
    const double w = 2.0 * M_PI * m.txSjFrequency.value * plan.bitTime;
    std::vector<double> edges(bits.size() + 1);
    edges[0] = -INFINITY;
    for (std::size_t k = 1; k < bits.size(); ++k) {
        double shift = 0.0;
        if (dcd != 0.0 && bits[k] != bits[k - 1]) shift += bits[k] ? 0.5 * dcd : -0.5 * dcd;
        if (dj != 0.0) shift += 0.5 * dj * random.Sign();
        if (sj != 0.0) shift += sj * std::sin(w * static_cast<double>(k));
        edges[k] = std::max(static_cast<double>(k) * spb + shift / dt, edges[k - 1]);
    }
    edges[bits.size()] = INFINITY;
    return edges;
}

}  // namespace

void MakeStimulus(const LinkPlan& plan, Stimulus& s) {
    s = Stimulus();
    s.spb_ = plan.samplesPerBit;
    s.amplitude_ = plan.amplitude;
    s.bits_.resize(plan.bits);
    Prbs prbs(plan.prbsOrder, plan.seed);
    for (auto& b : s.bits_) b = static_cast<std::uint8_t>(prbs.NextBit());
    s.edges_ = JitteredEdges(plan, s.bits_);
}

void Stimulus::Fill(std::size_t first, std::size_t n, double* out) const {
    if (!edges_.empty()) {
        FillJittered(first, n, out);
        return;
    }
    const std::size_t spb = static_cast<std::size_t>(spb_);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t k = (first + i) / spb;
        out[i] = k < bits_.size() && bits_[k] ? amplitude_ : -amplitude_;
    }
}

// Bit k holds from edges_[k] to edges_[k + 1]; a sample is the mean of the
// levels over its interval.
void Stimulus::FillJittered(std::size_t first, std::size_t n, double* out) const {
    if (bits_.empty()) return;
    // The bit holding the start of the first sample.
    const double start = static_cast<double>(first);
    std::size_t k = static_cast<std::size_t>(std::upper_bound(edges_.begin(), edges_.end(), start) -
                                             edges_.begin() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        const double lo = static_cast<double>(first + i), hi = lo + 1.0;
        while (k + 1 < bits_.size() && edges_[k + 1] <= lo) ++k;
        if (k + 1 >= bits_.size() || edges_[k + 1] >= hi) {
            out[i] = Level(k);
            continue;
        }
        double sum = 0.0, from = lo;
        std::size_t j = k;
        while (j + 1 < bits_.size() && edges_[j + 1] < hi) {
            sum += Level(j) * (edges_[j + 1] - from);
            from = edges_[j + 1];
            ++j;
        }
        out[i] = sum + Level(j) * (hi - from);
    }
}

}  // namespace amisim
