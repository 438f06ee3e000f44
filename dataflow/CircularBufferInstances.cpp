// Explicit instantiations of the whole buffer family, so every element
// type and bus the framework offers is compiled (and checked) once.
#include <complex>

#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBus.h"
#include "dataflow/EnvelopeSignal.h"
#include "dataflow/Matrix.h"
#include "dataflow/TimedCircularBuffer.h"

namespace Vantra {

#define VANTRA_BUFFERS_OF(T)                                  \
    template class CircularBuffer<T>;                         \
    template class TimedCircularBuffer<T>;                    \
    template class CircularBufferBusT<CircularBuffer<T>>;     \
    template class CircularBufferBusT<TimedCircularBuffer<T>>;

#define VANTRA_PLAIN_AND_MATRIX(T) \
    VANTRA_BUFFERS_OF(T)           \
    template class CircularBufferE<Matrix<T>>; \
    VANTRA_BUFFERS_OF(Matrix<T>)

VANTRA_PLAIN_AND_MATRIX(bool)
VANTRA_PLAIN_AND_MATRIX(int)
VANTRA_PLAIN_AND_MATRIX(float)
VANTRA_PLAIN_AND_MATRIX(double)
VANTRA_PLAIN_AND_MATRIX(std::complex<float>)
VANTRA_PLAIN_AND_MATRIX(std::complex<double>)
VANTRA_BUFFERS_OF(EnvelopeSignal)

#undef VANTRA_PLAIN_AND_MATRIX
#undef VANTRA_BUFFERS_OF

}  // namespace Vantra
