#include "RenderFixture.h"

#include <cmath>

void RenderFixture::SetUp() {
  GLTestContext::SetUp();
  if (IsSkipped()) return;
  plugin = LoadZentrel();
  ASSERT_TRUE(plugin);
}

void RenderFixture::TearDown() {
  if (plugin) Call(*plugin, HostCall::LibraryClose);
  hostclock::UseReal();
}

void* RenderFixture::CreateInstance() {
  ViewportRecord viewport{0, 0, 1, 1};
  hostclock::SetFixed(setupNanoseconds);
  const MixedValue handle = Call(*plugin, HostCall::InstanceCreate, MixedFromPointer(&viewport));
  EXPECT_NE(handle, ResultFailureAllBits);
  return AsHandle(handle);
}

void RenderFixture::DestroyInstance(void* instance) {
  EXPECT_EQ(Call(*plugin, HostCall::InstanceDestroy, 0, instance), MixedValue{ResultSuccess});
}

void RenderFixture::SetParam(void* instance, std::uint32_t index, float value) {
  ParamWriteRecord write{};
  write.index = index;
  write.value.number = value;
  EXPECT_EQ(Call(*plugin, HostCall::ParamWrite, MixedFromPointer(&write), instance),
            MixedValue{ResultSuccess});
}

MixedValue RenderFixture::RenderAt(void* instance, double seconds, const FrameRecord& frame) {
  hostclock::SetFixed(setupNanoseconds + std::llround(seconds * 1e9));
  return Call(*plugin, HostCall::FrameRender, MixedFromPointer(&frame), instance);
}

MixedValue RenderFixture::RenderAt(void* instance, double seconds, TextureRecord texture) {
  TextureRecord* inputs[] = {&texture};
  const FrameRecord frame{1, inputs};
  return RenderAt(instance, seconds, frame);
}
