// ResponseGrid: the time stamps shared by every tabulated response of the
// models, t[k] = k x 2 ns / 1536 for k = 0 to 1536 (0 s to 2 ns in steps of
// 1.302083333333333e-12 s), each stored to 16 significant digits.
//
// Both models carry the grid through this small library, so neither model
// links the other's tables. The table is read-only: a filter that shifts
// its time stamps in place works on its own copy.
#pragma once

#include <cstdint>

// Entries in ResponseGrid and in every response table defined on it.
inline constexpr std::int32_t ResponsePointCount = 1537;

extern const double ResponseGrid[ResponsePointCount];
