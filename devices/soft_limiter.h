// The logic the two soft limiters (corvinic_rxdc, rx_post_dc) share:
// out = amplitude[row] * tanh(gain[row] * in) over a three-row table. The
// classes differ only in their constants, so each keeps its own members
// and delegates here.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "dataflow/DFModel.h"

// True when row selects one of the three table rows; otherwise the block
// reports one line naming itself and the row, and the result is false.
inline bool limiter_row_valid(Vantra::DFModel& self, const char* block, std::int32_t row)
{
    if (row >= 0 && row <= 2) return true;
    self.ReportError(std::string(block) + ": row must be 0, 1 or 2, not " + std::to_string(row));
    return false;
}

inline void limiter_store_table(double (&amplitude)[3], double (&gain)[3],
                                const double (&amplitudes)[3], const double (&gains)[3])
{
    for (int r = 0; r < 3; ++r) {
        amplitude[r] = amplitudes[r];
        gain[r] = gains[r];
    }
}

// One firing; a row outside the table is refused and out left untouched.
inline bool limiter_run(Vantra::DFModel& self, const char* block, std::int32_t row,
                        const double (&amplitude)[3], const double (&gain)[3], double in,
                        double& out)
{
    if (!limiter_row_valid(self, block, row)) return false;
    out = amplitude[row] * std::tanh(gain[row] * in);
    return true;
}
