// Mux<Buf>: passes BlockSize samples per firing from one branch of the
// Input bus to Output. The branch is ControlValue, which the owner loads
// from the Control port before each firing; a value outside the bus makes
// the firing fail with a message naming the valid range. Over a span the
// Mux loads ControlValue itself, from the Control sample of each firing,
// and copies each run of firings that pass the same branch at once.
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

    bool Setup() override {
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

    bool Run() override {
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

    std::size_t RunSpan(std::size_t firings) override {
        if (firings == 0) return 0;
        if (configuredBlockSize_ == 0) {
            ReportError("Mux::Run called without a successful Setup");
            return 0;
        }
        const std::size_t b = configuredBlockSize_;
        if (firings > Control.Capacity || firings > Output.Capacity / b) {
            ReportError("Mux::RunSpan: " + std::to_string(firings) +
                        " firings do not fit the Control and Output ports");
            return 0;
        }
        const int* control = Control.Stretch(0, firings);
        auto controlAt = [&](std::size_t f) {
            return control != nullptr ? control[f] : Control.ElementAt(f);
        };
        std::size_t f = 0;
        while (f < firings) {
            const std::int32_t c = controlAt(f);
            ControlValue = c;
            if (c < 0 || static_cast<std::size_t>(c) >= Input.Width) {
                ReportError(MuxControlRangeMessage(c, Input.Width));
                return f;
            }
            std::size_t g = f + 1;
            while (g < firings && controlAt(g) == c) ++g;
            Input.At(static_cast<std::size_t>(c)).CopyTo(f * b, Output, f * b, (g - f) * b);
            f = g;
        }
        return firings;
    }

private:
    std::size_t configuredBlockSize_ = 0;
};

extern template class Mux<CircularBuffer<double>>;

}  // namespace Vantra
