#include "blocks/FIR.h"

namespace Vantra {

template class FIR<double, 1>;
template class FIR<double, 0>;
template class FIR<std::complex<double>, 0>;

}  // namespace Vantra
