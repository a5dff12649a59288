#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "GLTestContext.h"
#include "LoadedPlugin.h"

// This executable defines the global allocation functions and exports them,
// so the plug-in's own `new` binds to them: each test makes the k-th
// allocation of one call fail and checks that the call answers its failure
// value and leaves nothing allocated. Only allocations on the test's thread
// while armed are counted or failed; the GL driver's threads are left alone.
namespace {

struct AllocationWatch {
  bool armed = false;
  int failAt = 0;  // 1-based; 0 never fails
  int count = 0;
  void* live[64] = {};
  int liveCount = 0;
};
thread_local AllocationWatch watch;

void* Allocate(std::size_t size) {
  if (watch.armed) {
    if (++watch.count == watch.failAt) return nullptr;
    void* pointer = std::malloc(size == 0 ? 1 : size);
    if (pointer != nullptr && watch.liveCount < 64) watch.live[watch.liveCount++] = pointer;
    return pointer;
  }
  return std::malloc(size == 0 ? 1 : size);
}

void Release(void* pointer) {
  for (int i = 0; i < watch.liveCount; ++i) {
    if (watch.live[i] == pointer) {
      watch.live[i] = watch.live[--watch.liveCount];
      break;
    }
  }
  std::free(pointer);
}

}  // namespace

void* operator new(std::size_t size) {
  void* pointer = Allocate(size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }

namespace {

class OutOfMemory : public GLTestContext {
 protected:
  // Runs `call` with its k-th allocation failing; answers its result and
  // whether anything it allocated is still alive afterwards.
  template <typename CallFn>
  MixedValue WithFailingAllocation(int k, CallFn call, int* leftAlive) {
    watch = AllocationWatch{};
    watch.failAt = k;
    watch.armed = true;
    const MixedValue result = call();
    watch.armed = false;
    *leftAlive = watch.liveCount;
    return result;
  }
};

TEST_F(OutOfMemory, EveryAllocationOfDescriptionAndInstanceCanFail) {
  auto plugin = LoadZentrel();
  ASSERT_TRUE(plugin);
  ViewportRecord viewport{0, 0, 4, 4};
  // Code 18 on a fresh library first makes the description instance, then
  // the instance: ten allocations each (the object and nine parameters)
  // before any GL work begins.
  for (int k = 1; k <= 20; ++k) {
    Call(*plugin, HostCall::LibraryClose);
    int leftAlive = -1;
    const MixedValue result = WithFailingAllocation(
        k, [&] { return Call(*plugin, HostCall::InstanceCreate, MixedFromPointer(&viewport)); },
        &leftAlive);
    EXPECT_EQ(result, ResultFailureAllBits) << "allocation " << k;
    ASSERT_GE(watch.count, k) << "the plug-in's allocations did not reach this executable";
    // The description instance, once made, is kept until code 2.
    Call(*plugin, HostCall::LibraryClose);
    EXPECT_EQ(watch.liveCount, 0) << "allocation " << k << " left memory behind";
  }
  for (int k = 1; k <= 10; ++k) {
    Call(*plugin, HostCall::LibraryClose);
    int leftAlive = -1;
    EXPECT_EQ(WithFailingAllocation(
                  k, [&] { return Call(*plugin, HostCall::ParamCountQuery); }, &leftAlive),
              MixedFromU32(ResultFailure))
        << "allocation " << k;
    EXPECT_EQ(leftAlive, 0) << "allocation " << k << " left memory behind";
    int unused = 0;
    EXPECT_EQ(WithFailingAllocation(
                  k, [&] { return Call(*plugin, HostCall::ParamNameQuery, 0); }, &unused),
              MixedValue{0})
        << "code 5 fails with null";
  }
  Call(*plugin, HostCall::LibraryClose);
  // With memory back, everything works again.
  EXPECT_EQ(Call(*plugin, HostCall::ParamCountQuery), MixedValue{9});
  Call(*plugin, HostCall::LibraryClose);
}

}  // namespace
