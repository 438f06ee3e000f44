// The span kernels in plain scalar arithmetic: the reference the vector
// tables must match bit for bit, the table of processors without SSE2, and
// the home of the scalar Tanh.
#include "blocks/SpanKernels.h"
#include "blocks/Tanh.h"

#include "blocks/SpanKernelBodies.h"

namespace Vantra {

namespace {

void FirSpanPortable(const double* reversed, std::size_t length, const double* oldest, double* y,
                     std::size_t count) {
    FirSpanBody<ScalarLanes>(reversed, length, oldest, y, count);
}

void SoftLimitSpanPortable(const double* in, double* out, std::size_t count, double amplitude,
                           double gain) {
    SoftLimitSpanBody<ScalarLanes>(in, out, count, amplitude, gain);
}

constexpr SpanKernels kPortable = {KernelIsa::Portable, FirSpanPortable, SoftLimitSpanPortable};

}  // namespace

const SpanKernels* PortableSpanKernels() {
    return &kPortable;
}

double Tanh(double x) {
    return TanhOf<ScalarLanes>(x);
}

}  // namespace Vantra
