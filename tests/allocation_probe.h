#pragma once

// Watches the allocations that the main thread makes through operator new,
// and makes a chosen one fail. Include it in one source file of a test
// binary only: it replaces the binary's global operator new and delete.

#include <cstdlib>
#include <new>
#include <set>

namespace karuta::testing {

class AllocationProbe;

namespace detail {
// The probe watching this thread, and whether the probe itself is allocating.
inline thread_local AllocationProbe* watching = nullptr;
inline thread_local bool bookkeeping = false;
}  // namespace detail

// Watches from its construction to its destruction.
class AllocationProbe {
 public:
  // failAt: the number (from 1) of the allocation that throws bad_alloc; 0 for none.
  explicit AllocationProbe(long failAt = 0) : failAt_(failAt) { detail::watching = this; }
  ~AllocationProbe() { detail::watching = nullptr; }
  AllocationProbe(const AllocationProbe&) = delete;
  AllocationProbe& operator=(const AllocationProbe&) = delete;

  long Count() const { return count_; }
  // The blocks allocated while watching that are not yet freed.
  std::set<void*> Live() const {
    detail::bookkeeping = true;
    std::set<void*> copy = live_;
    detail::bookkeeping = false;
    return copy;
  }

  // For operator new and delete only.
  void Allocating() {
    if (++count_ == failAt_) throw std::bad_alloc();
  }
  void Allocated(void* block) { Book([&] { live_.insert(block); }); }
  void Freed(void* block) { Book([&] { live_.erase(block); }); }

 private:
  template <class F>
  static void Book(F&& f) {
    detail::bookkeeping = true;
    f();
    detail::bookkeeping = false;
  }
  long failAt_;
  long count_ = 0;
  std::set<void*> live_;
};

}  // namespace karuta::testing

void* operator new(std::size_t size) {
  using karuta::testing::detail::bookkeeping;
  using karuta::testing::detail::watching;
  const bool watched = watching && !bookkeeping;
  if (watched) watching->Allocating();
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  if (watched) watching->Allocated(block);
  return block;
}

void operator delete(void* block) noexcept {
  using karuta::testing::detail::bookkeeping;
  using karuta::testing::detail::watching;
  if (block && watching && !bookkeeping) watching->Freed(block);
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
