#include "blocks/ConstUnTimed.h"

namespace Vantra {

template class ConstUnTimedBase<double, CircularBuffer<double>>;
template class ConstUnTimed<double>;

}  // namespace Vantra
