#include "host/InstanceLifecycle.h"

#include "framework/CFreeFrameGLPlugin.h"
#include "framework/PluginRegistration.h"
#include "host/DescriptionInstance.h"

namespace {

// Every registered default, in index order, read from the description
// instance; false as soon as one write answers ResultFailure.
bool ApplyDefaults(CFreeFrameGLPlugin& instance, const CFreeFrameGLPlugin& description) {
  for (std::uint32_t i = 0; i < description.ParamCount(); ++i) {
    const std::uint32_t type = description.ParamTypeOf(i);
    const MixedValue value = description.ParamDefaultOf(i);
    const std::uint32_t answer =
        type == ParamTypeText ? instance.SetParamText(i, reinterpret_cast<const char*>(value))
                              : instance.SetParamValue(i, FloatFromMixed(value));
    if (answer == ResultFailure) return false;
  }
  return true;
}

}  // namespace

MixedValue CreateInstance(const ViewportRecord* viewport) {
  if (registrationPointer == nullptr || viewport == nullptr) return ResultFailureAllBits;
  const CFreeFrameGLPlugin* description = HaveDescriptionInstance();
  if (description == nullptr) return ResultFailureAllBits;

  const EffectFactory factory = registrationPointer->Factory();
  CFreeFrameGLPlugin* instance = nullptr;
  if (factory(&instance) == ResultFailure || instance == nullptr) {
    delete instance;
    return ResultFailureAllBits;
  }
  instance->displaySource = instance;

  if (!ApplyDefaults(*instance, *description)) {
    delete instance;
    return ResultFailureAllBits;
  }
  if (instance->SetupGL(viewport) != ResultSuccess) {
    instance->ReleaseGL();
    delete instance;
    return ResultFailureAllBits;
  }
  return MixedFromPointer(instance);
}

void DestroyInstance(CFreeFrameGLPlugin* instance) {
  if (instance->contextAttached) {
    instance->DetachContext();
    instance->contextAttached = false;
  }
  instance->ReleaseGL();
  delete instance;
}
