#include "AllocationLimit.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();
std::atomic<std::size_t> limit{kNoLimit};
std::atomic<std::size_t> held{0};  // bytes operator new holds now
std::atomic<std::size_t> ceiling{kNoLimit};

void* Allocate(std::size_t bytes) noexcept {
    if (bytes > limit.load(std::memory_order_relaxed))
        return nullptr;
    void* memory = std::malloc(bytes == 0 ? 1 : bytes);
    if (memory == nullptr)
        return nullptr;
    const std::size_t size = ::malloc_usable_size(memory);
    if (held.fetch_add(size, std::memory_order_relaxed) + size > ceiling.load(std::memory_order_relaxed)) {
        held.fetch_sub(size, std::memory_order_relaxed);
        std::free(memory);
        return nullptr;
    }
    return memory;
}

void Release(void* memory) noexcept {
    if (memory == nullptr)
        return;
    held.fetch_sub(::malloc_usable_size(memory), std::memory_order_relaxed);
    std::free(memory);
}

}  // namespace

namespace qm::test {

AllocationLimit::AllocationLimit(std::size_t bytes) : previous_(limit.exchange(bytes)) {}
AllocationLimit::~AllocationLimit() {
    limit.store(previous_);
}

HeapCeiling::HeapCeiling(std::size_t bytes) : previous_(ceiling.exchange(held.load() + bytes)) {}
HeapCeiling::~HeapCeiling() {
    ceiling.store(previous_);
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
    Release(memory);
}
void operator delete[](void* memory) noexcept {
    Release(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    Release(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    Release(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    Release(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    Release(memory);
}
