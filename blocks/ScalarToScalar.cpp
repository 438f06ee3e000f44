#include "blocks/ScalarToScalar.h"

namespace Vantra {

template class TypeConverter<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound>;
template class ScalarToScalar<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound>;

}  // namespace Vantra
