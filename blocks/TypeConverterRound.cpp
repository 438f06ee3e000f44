#include "blocks/TypeConverterRound.h"

#include <cmath>
#include <limits>

namespace Vantra {

double TypeConverterRound::RoundValue(double x)
{
    // std::round is exact. The textbook floor(x + 0.5) is not: the addition
    // itself rounds, so 0.49999999999999994 would come out as 1.
    return std::round(x);
}

int TypeConverterRound::Convert(double x, int& out)
{
    const double r = RoundValue(x);
    // Both bounds are exact doubles; the comparisons are false for a NaN.
    if (r >= -2147483648.0 && r <= 2147483647.0)
        out = static_cast<int>(r);
    else
        out = std::numeric_limits<int>::min();
    return out;
}

}  // namespace Vantra
