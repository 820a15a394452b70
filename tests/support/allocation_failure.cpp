// Replaces the global operator new and delete of the test program with
// malloc-based ones that can be told to refuse large blocks.
#include "allocation_failure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> gMinBytes{0};  // 0: never refuse
std::atomic<int> gRefused{0};

void* allocate(std::size_t size) {
    const std::size_t min = gMinBytes.load(std::memory_order_relaxed);
    if (min != 0 && size >= min) {
        gRefused.fetch_add(1, std::memory_order_relaxed);
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

void* allocateNoThrow(std::size_t size) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

namespace quorel::testing {

AllocationFailure::AllocationFailure(std::size_t minBytes) {
    gRefused = 0;
    gMinBytes = minBytes == 0 ? 1 : minBytes;
}

AllocationFailure::~AllocationFailure() {
    gMinBytes = 0;
}

int refusedAllocations() {
    return gRefused;
}

}  // namespace quorel::testing

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateNoThrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateNoThrow(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
