// Dot products for the FIR inner loop. The single-rate filter keeps its
// history contiguous, so one output is one dot product of two forward
// arrays; summing into several independent accumulators (and SIMD lanes)
// removes the add-latency chain of a one-product-at-a-time loop. The
// result may differ from the sequential sum by floating-point rounding.
#pragma once

#include <complex>
#include <cstddef>

namespace Vantra {

using DotFunction = double (*)(const double* a, const double* b, std::size_t n);

enum class DotIsa { Portable, Sse2, Avx2Fma };

// The kernel for one instruction set, or null when this processor (or this
// build) lacks it.
DotFunction DotKernelFor(DotIsa isa);

// The fastest kernel this processor supports, chosen by asking the CPU
// itself (no process-wide state, no start-up work).
DotFunction SelectDotKernel();

// Portable kernel: four independent scalar accumulators.
double DotPortable(const double* a, const double* b, std::size_t n);

template <class T>
T DotGeneric(const T* a, const T* b, std::size_t n)
{
    T s0 = T(), s1 = T(), s2 = T(), s3 = T();
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        s0 += a[i] * b[i];
        s1 += a[i + 1] * b[i + 1];
        s2 += a[i + 2] * b[i + 2];
        s3 += a[i + 3] * b[i + 3];
    }
    for (; i < n; ++i) s0 += a[i] * b[i];
    return (s0 + s1) + (s2 + s3);
}

}  // namespace Vantra
