#include "blocks/SpanKernels.h"

namespace Vantra {

const SpanKernels& SpanKernelsFor(KernelIsa isa) {
    const SpanKernels* k = nullptr;
    switch (ResolveKernelIsa(isa)) {
        case KernelIsa::Avx2:
            k = Avx2SpanKernels();
            break;
        case KernelIsa::Sse2:
            k = Sse2SpanKernels();
            break;
        default:
            break;
    }
    return k != nullptr ? *k : *PortableSpanKernels();
}

}  // namespace Vantra
