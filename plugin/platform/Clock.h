#pragma once

#include <cstdint>

namespace platform {

// The performance counter the effect clock runs on: a steadily increasing
// tick count and its rate in ticks per second. On Windows these are
// QueryPerformanceCounter/QueryPerformanceFrequency; elsewhere the monotonic
// clock in nanoseconds (rate 10^9).
std::int64_t PerformanceFrequency();
std::int64_t PerformanceCounter();

}  // namespace platform
