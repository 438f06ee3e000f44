// Row check shared by the two soft limiters: their tables have three rows,
// and a row outside them must never be read.
#pragma once

#include <cstdint>
#include <string>

#include "dataflow/DFModel.h"

// True when row selects one of the three table rows; otherwise reports one
// line naming the block and the row, and returns false.
inline bool limiter_row_valid(const char* block, std::int32_t row)
{
    if (row >= 0 && row <= 2) return true;
    Vantra::DFModel::ReportError(std::string(block) + ": row must be 0, 1 or 2, not " +
                                 std::to_string(row));
    return false;
}
