// Stimulus: the stimulus stage of a run: the transmitted bits (a PRBS from
// the plan's seed) and the waveform they make, symbols of +/- amplitude
// held for a unit interval each.
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

    // Samples first .. first + n - 1 of the waveform (sample m belongs to
    // bit m / samples per bit).
    void Fill(std::size_t first, std::size_t n, double* out) const;

private:
    friend void MakeStimulus(const LinkPlan& plan, Stimulus& stimulus);

    std::vector<std::uint8_t> bits_;
    int spb_ = 1;
    double amplitude_ = 0.0;
};

void MakeStimulus(const LinkPlan& plan, Stimulus& stimulus);

}  // namespace amisim
