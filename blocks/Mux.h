// Mux<Buf>: passes BlockSize samples per firing from one branch of the
// Input bus to Output. The branch is ControlValue, which the owner loads
// from the Control port before each firing; a value outside the bus makes
// the firing fail with a message naming the valid range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBus.h"
#include "dataflow/DFModel.h"

namespace Vantra {

// The line a Mux reports for control value c on a bus of n branches.
std::string MuxControlRangeMessage(std::int32_t c, std::size_t n);

template <class Buf>
class Mux : public DFModel {
public:
    CircularBufferBusT<Buf> Input;
    Buf Output;
    std::int32_t ControlValue = 0;
    std::int32_t BlockSize = 1;  // samples per firing; parameter
    CircularBuffer<int> Control;

    bool Setup() override
    {
        configuredBlockSize_ = 0;
        if (BlockSize < 1) {
            ReportError("BlockSize must be >= 1");
            return false;
        }
        const auto n = static_cast<std::size_t>(BlockSize);
        Output.SetRate(n);
        for (std::size_t i = 0; i < Input.Width; ++i) Input.At(i).SetRate(n);
        configuredBlockSize_ = n;
        return true;
    }

    bool Run() override
    {
        // Run copies the block size the ports were set up for, so changing
        // BlockSize without a new Setup cannot make it copy a wrong count.
        if (configuredBlockSize_ == 0) {
            ReportError("Mux::Run called without a successful Setup");
            return false;
        }
        const std::int32_t c = ControlValue;
        if (c >= 0 && static_cast<std::size_t>(c) < Input.Width) {
            Input.At(static_cast<std::size_t>(c)).CopyTo(0, Output, 0, configuredBlockSize_);
            return true;
        }
        ReportError(MuxControlRangeMessage(c, Input.Width));
        return false;
    }

private:
    std::size_t configuredBlockSize_ = 0;
};

extern template class Mux<CircularBuffer<double>>;

}  // namespace Vantra
