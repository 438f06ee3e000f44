// The span kernels on SSE2: two doubles per register. Built wherever the
// compiler's scalar arithmetic is SSE2 as well (x86-64; 32-bit x86 with
// -msse2 -mfpmath=sse).
#include "blocks/SpanKernels.h"

#if defined(__SSE2__) && defined(__SSE2_MATH__)

#include <emmintrin.h>

#include "blocks/SpanKernelBodies.h"

namespace Vantra {

namespace {

struct Sse2Lanes {
    using Reg = __m128d;
    using Mask = __m128d;
    static constexpr std::size_t Lanes = 2;

    static Reg Load(const double* p) { return _mm_loadu_pd(p); }
    static void Store(double* p, Reg v) { _mm_storeu_pd(p, v); }
    static Reg Set(double v) { return _mm_set1_pd(v); }
    static Reg Add(Reg a, Reg b) { return _mm_add_pd(a, b); }
    static Reg Sub(Reg a, Reg b) { return _mm_sub_pd(a, b); }
    static Reg Mul(Reg a, Reg b) { return _mm_mul_pd(a, b); }
    static Reg Div(Reg a, Reg b) { return _mm_div_pd(a, b); }
    static Reg Abs(Reg a) { return _mm_andnot_pd(_mm_set1_pd(-0.0), a); }
    static Reg WithSignOf(Reg m, Reg x) { return _mm_or_pd(m, _mm_and_pd(_mm_set1_pd(-0.0), x)); }
    static Reg Min(Reg a, Reg b) { return _mm_min_pd(a, b); }  // a < b ? a : b
    static Mask Less(Reg a, Reg b) { return _mm_cmplt_pd(a, b); }
    static Mask GreaterEqual(Reg a, Reg b) { return _mm_cmpge_pd(a, b); }
    static Mask IsNan(Reg a) { return _mm_cmpunord_pd(a, a); }
    static Mask MaskOr(Mask a, Mask b) { return _mm_or_pd(a, b); }
    static bool Any(Mask m) { return _mm_movemask_pd(m) != 0; }
    static bool All(Mask m) { return _mm_movemask_pd(m) == 3; }
    static Reg Select(Mask m, Reg a, Reg b) {
        return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b));
    }
    static Reg Pow2(Reg t) {
        const __m128i k = _mm_add_epi64(_mm_castpd_si128(t), _mm_set1_epi64x(1023));
        return _mm_castsi128_pd(_mm_slli_epi64(k, 52));
    }
};

void FirSpanSse2(const double* reversed, std::size_t length, const double* oldest, double* y,
                 std::size_t count) {
    FirSpanBody<Sse2Lanes>(reversed, length, oldest, y, count);
}

void SoftLimitSpanSse2(const double* in, double* out, std::size_t count, double amplitude,
                       double gain) {
    SoftLimitSpanBody<Sse2Lanes>(in, out, count, amplitude, gain);
}

constexpr SpanKernels kSse2 = {KernelIsa::Sse2, FirSpanSse2, SoftLimitSpanSse2};

}  // namespace

const SpanKernels* Sse2SpanKernels() {
    return &kSse2;
}

}  // namespace Vantra

#else

namespace Vantra {
const SpanKernels* Sse2SpanKernels() {
    return nullptr;
}
}  // namespace Vantra

#endif
