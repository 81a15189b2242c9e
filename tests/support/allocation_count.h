// Heap allocations counted for the whole process: a test compiles
// allocation_count.cpp in, and every operator new from then on counts,
// a dlopened module's too (it binds to the executable's definition).
// AddressSanitizer brings its own allocation functions, and memory from one
// may reach the other's release, so under it nothing is replaced or counted.
#pragma once

namespace valve_test {

// False under AddressSanitizer: a test then skips its count.
bool CountsAllocations();
// Allocations since the process started; compare two readings.
long AllocationCount();

}  // namespace valve_test
