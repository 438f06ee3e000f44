#include "blocks/Fork.h"

namespace Vantra {

template class Fork<CircularBuffer<double>>;

}  // namespace Vantra
