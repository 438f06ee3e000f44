// Tanh: the hyperbolic tangent of the soft limiters, our own rather than
// the C library's, whose last bits differ between platforms and word
// sizes. It is the scalar form of the span kernels' tanh (SpanKernels.h),
// so a limiter gives the same bits one sample at a time as over a span.
//
// Within 0.6 ulp of the exact value for every double: against a
// 64-bit-mantissa reference, the worst found in 160 million samples is
// 0.591 ulp (near x = 0.248, at the end of the series), 0.528 in the
// extra-precision range and 0.556 in the plain one. Odd, Tanh(-x) ==
// -Tanh(x); the sign of a zero is kept; exactly +-1 from |x| >= 22 on (the
// exact value rounds to 1 from about 19.06 on) and for infinities; a NaN
// comes back unchanged.
//
// Below |x| = 0.25 it sums the Taylor series to x^25; above, it forms
// 1 - 2 / (e^2x + 1), up to |x| = 2 with e^2x and the quotient carried as
// unevaluated sums of two doubles, so that the final subtraction rounds
// only once, and from there on in plain double, where the quotient is
// small. It raises no floating-point exception beyond inexact and
// underflow.
#pragma once

namespace Vantra {

double Tanh(double x);

}  // namespace Vantra
