// The logic the two soft limiters (corvinic_rxdc, rx_post_dc) share:
// out = amplitude[row] * tanh(gain[row] * in) over a three-row table. The
// classes differ only in their constants, so each keeps its own members
// and delegates here.
//
// The tanh is Vantra::Tanh, not the C library's: it gives the same bits on
// every platform, one sample at a time and over a span alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "blocks/SpanKernels.h"
#include "blocks/Tanh.h"
#include "dataflow/DFModel.h"

// True when row selects one of the three table rows; otherwise the block
// reports one line saying which setting the row is (`setting`, in the
// words of the model's user) and that it must be 0, 1 or 2, then the
// block's name, and the result is false.
inline bool limiter_row_valid(Vantra::DFModel& self, const char* block, const char* setting,
                              std::int32_t row) {
    if (row >= 0 && row <= 2) return true;
    self.ReportError(std::string(setting) + " must be 0, 1 or 2, not " + std::to_string(row) +
                     " (" + block + ")");
    return false;
}

inline void limiter_store_table(double (&amplitude)[3], double (&gain)[3],
                                const double (&amplitudes)[3], const double (&gains)[3]) {
    for (int r = 0; r < 3; ++r) {
        amplitude[r] = amplitudes[r];
        gain[r] = gains[r];
    }
}

// One firing; a row outside the table is refused and out left untouched.
inline bool limiter_run(Vantra::DFModel& self, const char* block, const char* setting,
                        std::int32_t row, const double (&amplitude)[3], const double (&gain)[3],
                        double in, double& out) {
    if (!limiter_row_valid(self, block, setting, row)) return false;
    out = amplitude[row] * Vantra::Tanh(gain[row] * in);
    return true;
}

// count firings over arrays; in and out are left as after the last one.
// A row outside the table is refused before any sample is written.
inline bool limiter_run_span(Vantra::DFModel& self, const char* block, const char* setting,
                             std::int32_t row, const double (&amplitude)[3],
                             const double (&gain)[3], const Vantra::SpanKernels& kernels,
                             const double* in_samples, double* out_samples, std::size_t count,
                             double& in, double& out) {
    if (count == 0) return true;
    if (!limiter_row_valid(self, block, setting, row)) return false;
    kernels.SoftLimitSpan(in_samples, out_samples, count, amplitude[row], gain[row]);
    in = in_samples[count - 1];
    out = out_samples[count - 1];
    return true;
}
