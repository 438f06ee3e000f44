// tx_fir_dc: the transmitter's de-emphasis stage. Each firing scales the
// input sample (in_gain, level_gain), limits it to [lower_limit,
// upper_limit], and applies a two-tap FIR to the limited signal:
//
//     y[n] = s[n - N - d] + post_weight * s[n - N - 2d]
//
// with N = samples_per_bit and d = tap_delay, the tap spacing of the row's
// delay time in samples. Seven constant rows (0 to 6) set the limit, the
// delay time and the post-tap coefficient; level selects an output level
// gain.
//
// The conditioned samples live in history, used as a ring over its first
// 4 * N entries, so a firing costs the same whatever N is. Setup refuses
// any setting that would put a tap outside those 4 * N samples (N above
// 128, or N + 2d not below 4N), a row without constants, a non-positive
// samples_per_bit and a bit_time that is not a finite positive number,
// with one line on standard error that names the setting or argument in the
// kit's words (de_code, bit_time, samples per bit) and then the block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

class tx_fir_dc : public Vantra::DFModel {
public:
    static constexpr int history_length = 512;
    static constexpr int max_samples_per_bit = history_length / 4;

    Vantra::CircularBuffer<double> Input;
    Vantra::CircularBuffer<double> Output;
    std::int32_t row = 5;
    double upper_limit = 0.0;
    double lower_limit = 0.0;
    double in_gain = 1.0;
    std::int32_t post_scale = 1;  // multiplier of the row's post-tap coefficient
    double post_weight = 0.0;     // derived in Setup
    std::int32_t samples_per_bit = 32;
    double bit_time = 1.666666666666667e-10;  // seconds
    double history[history_length] = {};
    std::int32_t tap_delay = 0;  // derived in Setup, in samples
    std::int32_t level = 0;      // output level selector, 0 to 3
    double level_gain = 1.0;     // derived in Setup
    // A second weight derived per row like the post tap; it does not take
    // part in the output.
    std::int32_t second_scale = 1;
    double second_weight = 0.0;  // derived in Setup

    bool Setup() override;
    bool Initialize() override;  // clears the history
    bool Run() override;
    // Firing f reads offset f of Input and writes offset f of Output.
    std::size_t RunSpan(std::size_t firings) override;

    // The conditioned sample of k firings ago (0 = this firing), for
    // k below 4 * samples_per_bit; 0 before the first firing.
    double history_at(int k) const { return history[ring_index(k)]; }

private:
    bool configured_ = false;
    std::int32_t n_ = 0;     // samples_per_bit at the last successful Setup
    std::int32_t d_ = 0;     // tap_delay at the last successful Setup
    std::int32_t ring_ = 0;  // ring length set by Initialize: 4 * n_
    std::int32_t newest_ = 0;

    int ring_index(int k) const {
        int i = newest_ + k;
        if (i >= ring_) i -= ring_;
        return i;
    }
};
