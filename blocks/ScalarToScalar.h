// ScalarToScalar: converts the current sample of Input into the current
// sample of Output with the policy's Convert, one sample per firing (over a
// span, sample f in firing f).
#pragma once

#include <cstddef>
#include <string>

#include "blocks/TypeConverter.h"
#include "blocks/TypeConverterRound.h"
#include "dataflow/CircularBuffer.h"

namespace Vantra {

template <class InBuf, class OutBuf, class Policy>
class ScalarToScalar : public TypeConverter<InBuf, OutBuf, Policy> {
public:
    bool Run() override {
        Policy::Convert(this->Input.ElementAt(0), this->Output.ElementAt(0));
        return true;
    }

    std::size_t RunSpan(std::size_t firings) override {
        if (firings > this->Input.Capacity || firings > this->Output.Capacity) {
            this->ReportError("ScalarToScalar::RunSpan: " + std::to_string(firings) +
                              " firings do not fit the Input and Output ports");
            return 0;
        }
        auto* in = this->Input.Stretch(0, firings);
        auto* out = this->Output.Stretch(0, firings);
        if (in != nullptr && out != nullptr) {
            // A run of equal inputs (a constant signal) is converted once.
            for (std::size_t f = 0; f < firings; ++f) {
                if (f > 0 && in[f] == in[f - 1])
                    out[f] = out[f - 1];
                else
                    Policy::Convert(in[f], out[f]);
            }
        } else {
            for (std::size_t f = 0; f < firings; ++f)
                Policy::Convert(this->Input.ElementAt(f), this->Output.ElementAt(f));
        }
        return firings;
    }
};

extern template class TypeConverter<CircularBuffer<double>, CircularBuffer<int>,
                                    TypeConverterRound>;
extern template class ScalarToScalar<CircularBuffer<double>, CircularBuffer<int>,
                                     TypeConverterRound>;

}  // namespace Vantra
