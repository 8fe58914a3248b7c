#pragma once
// Counts every heap allocation of the process, on any thread, by replacing the global
// operator new. Include it in exactly one source file of a test or benchmark program.

#include <atomic>
#include <cstdlib>
#include <new>

namespace norvi::testkit {

inline std::atomic<long> g_allocations{0};

inline long Allocations() {
  return g_allocations.load(std::memory_order_relaxed);
}

}  // namespace norvi::testkit

void* operator new(std::size_t size) {
  norvi::testkit::g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
