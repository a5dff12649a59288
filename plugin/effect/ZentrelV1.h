#pragma once

#include <cstdint>

#include "framework/CFreeFrameGLPlugin.h"
#include "shader/FFGLShader.h"

// The colour-wave effect: one input, nine parameters, a clock that turns
// real time into wave phase, and one GLSL program per instance.
class ZentrelV1 : public CFreeFrameGLPlugin {
 public:
  enum ParamIndex : std::uint32_t {
    Speed = 0,
    Phase = 1,
    Frequence = 2,
    Saturation = 3,
    RGBDecal = 4,
    Amplitude = 5,
    Range = 6,
    Threshold = 7,
    ProcessAlpha = 8,
  };
  static constexpr std::uint32_t paramTotal = 9;

  // Throws std::bad_alloc if a parameter cannot be registered; CreateEffect
  // turns that into ResultFailure.
  ZentrelV1();
  ~ZentrelV1() override = default;

  std::uint32_t SetupGL(const ViewportRecord* viewport) override;
  std::uint32_t ReleaseGL() override;
  std::uint32_t SetParamValue(std::uint32_t index, float value) override;
  float GetParamValue(std::uint32_t index) override;
  std::uint32_t RenderFrame(const FrameRecord* frame) override;

 private:
  // Null for an index that is not one of the nine.
  float* ParamField(std::uint32_t index);
  void AdvanceClock();

  // Stored in this order, which is not the index order: Speed comes late.
  float phaseValue = 0.5f;
  float frequenceValue = 0.2f;
  float saturationValue = 0.5f;
  float rgbDecalValue = 0.0f;
  float amplitudeValue = 0.5f;
  float rangeValue = 0.5f;
  float thresholdValue = 0.0f;
  float speedValue = 0.5f;
  float processAlphaValue = 0.0f;

  float viewportWidth = 0.0f;
  float viewportHeight = 0.0f;

  double currentTime = 0.0;
  double previousTime = 0.0;
  double ticksPerMillisecond = 0.0;
  std::int64_t startCounter = 0;
  float timeAccumulator = 0.0f;

  FFGLShader shader;

  struct UniformLocations {
    std::int32_t inputTexture = -1;
    std::int32_t paramV1 = -1;
    std::int32_t paramV2 = -1;
    std::int32_t paramV3 = -1;
    std::int32_t param1 = -1;
    std::int32_t mode = -1;
    std::int32_t time = -1;
    std::int32_t resolution = -1;
  } locations;
};

// The factory the registration record points to.
std::uint32_t CreateEffect(CFreeFrameGLPlugin** slot);
