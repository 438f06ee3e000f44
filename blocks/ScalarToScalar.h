// ScalarToScalar: converts the current sample of Input into the current
// sample of Output with the policy's Convert, one sample per firing.
#pragma once

#include "blocks/TypeConverter.h"
#include "blocks/TypeConverterRound.h"
#include "dataflow/CircularBuffer.h"

namespace Vantra {

template <class InBuf, class OutBuf, class Policy>
class ScalarToScalar : public TypeConverter<InBuf, OutBuf, Policy> {
public:
    bool Run() override
    {
        Policy::Convert(this->Input.ElementAt(0), this->Output.ElementAt(0));
        return true;
    }
};

extern template class TypeConverter<CircularBuffer<double>, CircularBuffer<int>,
                                    TypeConverterRound>;
extern template class ScalarToScalar<CircularBuffer<double>, CircularBuffer<int>,
                                     TypeConverterRound>;

}  // namespace Vantra
