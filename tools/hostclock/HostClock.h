#pragma once

#include <cstdint>

// The clock a plug-in reads, as seen from the host. On Linux the host
// executable defines clock_gettime itself and exports it, so the dynamic
// linker binds the plug-in's calls to it before libc's: while a fixed time is
// set, CLOCK_MONOTONIC answers that time, and every other clock (and the
// real time, once released) comes from the kernel as usual. Limits: it works
// for plug-ins that read the monotonic clock through libc's clock_gettime,
// not for ones that read it by system call or from the vDSO directly, and
// not on Windows, where the host cannot fix QueryPerformanceCounter.
namespace hostclock {

// True where interposition is built in (Linux).
bool Available();
// From now on CLOCK_MONOTONIC reads exactly `nanoseconds`.
void SetFixed(std::int64_t nanoseconds);
// Back to the real clock.
void UseReal();

}  // namespace hostclock
