#pragma once

#include <memory>
#include <vector>

#include "GLTestContext.h"
#include "HostClock.h"
#include "LoadedPlugin.h"

// Drives the built plug-in through plugMain on real GL, with the host
// holding the plug-in's monotonic clock where it can (Linux). An instance is
// created at clock time 0 (its set-up), so a frame at `seconds` sees exactly
// that much time. Where the clock cannot be held, only frames at Speed 0.5
// (which stands the wave still) have a known time: tests that need more
// skip themselves through RequireFixedClock.
class RenderFixture : public GLTestContext {
 protected:
  void SetUp() override;
  // True where frames see the time RenderAt asks for.
  static bool ClockIsFixed() { return hostclock::Available(); }
  void TearDown() override;

  void* CreateInstance();
  void DestroyInstance(void* instance);
  void SetParam(void* instance, std::uint32_t index, float value);
  // Sets the clock to `seconds` after set-up and renders one frame of
  // `texture` into whatever framebuffer is bound; answers plugMain's result.
  MixedValue RenderAt(void* instance, double seconds, TextureRecord texture);
  MixedValue RenderAt(void* instance, double seconds, const FrameRecord& frame);

  std::unique_ptr<PluginLibrary> plugin;
  static constexpr std::int64_t setupNanoseconds = 1000000000000;  // any fixed origin
};
