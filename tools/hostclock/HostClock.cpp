#include "HostClock.h"

#if defined(__linux__)

#include <dlfcn.h>
#include <time.h>

#include <atomic>

namespace {

std::atomic<bool> fixed{false};
std::atomic<std::int64_t> fixedNanoseconds{0};

using ClockGettime = int (*)(clockid_t, timespec*);

ClockGettime RealClockGettime() {
  static const auto real = reinterpret_cast<ClockGettime>(dlsym(RTLD_NEXT, "clock_gettime"));
  return real;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int clock_gettime(clockid_t clock,
                                                                   timespec* time) {
  if (clock == CLOCK_MONOTONIC && fixed.load(std::memory_order_relaxed)) {
    const std::int64_t now = fixedNanoseconds.load(std::memory_order_relaxed);
    time->tv_sec = static_cast<time_t>(now / 1000000000);
    time->tv_nsec = static_cast<long>(now % 1000000000);
    return 0;
  }
  return RealClockGettime()(clock, time);
}

namespace hostclock {
bool Available() { return true; }
void SetFixed(std::int64_t nanoseconds) {
  fixedNanoseconds.store(nanoseconds, std::memory_order_relaxed);
  fixed.store(true, std::memory_order_relaxed);
}
void UseReal() { fixed.store(false, std::memory_order_relaxed); }
}  // namespace hostclock

#else

namespace hostclock {
bool Available() { return false; }
void SetFixed(std::int64_t) {}
void UseReal() {}
}  // namespace hostclock

#endif
