// TypeConverter: the family of blocks that convert samples from one element
// type to another under a conversion policy. TypeConverterBase and a bare
// TypeConverter do nothing in any phase; ScalarToScalar converts one sample
// per firing.
#pragma once

#include "dataflow/DFModel.h"

namespace Vantra {

class TypeConverterBase : public DFModel {
public:
    ~TypeConverterBase() override = default;
};

template <class InBuf, class OutBuf, class Policy>
class TypeConverter : public TypeConverterBase {
public:
    InBuf Input;
    OutBuf Output;
};

}  // namespace Vantra
