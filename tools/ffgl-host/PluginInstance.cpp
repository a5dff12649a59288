#include "PluginInstance.h"

#include "RenderOptions.h"
#include "host/HostCall.h"

namespace {

constexpr std::size_t maxDisplayTextLength = 4096;

MixedValue Call(const PluginLibrary& plugin, HostCall code, MixedValue input, void* instance) {
  return plugin.Call(static_cast<std::uint32_t>(code), input, instance);
}

}  // namespace

std::unique_ptr<PluginInstance> PluginInstance::Create(const PluginLibrary& plugin,
                                                       const ViewportRecord& viewport,
                                                       std::string& error) {
  const MixedValue answer =
      Call(plugin, HostCall::InstanceCreate, MixedFromPointer(&viewport), nullptr);
  // Failure is all bits set; null and a 32-bit failure are no handle either.
  if (answer == 0 || answer == ResultFailureAllBits || answer == MixedFromU32(ResultFailure)) {
    error = "plug-in refuses to create an instance (code 18)";
    return nullptr;
  }
  return std::unique_ptr<PluginInstance>(
      new PluginInstance(plugin, reinterpret_cast<void*>(answer)));
}

PluginInstance::~PluginInstance() { Call(plugin, HostCall::InstanceDestroy, 0, handle); }

bool PluginInstance::SetParameter(const ParameterDescription& param, const std::string& value,
                                  std::string& error) {
  ParamWriteRecord record{};
  record.index = param.index;
  if (param.type == ParamTypeText) {
    record.value.text = value.c_str();
  } else {
    double number = 0.0;
    if (!ParseNumber(value, number)) {
      error = "value '" + value + "' of parameter '" + param.name + "' is not a number";
      return false;
    }
    record.value.number = static_cast<float>(number);
  }
  const MixedValue answer = Call(plugin, HostCall::ParamWrite, MixedFromPointer(&record), handle);
  if (U32FromMixed(answer) != ResultSuccess) {
    error = "plug-in refuses value '" + value + "' for parameter '" + param.name + "' (code 8)";
    return false;
  }
  return true;
}

bool PluginInstance::RenderFrame(TextureRecord* input, long frameIndex, std::string& error) {
  TextureRecord* inputs[1] = {input};
  FrameRecord frame{};
  frame.inputCount = input != nullptr ? 1 : 0;
  frame.inputs = input != nullptr ? inputs : nullptr;
  const MixedValue answer = Call(plugin, HostCall::FrameRender, MixedFromPointer(&frame), handle);
  if (U32FromMixed(answer) != ResultSuccess) {
    error = "plug-in refuses to render frame " + std::to_string(frameIndex) + " (code 17)";
    return false;
  }
  return true;
}

bool PluginInstance::DisplayText(std::uint32_t index, std::string& text) const {
  const MixedValue answer = Call(plugin, HostCall::ParamReadoutQuery, MixedFromU32(index), handle);
  if (answer == 0 || answer == ResultFailureAllBits) return false;
  bool terminated = false;
  text = BoundedText(reinterpret_cast<const char*>(answer), maxDisplayTextLength, &terminated);
  return true;
}
