#include "validate/PluginCalls.h"

#include <cstring>

#include "PluginDescription.h"

std::uint32_t ParamCount(TestContext& context, PluginLibrary& plugin) {
  const std::uint32_t count = Call32(plugin, HostCall::ParamCountQuery);
  if (count == ResultFailure) {
    context.Fail("code 4 (parameter count) answers ResultFailure");
    return 0;
  }
  if (count > maxParameterCount) {
    context.Fail("code 4 answers " + std::to_string(count) + " parameters");
    return 0;
  }
  return count;
}

std::vector<std::uint32_t> NumericParams(PluginLibrary& plugin, std::uint32_t count) {
  std::vector<std::uint32_t> indices;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (Call32(plugin, HostCall::ParamTypeQuery, i) != ParamTypeText) indices.push_back(i);
  }
  return indices;
}

void* CreateInstance(TestContext& context, PluginLibrary& plugin, std::uint32_t width,
                     std::uint32_t height) {
  const ViewportRecord viewport{0, 0, width, height};
  const MixedValue handle =
      CallPlugin(plugin, HostCall::InstanceCreate, MixedFromPointer(&viewport));
  if (IsFailurePointer(handle)) {
    context.Fail("code 18 (create instance) answers " + Hex(handle));
    return nullptr;
  }
  return reinterpret_cast<void*>(handle);
}

void DestroyInstance(TestContext& context, PluginLibrary& plugin, void* instance) {
  if (instance == nullptr) return;
  const std::uint32_t answer = Call32(plugin, HostCall::InstanceDestroy, 0, instance);
  if (answer != ResultSuccess) {
    context.Fail("code 19 (destroy instance) answers " + Hex(answer));
  }
}

float FloatFromBits(std::uint32_t bits) {
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::uint32_t BitsFromFloat(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

const std::vector<InterestingValue>& InterestingValues() {
  static const std::vector<InterestingValue> values = {
      {"0", 0x00000000u},
      {"1", 0x3F800000u},
      {"0.5", 0x3F000000u},
      {"subnormal", 0x00000001u},
      {"subnormal 1e-40", 0x000116C2u},
      {"-0", 0x80000000u},
      {"2", 0x40000000u},
      {"-1", 0xBF800000u},
      {"NaN", 0x7FC00000u},
      {"NaN with payload", 0x7FC12345u},
      {"-NaN", 0xFFC00000u},
      {"+inf", 0x7F800000u},
      {"-inf", 0xFF800000u},
      {"largest float", 0x7F7FFFFFu},
  };
  return values;
}
