#include "devices/tx_fir_dc.h"

#include "dataflow/FormatNumber.h"

#include <cmath>
#include <string>

namespace {

struct deemphasis_row {
    double delay_time;   // post-tap spacing, seconds
    double limit;        // window is [-limit, limit]
    double coefficient;  // post-tap coefficient before post_scale
    double second;       // coefficient of the second weight
};

constexpr deemphasis_row kRows[7] = {
    {1.05e-10, 0.475, 0.3684, 0.0}, {1.6e-10, 0.4375, 0.3142, 0.0}, {1.05e-10, 0.525, 0.2381, 0.0},
    {1.6e-10, 0.495, 0.1919, 0.0},  {8e-11, 0.32, 0.125, 0.125},    {1e-10, 0.32, 0.125, 0.125},
    {1e-10, 0.3, 0.0666, 0.0666},
};

// A refusal says which setting or argument cannot be used and why, in the
// words of the kit (its row is the transmitter's de_code, its timing the
// simulator's bit_time and sample_interval), then the block's name.
bool refuse(Vantra::DFModel& self, const std::string& reason) {
    self.ReportError(reason + " (tx_fir_dc)");
    return false;
}

// The highest bit rate at which a post tap `delay` seconds after the main
// tap still fits the history at n samples per bit: the spacing in samples,
// ceil(delay n / T), may be at most (3n - 1) / 2.
double fastest_rate(double delay, std::int32_t n) {
    const double most = std::floor((3.0 * n - 1.0) / 2.0);
    return most / (delay * n);
}

}  // namespace

bool tx_fir_dc::Setup() {
    configured_ = false;
    if (samples_per_bit <= 0)
        return refuse(*this, "The transmitter needs at least one sample per bit, not " +
                                 std::to_string(samples_per_bit));
    if (samples_per_bit > max_samples_per_bit)
        return refuse(*this,
                      "The transmitter takes at most " + std::to_string(max_samples_per_bit) +
                          " samples per bit (its de-emphasis keeps four bits of samples), "
                          "not " +
                          std::to_string(samples_per_bit) + ": give a larger sample_interval");
    if (!(bit_time > 0.0) || !std::isfinite(bit_time)) {
        return refuse(*this, "bit_time must be a positive number of seconds, not " +
                                 Vantra::FormatNumber(bit_time));
    }
    // Rows beyond the table have no limits and no gain to apply; refusing
    // them is the only way not to run on undefined values.
    if (row < 0 || row > 6)
        return refuse(*this, "de_code must be 0 to 6, not " + std::to_string(row));

    const deemphasis_row& r = kRows[row];
    const double ts = bit_time / samples_per_bit;
    const double d = std::ceil(r.delay_time / ts);
    // The post tap, N + 2d samples back, must lie inside the 4N samples of
    // history; compared in double so that no huge d is ever converted.
    if (!(2.0 * d < 3.0 * samples_per_bit)) {
        return refuse(
            *this,
            "de_code " + std::to_string(row) + " puts its post tap " +
                Vantra::FormatNumber(r.delay_time * 1e12) +
                " ps after the main tap, which at a bit_time of " + Vantra::FormatNumber(bit_time) +
                " s is more than the transmitter can hold; at " + std::to_string(samples_per_bit) +
                " samples per bit this de_code runs up to " +
                Vantra::FormatNumber(fastest_rate(r.delay_time, samples_per_bit) * 1e-9) + " Gb/s");
    }

    upper_limit = r.limit;
    lower_limit = -r.limit;
    in_gain = 1.0;
    tap_delay = static_cast<std::int32_t>(d);
    // Negated in double: negating the int would overflow for INT_MIN.
    post_weight = -(static_cast<double>(post_scale) * r.coefficient);
    second_weight = static_cast<double>(second_scale) * r.second;

    level_gain = 1.0;
    if (level == 1)
        level_gain = 1.05;
    else if (level == 2)
        level_gain = 1.06;
    else if (level == 3)
        level_gain = 1.12;

    n_ = samples_per_bit;
    d_ = tap_delay;
    configured_ = true;
    return true;
}

bool tx_fir_dc::Initialize() {
    for (double& h : history) h = 0.0;
    newest_ = 0;
    ring_ = configured_ ? 4 * n_ : 0;
    return true;
}

bool tx_fir_dc::Run() {
    return RunSpan(1) == 1;
}

std::size_t tx_fir_dc::RunSpan(std::size_t firings) {
    if (firings == 0) return 0;
    // The ring was laid out for the samples per bit of the Setup before the
    // last Initialize; any other state cannot be run safely.
    if (!configured_ || ring_ == 0 || ring_ != 4 * n_) {
        ReportError("tx_fir_dc::Run called without a successful Setup and Initialize");
        return 0;
    }
    if (firings > Input.Capacity || firings > Output.Capacity) {
        ReportError("tx_fir_dc::RunSpan: " + std::to_string(firings) +
                    " firings do not fit the Input and Output ports");
        return 0;
    }
    // Members in locals: the output samples are doubles like the history,
    // and the compiler would otherwise reload every member after each store.
    const double gain = in_gain, level = level_gain, lower = lower_limit, upper = upper_limit;
    const double weight = post_weight;
    const std::int32_t ring = ring_, main_offset = n_ + d_, post_offset = n_ + 2 * d_;
    double* const h = history;
    std::int32_t newest = newest_;
    for (std::size_t f = 0; f < firings; ++f) {
        // Condition and limit the sample, push it into the history, and
        // form the output from the main and the post tap.
        double s = Input.ElementAt(f) * gain * level;
        if (s < lower)
            s = lower;
        else if (s > upper)
            s = upper;
        newest = (newest == 0 ? ring : newest) - 1;
        h[newest] = s;
        std::int32_t main = newest + main_offset, post = newest + post_offset;
        if (main >= ring) main -= ring;
        if (post >= ring) post -= ring;
        Output.ElementAt(f) = weight * h[post] + h[main];
    }
    newest_ = newest;
    return firings;
}
