#pragma once

#include <string>
#include <vector>

#include "framework/CFreeFrameGLPlugin.h"

// A test effect that logs every slot the entry point calls and answers as
// the current script says. Registered (with its factory) by
// RecordingEffect.cpp, so plugMain in this binary drives it.
struct RecordingScript {
  enum class Factory { Succeed, Fail, SucceedWithoutInstance, FailButStoreInstance };
  Factory factory = Factory::Succeed;
  std::uint32_t setupAnswer = ResultSuccess;
  std::uint32_t releaseAnswer = ResultSuccess;
  std::uint32_t attachAnswer = ResultSuccess;
  std::uint32_t detachAnswer = ResultSuccess;
  std::uint32_t renderAnswer = ResultSuccess;
  // The default write for this index answers defaultAnswer; others succeed.
  std::uint32_t defaultIndexToAnswer = 0xFFFFFFFFu;
  std::uint32_t defaultAnswer = ResultSuccess;
};

extern RecordingScript script;
extern std::vector<std::string> slotLog;
extern int liveEffects;

// Index 0 and 1 numeric (defaults 0.25 and 0.75), index 2 a text parameter.
class RecordingEffect : public CFreeFrameGLPlugin {
 public:
  RecordingEffect();
  ~RecordingEffect() override;

  std::uint32_t SetupGL(const ViewportRecord*) override;
  std::uint32_t ReleaseGL() override;
  std::uint32_t SetParamValue(std::uint32_t index, float value) override;
  std::uint32_t SetParamText(std::uint32_t index, const char* text) override;
  float GetParamValue(std::uint32_t index) override;
  const char* GetParamText(std::uint32_t index) override;
  std::uint32_t RenderFrame(const FrameRecord*) override;
  std::uint32_t AttachContext() override;
  std::uint32_t DetachContext() override;

  float values[2] = {-1.0f, -1.0f};
  const char* text = "constructed";
};
