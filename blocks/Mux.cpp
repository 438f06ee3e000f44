#include "blocks/Mux.h"

namespace Vantra {

std::string MuxControlRangeMessage(std::int32_t c, std::size_t n)
{
    std::string m = "Control input signal value is equal to ";
    m += std::to_string(c);
    if (n == 0) {
        // No branch: there is no range to quote, and "[0,-1]" would mislead.
        m += ".  There are 0 inputs connected.  No control input value is valid.";
        return m;
    }
    m += ".  There ";
    m += n > 1 ? "are " : "is ";
    m += std::to_string(n);
    m += n > 1 ? " inputs" : " input";
    m += " connected.  The valid control input range is [0,";
    m += std::to_string(n - 1);
    m += "].";
    return m;
}

template class Mux<CircularBuffer<double>>;

}  // namespace Vantra
