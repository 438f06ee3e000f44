// Fork<Buf>: copies the current sample of Input to the current sample of
// every branch of the Output bus, one sample per branch per firing; over a
// span, the span's samples in one copy per branch. The owner sizes the bus
// before Setup; a bus of width 0 makes a firing do nothing.
#pragma once

#include <cstddef>

#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBus.h"
#include "dataflow/DFModel.h"

namespace Vantra {

template <class Buf>
class Fork : public DFModel {
public:
    Buf Input;
    CircularBufferBusT<Buf> Output;

    bool Run() override {
        for (std::size_t i = 0; i < Output.Width; ++i) Input.CopyTo(0, Output.At(i), 0, 1);
        return true;
    }

    std::size_t RunSpan(std::size_t firings) override {
        for (std::size_t i = 0; i < Output.Width; ++i) Input.CopyTo(0, Output.At(i), 0, firings);
        return firings;
    }
};

extern template class Fork<CircularBuffer<double>>;

}  // namespace Vantra
