#include "FrameClock.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "HostClock.h"

#if defined(__linux__)
#include <time.h>
#endif

namespace {

// Far enough from 0 that nothing a plug-in computes from it is negative or
// looks like "not started".
constexpr std::int64_t fixedStartNanoseconds = 1000LL * 1000000000LL;

}  // namespace

double WallSeconds() {
#if defined(__linux__)
  // CLOCK_MONOTONIC_RAW: not the interposed CLOCK_MONOTONIC.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_RAW, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#else
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

FrameClock::~FrameClock() { hostclock::UseReal(); }

bool FrameClock::CanFix() { return hostclock::Available(); }

void FrameClock::BeforeSetup() {
  if (realtime) {
    hostclock::UseReal();
  } else {
    hostclock::SetFixed(fixedStartNanoseconds);
  }
}

void FrameClock::BeforeFrame(long index) {
  if (!realtime) {
    // Rounded once from the exact quotient, never accumulated: frame i is
    // i / fps seconds after set-up to the nanosecond whatever came before.
    const long double offset = static_cast<long double>(index) * 1e9L / fps;
    hostclock::SetFixed(fixedStartNanoseconds + static_cast<std::int64_t>(std::llround(offset)));
    return;
  }
  const double now = WallSeconds();
  if (index == 0) start = now;
  const double due = start + static_cast<double>(index) / fps;
  if (due > now) std::this_thread::sleep_for(std::chrono::duration<double>(due - now));
}
