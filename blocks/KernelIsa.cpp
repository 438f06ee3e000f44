#include "blocks/KernelIsa.h"

#include "blocks/SpanKernels.h"

// The vector kernels are offered only where the scalar arithmetic is SSE2
// too (always on x86-64; with -msse2 -mfpmath=sse on 32-bit x86): x87
// arithmetic would round the scalar tails of a span differently.
#if (defined(__x86_64__) || defined(__i386__)) && defined(__SSE2_MATH__)
#include <cpuid.h>
#define VANTRA_X86 1
#endif

namespace Vantra {

namespace {

#ifdef VANTRA_X86

bool CpuHasSse2() {
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    return (d & bit_SSE2) != 0;
}

// AVX2 needs the instruction set and an operating system that saves the
// YMM registers on a context switch (XCR0 bits 1 and 2).
bool CpuHasAvx2() {
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    if ((c & bit_OSXSAVE) == 0 || (c & bit_AVX) == 0) return false;
    unsigned xcr0lo, xcr0hi;
    __asm__("xgetbv" : "=a"(xcr0lo), "=d"(xcr0hi) : "c"(0));
    if ((xcr0lo & 0x6) != 0x6) return false;
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & bit_AVX2) != 0;
}

#endif

}  // namespace

bool KernelIsaAvailable(KernelIsa isa) {
    switch (isa) {
        case KernelIsa::Best:
        case KernelIsa::Portable:
            return true;
#ifdef VANTRA_X86
        case KernelIsa::Sse2:
            return Sse2SpanKernels() != nullptr && CpuHasSse2();
        case KernelIsa::Avx2:
            return Avx2SpanKernels() != nullptr && CpuHasAvx2();
#endif
        default:
            return false;
    }
}

KernelIsa ResolveKernelIsa(KernelIsa requested) {
    // From the requested one downwards, the first that is available.
    const KernelIsa order[] = {KernelIsa::Avx2, KernelIsa::Sse2, KernelIsa::Portable};
    bool reached = requested == KernelIsa::Best;
    for (KernelIsa isa : order) {
        reached = reached || isa == requested;
        if (reached && KernelIsaAvailable(isa)) return isa;
    }
    return KernelIsa::Portable;
}

const char* KernelIsaName(KernelIsa isa) {
    switch (isa) {
        case KernelIsa::Best:
            return "best";
        case KernelIsa::Portable:
            return "portable";
        case KernelIsa::Sse2:
            return "sse2";
        case KernelIsa::Avx2:
            return "avx2";
    }
    return "unknown";
}

}  // namespace Vantra
