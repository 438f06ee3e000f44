#include "blocks/DotProduct.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define VANTRA_X86 1
#endif

namespace Vantra {

double DotPortable(const double* a, const double* b, std::size_t n)
{
    return DotGeneric<double>(a, b, n);
}

#ifdef VANTRA_X86

__attribute__((target("sse2"))) static double DotSse2(const double* a, const double* b,
                                                      std::size_t n)
{
    __m128d s0 = _mm_setzero_pd(), s1 = _mm_setzero_pd();
    __m128d s2 = _mm_setzero_pd(), s3 = _mm_setzero_pd();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        s0 = _mm_add_pd(s0, _mm_mul_pd(_mm_loadu_pd(a + i), _mm_loadu_pd(b + i)));
        s1 = _mm_add_pd(s1, _mm_mul_pd(_mm_loadu_pd(a + i + 2), _mm_loadu_pd(b + i + 2)));
        s2 = _mm_add_pd(s2, _mm_mul_pd(_mm_loadu_pd(a + i + 4), _mm_loadu_pd(b + i + 4)));
        s3 = _mm_add_pd(s3, _mm_mul_pd(_mm_loadu_pd(a + i + 6), _mm_loadu_pd(b + i + 6)));
    }
    for (; i + 2 <= n; i += 2)
        s0 = _mm_add_pd(s0, _mm_mul_pd(_mm_loadu_pd(a + i), _mm_loadu_pd(b + i)));
    __m128d s = _mm_add_pd(_mm_add_pd(s0, s1), _mm_add_pd(s2, s3));
    double lanes[2];
    _mm_storeu_pd(lanes, s);
    double r = lanes[0] + lanes[1];
    for (; i < n; ++i) r += a[i] * b[i];
    return r;
}

__attribute__((target("avx2,fma"))) static double DotAvx2(const double* a, const double* b,
                                                          std::size_t n)
{
    __m256d s0 = _mm256_setzero_pd(), s1 = _mm256_setzero_pd();
    __m256d s2 = _mm256_setzero_pd(), s3 = _mm256_setzero_pd();
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        s0 = _mm256_fmadd_pd(_mm256_loadu_pd(a + i), _mm256_loadu_pd(b + i), s0);
        s1 = _mm256_fmadd_pd(_mm256_loadu_pd(a + i + 4), _mm256_loadu_pd(b + i + 4), s1);
        s2 = _mm256_fmadd_pd(_mm256_loadu_pd(a + i + 8), _mm256_loadu_pd(b + i + 8), s2);
        s3 = _mm256_fmadd_pd(_mm256_loadu_pd(a + i + 12), _mm256_loadu_pd(b + i + 12), s3);
    }
    for (; i + 4 <= n; i += 4)
        s0 = _mm256_fmadd_pd(_mm256_loadu_pd(a + i), _mm256_loadu_pd(b + i), s0);
    __m256d s = _mm256_add_pd(_mm256_add_pd(s0, s1), _mm256_add_pd(s2, s3));
    __m128d h = _mm_add_pd(_mm256_castpd256_pd128(s), _mm256_extractf128_pd(s, 1));
    double lanes[2];
    _mm_storeu_pd(lanes, h);
    double r = lanes[0] + lanes[1];
    for (; i < n; ++i) r += a[i] * b[i];
    return r;
}

static bool CpuHasAvx2Fma()
{
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    const bool fma = (c & bit_FMA) != 0;
    const bool osxsave = (c & bit_OSXSAVE) != 0;
    const bool avx = (c & bit_AVX) != 0;
    if (!(fma && osxsave && avx)) return false;
    unsigned xcr0lo, xcr0hi;
    __asm__("xgetbv" : "=a"(xcr0lo), "=d"(xcr0hi) : "c"(0));
    if ((xcr0lo & 0x6) != 0x6) return false;  // the OS saves XMM and YMM state
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & bit_AVX2) != 0;
}

static bool CpuHasSse2()
{
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    return (d & bit_SSE2) != 0;
}

DotFunction DotKernelFor(DotIsa isa)
{
    switch (isa) {
    case DotIsa::Avx2Fma: return CpuHasAvx2Fma() ? DotAvx2 : nullptr;
    case DotIsa::Sse2: return CpuHasSse2() ? DotSse2 : nullptr;
    case DotIsa::Portable: break;
    }
    return DotPortable;
}

#else

DotFunction DotKernelFor(DotIsa isa) { return isa == DotIsa::Portable ? DotPortable : nullptr; }

#endif

DotFunction SelectDotKernel()
{
    for (DotIsa isa : {DotIsa::Avx2Fma, DotIsa::Sse2})
        if (DotFunction f = DotKernelFor(isa)) return f;
    return DotPortable;
}

}  // namespace Vantra
