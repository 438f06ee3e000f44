// The span kernels on AVX2: four doubles per register. This file alone is
// compiled with -mavx2 (and without -mfma: nothing may be fused); blocks
// call it only after KernelIsaAvailable(Avx2) said the processor can.
#include "blocks/SpanKernels.h"

#if defined(__AVX2__) && defined(__SSE2_MATH__)

#include <immintrin.h>

#include "blocks/SpanKernelBodies.h"

namespace Vantra {

namespace {

struct Avx2Lanes {
    using Reg = __m256d;
    using Mask = __m256d;
    static constexpr std::size_t Lanes = 4;

    static Reg Load(const double* p) { return _mm256_loadu_pd(p); }
    static void Store(double* p, Reg v) { _mm256_storeu_pd(p, v); }
    static Reg Set(double v) { return _mm256_set1_pd(v); }
    static Reg Add(Reg a, Reg b) { return _mm256_add_pd(a, b); }
    static Reg Sub(Reg a, Reg b) { return _mm256_sub_pd(a, b); }
    static Reg Mul(Reg a, Reg b) { return _mm256_mul_pd(a, b); }
    static Reg Div(Reg a, Reg b) { return _mm256_div_pd(a, b); }
    static Reg Abs(Reg a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static Reg WithSignOf(Reg m, Reg x) {
        return _mm256_or_pd(m, _mm256_and_pd(_mm256_set1_pd(-0.0), x));
    }
    static Reg Min(Reg a, Reg b) { return _mm256_min_pd(a, b); }  // a < b ? a : b
    static Mask Less(Reg a, Reg b) { return _mm256_cmp_pd(a, b, _CMP_LT_OS); }
    static Mask GreaterEqual(Reg a, Reg b) { return _mm256_cmp_pd(a, b, _CMP_GE_OS); }
    static Mask IsNan(Reg a) { return _mm256_cmp_pd(a, a, _CMP_UNORD_Q); }
    static Mask MaskOr(Mask a, Mask b) { return _mm256_or_pd(a, b); }
    static bool Any(Mask m) { return _mm256_movemask_pd(m) != 0; }
    static bool All(Mask m) { return _mm256_movemask_pd(m) == 15; }
    static Reg Select(Mask m, Reg a, Reg b) { return _mm256_blendv_pd(b, a, m); }
    static Reg Pow2(Reg t) {
        const __m256i k = _mm256_add_epi64(_mm256_castpd_si256(t), _mm256_set1_epi64x(1023));
        return _mm256_castsi256_pd(_mm256_slli_epi64(k, 52));
    }
};

void FirSpanAvx2(const double* reversed, std::size_t length, const double* oldest, double* y,
                 std::size_t count) {
    FirSpanBody<Avx2Lanes>(reversed, length, oldest, y, count);
}

void SoftLimitSpanAvx2(const double* in, double* out, std::size_t count, double amplitude,
                       double gain) {
    SoftLimitSpanBody<Avx2Lanes>(in, out, count, amplitude, gain);
}

constexpr SpanKernels kAvx2 = {KernelIsa::Avx2, FirSpanAvx2, SoftLimitSpanAvx2};

}  // namespace

const SpanKernels* Avx2SpanKernels() {
    return &kAvx2;
}

}  // namespace Vantra

#else

namespace Vantra {
const SpanKernels* Avx2SpanKernels() {
    return nullptr;
}
}  // namespace Vantra

#endif
