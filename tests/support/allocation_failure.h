// Injected out-of-memory for tests: while armed, every allocation through
// operator new of at least `minBytes` throws std::bad_alloc, as a machine out
// of memory refuses large blocks first. Link allocation_failure.cpp into the
// test program to use it.
#pragma once

#include <cstddef>

namespace quorel::testing {

// Allocations refused since the last AllocationFailure was armed.
int refusedAllocations();

// Makes allocations of at least minBytes fail for its lifetime.
struct AllocationFailure {
    explicit AllocationFailure(std::size_t minBytes);
    ~AllocationFailure();
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;
};

}  // namespace quorel::testing
