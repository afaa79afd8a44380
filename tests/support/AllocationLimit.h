#pragma once

#include <cstddef>

namespace qm::test {

// Linking AllocationLimit.cpp replaces operator new for the whole executable: every allocation
// goes to malloc, and a failure throws std::bad_alloc as a real shortage of memory does. Under
// AddressSanitizer, whose own operator new aborts instead, that is the only way a program sees
// bad_alloc (with ASAN_OPTIONS=allocator_may_return_null=1).
//
// While an object lives, any single allocation above `bytes` fails so as well.
class AllocationLimit {
  public:
    explicit AllocationLimit(std::size_t bytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

  private:
    std::size_t previous_;
};

// While an object lives, an allocation through operator new fails so when the memory it holds
// would grow more than `bytes` above what it held when the object was made: a machine with
// that much memory to spare.
class HeapCeiling {
  public:
    explicit HeapCeiling(std::size_t bytes);
    ~HeapCeiling();
    HeapCeiling(const HeapCeiling&) = delete;
    HeapCeiling& operator=(const HeapCeiling&) = delete;

  private:
    std::size_t previous_;
};

}  // namespace qm::test
