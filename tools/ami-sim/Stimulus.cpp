#include "tools/ami-sim/Stimulus.h"

#include "tools/ami-sim/Prbs.h"

namespace amisim {

void MakeStimulus(const LinkPlan& plan, Stimulus& s) {
    s = Stimulus();
    s.spb_ = plan.samplesPerBit;
    s.amplitude_ = plan.amplitude;
    s.bits_.resize(plan.bits);
    Prbs prbs(plan.prbsOrder, plan.seed);
    for (auto& b : s.bits_) b = static_cast<std::uint8_t>(prbs.NextBit());
}

void Stimulus::Fill(std::size_t first, std::size_t n, double* out) const {
    const std::size_t spb = static_cast<std::size_t>(spb_);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t k = (first + i) / spb;
        out[i] = k < bits_.size() && bits_[k] ? amplitude_ : -amplitude_;
    }
}

}  // namespace amisim
