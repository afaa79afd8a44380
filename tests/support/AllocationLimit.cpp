#include "AllocationLimit.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::size_t> limit{std::numeric_limits<std::size_t>::max()};

void* Allocate(std::size_t bytes) noexcept {
    if (bytes > limit.load(std::memory_order_relaxed))
        return nullptr;
    return std::malloc(bytes == 0 ? 1 : bytes);
}

}  // namespace

namespace qm::test {

AllocationLimit::AllocationLimit(std::size_t bytes) : previous_(limit.exchange(bytes)) {}
AllocationLimit::~AllocationLimit() {
    limit.store(previous_);
}

}  // namespace qm::test

void* operator new(std::size_t bytes) {
    if (void* memory = Allocate(bytes))
        return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t bytes) {
    return operator new(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return Allocate(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return Allocate(bytes);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
