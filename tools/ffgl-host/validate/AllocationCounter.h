#pragma once

#include <cstdint>

// Counts heap allocations made from a plug-in's own code while armed. On
// Linux builds without sanitizers the validator's executable defines (and
// exports) malloc, calloc, realloc and operator new, forwarding to glibc;
// the dynamic linker then binds the plug-in's calls to them. A call counts
// when its return address lies in the plug-in's code, so the GL driver's
// own allocations during a frame are left out.
namespace allocations {

bool Available();
// The code segments of the shared object that holds `symbol`.
void WatchObjectOf(const void* symbol);
void Arm(bool armed);
std::uint64_t Count();

// Bytes in use on the heap right now, or -1 where that cannot be known.
long long LiveHeapBytes();

}  // namespace allocations
