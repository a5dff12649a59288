#include "effect/ZentrelV1.h"

#include <new>

namespace {

struct ParamDeclaration {
  ZentrelV1::ParamIndex index;
  const char* name;
  std::uint32_t type;
  float defaultValue;
};

constexpr ParamDeclaration paramDeclarations[ZentrelV1::paramTotal] = {
    {ZentrelV1::Speed, "Speed", ParamTypeStandard, 0.5f},
    {ZentrelV1::Phase, "Phase", ParamTypeStandard, 0.5f},
    {ZentrelV1::Frequence, "Frequence", ParamTypeStandard, 0.2f},
    {ZentrelV1::Saturation, "Saturation", ParamTypeStandard, 0.5f},
    {ZentrelV1::RGBDecal, "RGBDecal", ParamTypeStandard, 0.0f},
    {ZentrelV1::Amplitude, "Amplitude", ParamTypeStandard, 0.5f},
    {ZentrelV1::Range, "Range", ParamTypeStandard, 0.5f},
    {ZentrelV1::Threshold, "Threshold", ParamTypeStandard, 0.0f},
    {ZentrelV1::ProcessAlpha, "Process Alpha", ParamTypeBoolean, 0.0f},
};

}  // namespace

ZentrelV1::ZentrelV1() {
  SetMinInputs(1);
  SetMaxInputs(1);
  for (const ParamDeclaration& param : paramDeclarations) {
    AddParam(param.index, param.name, param.type, param.defaultValue);
    *ParamField(param.index) = param.defaultValue;
  }
}

float* ZentrelV1::ParamField(std::uint32_t index) {
  switch (index) {
    case Speed: return &speedValue;
    case Phase: return &phaseValue;
    case Frequence: return &frequenceValue;
    case Saturation: return &saturationValue;
    case RGBDecal: return &rgbDecalValue;
    case Amplitude: return &amplitudeValue;
    case Range: return &rangeValue;
    case Threshold: return &thresholdValue;
    case ProcessAlpha: return &processAlphaValue;
    default: return nullptr;
  }
}

std::uint32_t ZentrelV1::SetParamValue(std::uint32_t index, float value) {
  float* field = ParamField(index);
  if (field == nullptr) return ResultFailure;
  *field = value;
  return ResultSuccess;
}

float ZentrelV1::GetParamValue(std::uint32_t index) {
  const float* field = ParamField(index);
  return field != nullptr ? *field : 0.0f;
}

std::uint32_t CreateEffect(CFreeFrameGLPlugin** slot) {
  if (slot == nullptr) return ResultFailure;
  // A constructor that runs out of memory part-way has already freed the
  // parameters it registered when the exception reaches us.
  try {
    *slot = new ZentrelV1;
    return ResultSuccess;
  } catch (...) {
    *slot = nullptr;
    return ResultFailure;
  }
}
