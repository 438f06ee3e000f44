// TypeConverter: the family of blocks that convert samples from one element
// type to another under a conversion policy. TypeConverterBase and a bare
// TypeConverter do nothing in any phase; ScalarToScalar converts one sample
// per firing.
#pragma once

#include <cstddef>

#include "dataflow/DFModel.h"

namespace Vantra {

class TypeConverterBase : public DFModel {
public:
    ~TypeConverterBase() override = default;

    // Like its Run, a span does nothing.
    std::size_t RunSpan(std::size_t firings) override { return firings; }
};

template <class InBuf, class OutBuf, class Policy>
class TypeConverter : public TypeConverterBase {
public:
    InBuf Input;
    OutBuf Output;
};

}  // namespace Vantra
