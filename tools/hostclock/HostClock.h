#pragma once

#include <cstdint>

// The clock a plug-in reads, as seen from the host. On Linux the host
// executable defines clock_gettime itself and exports it, so the dynamic
// linker binds the plug-in's calls to it before libc's. While a fixed time
// is set, CLOCK_MONOTONIC read from inside the chosen module (the plug-in)
// answers that time; every other caller, the GL driver's threads above all,
// and every other clock keep the kernel's real time.
//
// Limits: it sees only plug-ins that read the monotonic clock through libc's
// clock_gettime (not by system call or straight from the vDSO), and it does
// nothing on Windows, where a host cannot replace QueryPerformanceCounter.
namespace hostclock {

// True where interposition is built in (Linux).
bool Available();
// Fixes the clock for callers inside the loaded module that contains
// `addressInModule` (for instance the plug-in's plugMain). False if no
// loaded module contains that address.
bool ApplyTo(const void* addressInModule);
// From now on CLOCK_MONOTONIC reads exactly `nanoseconds` for that module.
void SetFixed(std::int64_t nanoseconds);
// Back to the real clock.
void UseReal();

}  // namespace hostclock
