#include "host/DescriptionInstance.h"

#include "framework/CFreeFrameGLPlugin.h"
#include "framework/PluginRegistration.h"

CFreeFrameGLPlugin* descriptionInstance = nullptr;

CFreeFrameGLPlugin* HaveDescriptionInstance() {
  if (descriptionInstance != nullptr) return descriptionInstance;
  if (registrationPointer == nullptr || registrationPointer->Factory() == nullptr) return nullptr;
  if (registrationPointer->Factory()(&descriptionInstance) == ResultFailure) {
    // A factory that failed but stored something anyway is not trusted.
    descriptionInstance = nullptr;
    return nullptr;
  }
  return descriptionInstance;
}

void CloseDescriptionInstance() {
  delete descriptionInstance;
  descriptionInstance = nullptr;
}
