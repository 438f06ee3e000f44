// FormatNumber: a double in the default format of a standard output stream
// (six significant digits, exponent form outside [1e-4, 1e6)), for block
// messages, without pulling the stream library into the model libraries.
#pragma once

#include <cstdio>
#include <string>

namespace Vantra {

inline std::string FormatNumber(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

}  // namespace Vantra
