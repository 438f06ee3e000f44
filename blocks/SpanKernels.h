// SpanKernels: the arithmetic that blocks run over a span of samples, built
// once per instruction set (KernelIsa): the FIR sum and the soft limiter's
// tanh. A block picks its table in Initialize and calls through it in Run.
//
// Every table computes the same bits. Each result is formed in one order
// that the vector width does not touch: the FIR sum's order is fixed below,
// with the vectors spread across output samples and across that order's
// partial sums, and tanh is one fixed sequence of IEEE additions,
// multiplications and divisions per sample. Nothing is fused (no FMA), and
// what does not fill a vector goes through the scalar form of the same
// sequence. The portable, SSE2 and AVX2 tables of the 32- and the 64-bit
// builds, on Linux and on Windows, therefore agree bit for bit.
#pragma once

#include <cstddef>

#include "blocks/KernelIsa.h"

namespace Vantra {

// y[i] = sum over j < length of reversed[j] * oldest[i + j], for i < count:
// a filter's taps in reverse order against its samples oldest first, so
// that both run forward in memory. One fixed order: four partial sums, p_r
// of the terms with j % 4 == r, each from +0 in ascending j, then y[i] =
// (p0 + p2) + (p1 + p3). Four independent chains of additions let a lone
// output run at a quarter of a single running sum's latency, and many
// outputs at the vector units' rate.
using FirSpanFunction = void (*)(const double* reversed, std::size_t length, const double* oldest,
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
