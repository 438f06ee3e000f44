#include "HeapCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

std::atomic<long> g_allocations{0};
std::atomic<long> g_heldBytes{0};

namespace {

// Each block carries its requested size in front of it, so that delete
// knows how much it releases; the header keeps the alignment of malloc.
constexpr std::size_t kHeader = alignof(std::max_align_t);

}  // namespace

void* operator new(std::size_t n) {
    ++g_allocations;
    if (auto* p = static_cast<unsigned char*>(std::malloc(kHeader + n))) {
        *reinterpret_cast<std::size_t*>(p) = n;
        g_heldBytes += static_cast<long>(n);
        return p + kHeader;
    }
    throw std::bad_alloc();
}

// Out of line, so that the compiler does not pair an inlined free with the
// new it sees at the call site.
__attribute__((noinline)) void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    g_heldBytes -= static_cast<long>(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
