#include "HeldBytes.h"

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>

// The C library's allocator under its own names (glibc).
extern "C" {
void* __libc_malloc(std::size_t n);
void __libc_free(void* p);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t n);
void* __libc_memalign(std::size_t alignment, std::size_t n);
}

namespace {

// What a block really takes, its usable size, so that the count agrees with
// what the allocator hands out.
std::atomic<long> g_held{0};

void* Counted(void* p) {
    if (p != nullptr) g_held += static_cast<long>(malloc_usable_size(p));
    return p;
}

}  // namespace

long HeldBytes() {
    return g_held.load();
}

extern "C" {

void* malloc(std::size_t n) noexcept {
    return Counted(__libc_malloc(n));
}

void free(void* p) noexcept {
    if (p != nullptr) g_held -= static_cast<long>(malloc_usable_size(p));
    __libc_free(p);
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    return Counted(__libc_calloc(count, size));
}

void* realloc(void* p, std::size_t n) noexcept {
    const long old = p != nullptr ? static_cast<long>(malloc_usable_size(p)) : 0;
    void* q = __libc_realloc(p, n);
    if (q != nullptr || n == 0) g_held -= old;  // a failed realloc keeps p
    return Counted(q);
}

void* memalign(std::size_t alignment, std::size_t n) noexcept {
    return Counted(__libc_memalign(alignment, n));
}

void* aligned_alloc(std::size_t alignment, std::size_t n) noexcept {
    return memalign(alignment, n);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t n) noexcept {
    void* p = memalign(alignment, n);
    if (p == nullptr) return ENOMEM;
    *out = p;
    return 0;
}

}  // extern "C"
