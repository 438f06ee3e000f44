// TruncateToInt32: a model setting truncated toward zero into a 32-bit row
// or count. A value with no 32-bit truncation (NaN, beyond the int range)
// would make the plain conversion undefined; it becomes -1, a row and a
// count that every block refuses or leaves unused.
#pragma once

#include <cstdint>

inline std::int32_t TruncateToInt32(double v)
{
    return (v > -2147483649.0 && v < 2147483648.0) ? static_cast<std::int32_t>(v) : -1;
}
