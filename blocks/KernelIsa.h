// KernelIsa: the instruction sets that the span kernels (blocks/SpanKernels.h)
// are built for, and the choice among them on this processor.
//
// Every kernel computes the same bits whatever the instruction set, so the
// choice decides speed only. Blocks make it in Initialize from a public
// parameter (Best unless a test or benchmark pins one), by asking the CPU
// itself: there is no process-wide state and no start-up work.
#pragma once

namespace Vantra {

enum class KernelIsa { Best, Portable, Sse2, Avx2 };

// True when this build carries the kernels of isa and this processor (and
// its operating system) can run them. Best and Portable are always there.
bool KernelIsaAvailable(KernelIsa isa);

// What a requested instruction set comes to here: Best becomes the fastest
// available one; an unavailable one falls back to the next below it (Avx2,
// then Sse2, then Portable). Never returns Best.
KernelIsa ResolveKernelIsa(KernelIsa requested);

// "portable", "sse2", "avx2" or "best".
const char* KernelIsaName(KernelIsa isa);

}  // namespace Vantra
