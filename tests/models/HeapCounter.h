// The network tests' own operator new and delete count every allocation
// of the test program and the bytes it holds, so that a test can prove
// that running a network allocates nothing and bound what it holds.
#pragma once

#include <atomic>

extern std::atomic<long> g_allocations;  // allocations so far
extern std::atomic<long> g_heldBytes;    // bytes requested and not yet released
