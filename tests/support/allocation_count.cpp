#include "tests/support/allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

namespace valve_test {
long AllocationCount() { return gAllocations.load(); }
#if defined(__SANITIZE_ADDRESS__)
bool CountsAllocations() { return false; }
#else
bool CountsAllocations() { return true; }
#endif
}  // namespace valve_test

#if !defined(__SANITIZE_ADDRESS__)
// The replacements take their memory from malloc, so free is the matching
// release; GCC assumes the built-in new and would warn otherwise.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
#endif
