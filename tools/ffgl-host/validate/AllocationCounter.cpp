#include "validate/AllocationCounter.h"

#include <cstddef>
#include <new>
#include <string_view>

#if defined(__linux__)
#include <dlfcn.h>
#include <link.h>
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define FFGL_HOST_SANITIZER_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FFGL_HOST_SANITIZER_HEAP 1
#endif
#endif
#if defined(FFGL_HOST_SANITIZER_HEAP)
// The sanitizer runtime's own count; glibc's mallinfo knows nothing of it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

std::uintptr_t watchedBegin[8];
std::uintptr_t watchedEnd[8];
int watchedCount = 0;
bool armed = false;
std::uint64_t counted = 0;

inline void Note(const void* caller) {
  if (!armed) return;
  const auto address = reinterpret_cast<std::uintptr_t>(caller);
  for (int i = 0; i < watchedCount; ++i) {
    if (address >= watchedBegin[i] && address < watchedEnd[i]) {
      ++counted;
      return;
    }
  }
}

#if defined(__linux__)
struct Search {
  const char* name;
};

int CollectSegments(dl_phdr_info* info, std::size_t, void* data) {
  const auto* search = static_cast<Search*>(data);
  if (info->dlpi_name == nullptr || std::string_view(info->dlpi_name) != search->name) return 0;
  for (int i = 0; i < info->dlpi_phnum && watchedCount < 8; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD || (segment.p_flags & PF_X) == 0) continue;
    watchedBegin[watchedCount] = info->dlpi_addr + segment.p_vaddr;
    watchedEnd[watchedCount] = info->dlpi_addr + segment.p_vaddr + segment.p_memsz;
    ++watchedCount;
  }
  return 1;
}
#endif

}  // namespace

#if defined(__linux__) && !defined(FFGL_HOST_NO_ALLOCATION_HOOKS)

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

__attribute__((visibility("default"))) void* malloc(std::size_t size) {
  Note(__builtin_return_address(0));
  return __libc_malloc(size);
}
__attribute__((visibility("default"))) void* calloc(std::size_t count, std::size_t size) {
  Note(__builtin_return_address(0));
  return __libc_calloc(count, size);
}
__attribute__((visibility("default"))) void* realloc(void* pointer, std::size_t size) {
  Note(__builtin_return_address(0));
  return __libc_realloc(pointer, size);
}
}

namespace {
void* NewOrThrow(std::size_t size, const void* caller) {
  Note(caller);
  void* memory = __libc_malloc(size == 0 ? 1 : size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}
}  // namespace

void* operator new(std::size_t size) { return NewOrThrow(size, __builtin_return_address(0)); }
void* operator new[](std::size_t size) { return NewOrThrow(size, __builtin_return_address(0)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  Note(__builtin_return_address(0));
  return __libc_malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  Note(__builtin_return_address(0));
  return __libc_malloc(size == 0 ? 1 : size);
}

bool allocations::Available() { return true; }

#else

bool allocations::Available() { return false; }

#endif

void allocations::WatchObjectOf(const void* symbol) {
  watchedCount = 0;
#if defined(__linux__)
  Dl_info info{};
  if (dladdr(symbol, &info) == 0 || info.dli_fname == nullptr) return;
  Search search{info.dli_fname};
  dl_iterate_phdr(CollectSegments, &search);
#else
  (void)symbol;
#endif
}

void allocations::Arm(bool on) { armed = on; }

std::uint64_t allocations::Count() { return counted; }

long long allocations::LiveHeapBytes() {
#if defined(FFGL_HOST_SANITIZER_HEAP)
  return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
  return static_cast<long long>(mallinfo2().uordblks);
#else
  return -1;
#endif
}
