#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PluginLibrary.h"
#include "validate/ValidateTest.h"

// The calls a validator makes over and over, each checking the answer the
// standard promises and failing the test with a plain reason otherwise.

inline MixedValue CallPlugin(PluginLibrary& plugin, HostCall call, MixedValue input = 0,
                             void* instance = nullptr) {
  return plugin.Call(Code(call), input, instance);
}
inline std::uint32_t Call32(PluginLibrary& plugin, HostCall call, MixedValue input = 0,
                            void* instance = nullptr) {
  return U32FromMixed(plugin.Call(Code(call), input, instance));
}

// The parameter count, or 0 (test failed) when the plug-in answers none or
// an absurd one.
std::uint32_t ParamCount(TestContext& context, PluginLibrary& plugin);
// Indices of the parameters that are not text parameters.
std::vector<std::uint32_t> NumericParams(PluginLibrary& plugin, std::uint32_t count);

// A handle from code 18, or null with the test failed.
void* CreateInstance(TestContext& context, PluginLibrary& plugin, std::uint32_t width = 64,
                     std::uint32_t height = 64);
void DestroyInstance(TestContext& context, PluginLibrary& plugin, void* instance);

// A FrameRecord with one input, owned by the caller.
struct FrameInput {
  TextureRecord texture{};
  TextureRecord* pointers[1] = {&texture};
  FrameRecord frame{1, pointers};

  FrameInput(std::uint32_t textureId, std::uint32_t width, std::uint32_t height) {
    texture = TextureRecord{width, height, width, height, textureId};
  }
  FrameInput(const FrameInput&) = delete;
  FrameInput& operator=(const FrameInput&) = delete;
  MixedValue Record() const { return MixedFromPointer(&frame); }
};

// f32 bit patterns every numeric parameter must carry unchanged.
struct InterestingValue {
  const char* name;
  std::uint32_t bits;
};
const std::vector<InterestingValue>& InterestingValues();
float FloatFromBits(std::uint32_t bits);
std::uint32_t BitsFromFloat(float value);
