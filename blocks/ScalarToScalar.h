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
        // A run of equal inputs (a constant signal) is converted once.
        for (std::size_t f = 0; f < firings; ++f) {
            const auto x = this->Input.ElementAt(f);
            if (f > 0 && x == this->Input.ElementAt(f - 1))
                this->Output.ElementAt(f) = this->Output.ElementAt(f - 1);
            else
                Policy::Convert(x, this->Output.ElementAt(f));
        }
        return firings;
    }
};

extern template class TypeConverter<CircularBuffer<double>, CircularBuffer<int>,
                                    TypeConverterRound>;
extern template class ScalarToScalar<CircularBuffer<double>, CircularBuffer<int>,
                                     TypeConverterRound>;

}  // namespace Vantra
