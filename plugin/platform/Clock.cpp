#include "platform/Clock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace platform {

#if defined(_WIN32)

std::int64_t PerformanceFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

std::int64_t PerformanceCounter() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

#else

std::int64_t PerformanceFrequency() { return 1000000000; }

std::int64_t PerformanceCounter() {
  // Read through libc's clock_gettime on purpose: a host may interpose it to
  // give the plug-in a reproducible clock.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

#endif

}  // namespace platform
