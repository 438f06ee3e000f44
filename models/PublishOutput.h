// PublishOutput: a network copies one of its signals, the first count
// samples of a boundary port, into an external output port from offset
// base on. The owner may leave an output port unconnected (the AMI entry
// points do so for the ports they never read); nothing is copied then.
#pragma once

#include <cstddef>

#include "dataflow/CircularBuffer.h"

inline void PublishOutput(const Vantra::CircularBuffer<double>& from,
                          Vantra::CircularBuffer<double>& to, std::size_t base, std::size_t count) {
    if (to.Connected && count != 0) from.CopyTo(0, to, base, count);
}
