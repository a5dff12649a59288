#include "framework/CFreeFrameGLPlugin.h"

#include <cstdio>

namespace {

// Shared by every instance, as hosts expect; the longest "%f" text of an
// f32 is 47 characters, and snprintf cuts anything longer.
char displayBuffer[64];

}  // namespace

std::uint32_t CFreeFrameGLPlugin::SetupGL(const ViewportRecord*) { return ResultSuccess; }

std::uint32_t CFreeFrameGLPlugin::ReleaseGL() { return ResultSuccess; }

const char* CFreeFrameGLPlugin::ParamDisplayText(std::uint32_t index) {
  // The description instance has no display source; it answers for itself.
  CFreeFrameGLPlugin* source = displaySource != nullptr ? displaySource : this;
  const std::uint32_t type = source->ParamTypeOf(index);
  if (type == ResultFailure) return nullptr;
  if (type == ParamTypeText) return source->GetParamText(index);
  std::snprintf(displayBuffer, sizeof displayBuffer, "%f",
                static_cast<double>(source->GetParamValue(index)));
  return displayBuffer;
}

std::uint32_t CFreeFrameGLPlugin::SetParamValue(std::uint32_t, float) { return ResultFailure; }

std::uint32_t CFreeFrameGLPlugin::SetParamText(std::uint32_t, const char*) { return ResultFailure; }

float CFreeFrameGLPlugin::GetParamValue(std::uint32_t) { return 0.0f; }

const char* CFreeFrameGLPlugin::GetParamText(std::uint32_t) {
  return reinterpret_cast<const char*>(ResultFailureAllBits);
}

std::uint32_t CFreeFrameGLPlugin::RenderFrame(const FrameRecord*) { return ResultFailure; }

std::uint32_t CFreeFrameGLPlugin::SetHostTime(double) { return ResultFailure; }

std::uint32_t CFreeFrameGLPlugin::InputStatus(std::uint32_t index) {
  // Unsigned comparison: a negative maxInputs admits no index at all.
  const std::int32_t maxInputs = MaxInputs();
  if (maxInputs > 0 && index < static_cast<std::uint32_t>(maxInputs)) return InputInUse;
  return ResultFailure;
}

MixedValue CFreeFrameGLPlugin::PluginExtraValue() { return 0; }

std::uint32_t CFreeFrameGLPlugin::AttachContext() { return ResultSuccess; }

std::uint32_t CFreeFrameGLPlugin::DetachContext() { return ResultSuccess; }

std::uint32_t CFreeFrameGLPlugin::ResizeViewport(const ViewportRecord*) { return ResultSuccess; }
