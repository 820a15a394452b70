// Injected out-of-memory for tests: while armed, every allocation through
// operator new of at least `minBytes` throws std::bad_alloc, as a machine out
// of memory refuses large blocks first. Link allocation_failure.cpp into the
// test program to use it.
#pragma once

#include <cstddef>

namespace quorel::testing {

// Makes allocations of at least minBytes fail from now on.
void failAllocationsFrom(std::size_t minBytes);
// Allocations succeed again.
void allowAllocations();
// Allocations refused since the last failAllocationsFrom.
int refusedAllocations();

// Arms the failure for its lifetime.
struct AllocationFailure {
    explicit AllocationFailure(std::size_t minBytes) { failAllocationsFrom(minBytes); }
    ~AllocationFailure() { allowAllocations(); }
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;
};

}  // namespace quorel::testing
