// SpanKernels: the arithmetic that blocks run over a span of samples, built
// once per instruction set (KernelIsa): the FIR sum and the soft limiter's
// tanh. A block picks its table in Initialize and calls through it in Run.
//
// Every table computes the same bits. A vector lane never holds part of
// another lane's result: the FIR sum is vectorised across output samples,
// and each output's sum is formed tap by tap in tap order, starting from
// +0, exactly as a one-product-at-a-time loop forms it; tanh is one fixed
// sequence of IEEE additions, multiplications and divisions per sample.
// Nothing is fused (no FMA), and the samples left over at the end of a span
// go through the scalar form of the same sequence. The portable, SSE2 and
// AVX2 tables of the 32- and the 64-bit builds, on Linux and on Windows,
// therefore agree bit for bit.
#pragma once

#include <cstddef>

#include "blocks/KernelIsa.h"

namespace Vantra {

// y[i] = taps[0] * x[i] + taps[1] * x[i - 1] + ... + taps[numTaps - 1] *
// x[i - numTaps + 1] for i < count, added in that order from +0. x[i - k]
// must be readable for every such i and k < numTaps.
using FirSpanFunction = void (*)(const double* taps, std::size_t numTaps, const double* x,
                                 double* y, std::size_t count);

// out[i] = amplitude * Tanh(gain * in[i]) for i < count (blocks/Tanh.h).
using SoftLimitSpanFunction = void (*)(const double* in, double* out, std::size_t count,
                                       double amplitude, double gain);

struct SpanKernels {
    KernelIsa Isa;
    FirSpanFunction FirSpan;
    SoftLimitSpanFunction SoftLimitSpan;
};

// The table that isa resolves to on this processor (ResolveKernelIsa).
const SpanKernels& SpanKernelsFor(KernelIsa isa);

// One instruction set's table, or null where this build has none.
const SpanKernels* PortableSpanKernels();
const SpanKernels* Sse2SpanKernels();
const SpanKernels* Avx2SpanKernels();

}  // namespace Vantra
