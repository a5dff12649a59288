#include "HostClock.h"

#if defined(__linux__)

#include <link.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

namespace {

std::atomic<bool> fixed{false};
std::atomic<std::int64_t> fixedNanoseconds{0};
// The address range of the module whose calls see the fixed time.
std::atomic<std::uintptr_t> moduleStart{0};
std::atomic<std::uintptr_t> moduleEnd{0};

// The kernel's clock, asked directly: looking libc's up with dlsym would
// allocate on whichever thread first reads a clock.
int KernelClockGettime(clockid_t clock, timespec* time) {
  return static_cast<int>(syscall(SYS_clock_gettime, clock, time));
}

struct RangeSearch {
  std::uintptr_t address;
  std::uintptr_t start;
  std::uintptr_t end;
};

int FindModule(dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<RangeSearch*>(data);
  std::uintptr_t start = UINTPTR_MAX;
  std::uintptr_t end = 0;
  bool contains = false;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& header = info->dlpi_phdr[i];
    if (header.p_type != PT_LOAD) continue;
    const std::uintptr_t segmentStart = info->dlpi_addr + header.p_vaddr;
    const std::uintptr_t segmentEnd = segmentStart + header.p_memsz;
    if (segmentStart < start) start = segmentStart;
    if (segmentEnd > end) end = segmentEnd;
    if (search->address >= segmentStart && search->address < segmentEnd) contains = true;
  }
  if (!contains) return 0;
  search->start = start;
  search->end = end;
  return 1;
}

}  // namespace

extern "C" __attribute__((visibility("default"), noinline)) int clock_gettime(clockid_t clock,
                                                                              timespec* time) {
  if (clock == CLOCK_MONOTONIC && fixed.load(std::memory_order_relaxed)) {
    const auto caller = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    if (caller >= moduleStart.load(std::memory_order_relaxed) &&
        caller < moduleEnd.load(std::memory_order_relaxed)) {
      const std::int64_t now = fixedNanoseconds.load(std::memory_order_relaxed);
      time->tv_sec = static_cast<time_t>(now / 1000000000);
      time->tv_nsec = static_cast<long>(now % 1000000000);
      return 0;
    }
  }
  return KernelClockGettime(clock, time);
}

namespace hostclock {

bool Available() { return true; }

bool ApplyTo(const void* addressInModule) {
  RangeSearch search{reinterpret_cast<std::uintptr_t>(addressInModule), 0, 0};
  if (dl_iterate_phdr(FindModule, &search) == 0) return false;
  moduleStart.store(search.start, std::memory_order_relaxed);
  moduleEnd.store(search.end, std::memory_order_relaxed);
  return true;
}

void SetFixed(std::int64_t nanoseconds) {
  fixedNanoseconds.store(nanoseconds, std::memory_order_relaxed);
  fixed.store(true, std::memory_order_relaxed);
}

void UseReal() { fixed.store(false, std::memory_order_relaxed); }

}  // namespace hostclock

#else

namespace hostclock {
bool Available() { return false; }
bool ApplyTo(const void*) { return false; }
void SetFixed(std::int64_t) {}
void UseReal() {}
}  // namespace hostclock

#endif
