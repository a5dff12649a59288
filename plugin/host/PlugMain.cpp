#include "host/PlugMain.h"

#include "framework/CFreeFrameGLPlugin.h"
#include "framework/PluginRegistration.h"
#include "host/DescriptionInstance.h"
#include "host/HostCall.h"
#include "host/InstanceLifecycle.h"

namespace {

constexpr MixedValue failure = MixedFromU32(ResultFailure);

// A capability answer, with negative input counts answered as 0.
std::uint32_t CapabilityOf(const CFreeFrameGLPlugin& description, std::uint32_t capability) {
  const auto nonNegative = [](std::int32_t count) {
    return count < 0 ? 0u : static_cast<std::uint32_t>(count);
  };
  switch (capability) {
    case CapabilityGL: return 1;
    case CapabilityHostTime: return description.WantsHostTime() ? 1 : 0;
    case CapabilityMinInputs: return nonNegative(description.MinInputs());
    case CapabilityMaxInputs: return nonNegative(description.MaxInputs());
    default: return 0;
  }
}

// Codes 8 and 9 take the parameter's type from the description instance,
// not from the instance itself.
bool IsTextParam(std::uint32_t index) {
  const CFreeFrameGLPlugin* description = HaveDescriptionInstance();
  return description != nullptr && description->ParamTypeOf(index) == ParamTypeText;
}

MixedValue PluginWide(HostCall call, std::uint32_t index) {
  // Code 5 and 33 fail with null, the others with ResultFailure.
  const bool answersPointer =
      call == HostCall::ParamNameQuery || call == HostCall::PluginExtraQuery;
  CFreeFrameGLPlugin* description = HaveDescriptionInstance();
  if (description == nullptr) return answersPointer ? 0 : failure;

  switch (call) {
    case HostCall::LibraryOpen: return ResultSuccess;
    case HostCall::ParamCountQuery: return MixedFromU32(description->ParamCount());
    case HostCall::ParamNameQuery: return MixedFromPointer(description->ParamNameOf(index));
    case HostCall::ParamDefaultQuery: return description->ParamDefaultOf(index);
    case HostCall::CapabilityQuery: return MixedFromU32(CapabilityOf(*description, index));
    case HostCall::ParamTypeQuery: return MixedFromU32(description->ParamTypeOf(index));
    case HostCall::ParamExtraAQuery:
      return MixedFromU32(static_cast<std::uint32_t>(description->ParamExtraAOf(index)));
    case HostCall::ParamExtraBQuery:
      return MixedFromU32(static_cast<std::uint32_t>(description->ParamExtraBOf(index)));
    case HostCall::PluginExtraQuery: return description->PluginExtraValue();
    default: return failure;
  }
}

MixedValue PerInstance(HostCall call, MixedValue input, CFreeFrameGLPlugin* instance) {
  const std::uint32_t index = U32FromMixed(input);
  switch (call) {
    case HostCall::ParamReadoutQuery:
      if (instance == nullptr) return ResultFailureAllBits;
      return MixedFromPointer(instance->ParamDisplayText(index));

    case HostCall::ParamWrite: {
      const auto* record = reinterpret_cast<const ParamWriteRecord*>(input);
      if (instance == nullptr || record == nullptr) return failure;
      if (IsTextParam(record->index)) {
        return MixedFromU32(instance->SetParamText(record->index, record->value.text));
      }
      return MixedFromU32(instance->SetParamValue(record->index, record->value.number));
    }

    case HostCall::ParamRead:
      if (instance == nullptr) return failure;
      if (IsTextParam(index)) return MixedFromPointer(instance->GetParamText(index));
      return MixedFromFloat(instance->GetParamValue(index));

    case HostCall::InputStatusQuery:
      if (instance == nullptr) return failure;
      return MixedFromU32(instance->InputStatus(index));

    case HostCall::FrameRender: {
      const auto* frame = reinterpret_cast<const FrameRecord*>(input);
      if (instance == nullptr || frame == nullptr) return failure;
      if (!instance->contextAttached) {
        instance->AttachContext();
        instance->contextAttached = true;
      }
      return MixedFromU32(instance->RenderFrame(frame));
    }

    case HostCall::InstanceDestroy:
      if (instance == nullptr) return failure;
      DestroyInstance(instance);
      return ResultSuccess;

    case HostCall::HostTimeSet: {
      const auto* time = reinterpret_cast<const double*>(input);
      if (instance == nullptr || time == nullptr) return failure;
      return MixedFromU32(instance->SetHostTime(*time));
    }

    case HostCall::ContextAttach: {
      if (instance == nullptr) return failure;
      const std::uint32_t answer = instance->AttachContext();
      if (answer == ResultSuccess) instance->contextAttached = true;
      return MixedFromU32(answer);
    }

    case HostCall::ContextDetach: {
      if (instance == nullptr) return failure;
      const std::uint32_t answer = instance->DetachContext();
      if (answer == ResultSuccess) instance->contextAttached = false;
      return MixedFromU32(answer);
    }

    case HostCall::ViewportResize:
      if (instance == nullptr) return failure;
      // Handed on unread, null included: the standard leaves it to the effect.
      return MixedFromU32(instance->ResizeViewport(reinterpret_cast<const ViewportRecord*>(input)));

    default: return failure;
  }
}

MixedValue Dispatch(std::uint32_t code, MixedValue input, void* handle) {
  const auto call = static_cast<HostCall>(code);
  auto* instance = static_cast<CFreeFrameGLPlugin*>(handle);
  switch (call) {
    case HostCall::InfoQuery:
      return MixedFromPointer(registrationPointer != nullptr ? registrationPointer->Info()
                                                             : nullptr);
    case HostCall::DetailsQuery:
      return MixedFromPointer(registrationPointer != nullptr ? registrationPointer->Details()
                                                             : nullptr);
    case HostCall::LibraryClose: CloseDescriptionInstance(); return ResultSuccess;
    case HostCall::InstanceCreate:
      return CreateInstance(reinterpret_cast<const ViewportRecord*>(input));

    case HostCall::LibraryOpen:
    case HostCall::ParamCountQuery:
    case HostCall::ParamNameQuery:
    case HostCall::ParamDefaultQuery:
    case HostCall::CapabilityQuery:
    case HostCall::ParamTypeQuery:
    case HostCall::ParamExtraAQuery:
    case HostCall::ParamExtraBQuery:
    case HostCall::PluginExtraQuery: return PluginWide(call, U32FromMixed(input));

    case HostCall::ParamReadoutQuery:
    case HostCall::ParamWrite:
    case HostCall::ParamRead:
    case HostCall::InputStatusQuery:
    case HostCall::FrameRender:
    case HostCall::InstanceDestroy:
    case HostCall::HostTimeSet:
    case HostCall::ContextAttach:
    case HostCall::ContextDetach:
    case HostCall::ViewportResize: return PerInstance(call, input, instance);
  }
  return failure;
}

// What a call answers when something inside it threw anyway.
MixedValue FailureOf(std::uint32_t code) {
  switch (static_cast<HostCall>(code)) {
    case HostCall::ParamReadoutQuery:
    case HostCall::InstanceCreate: return ResultFailureAllBits;
    case HostCall::ParamNameQuery:
    case HostCall::PluginExtraQuery: return 0;
    default: return failure;
  }
}

}  // namespace

FFGL_EXPORT MixedValue FFGL_CALL plugMain(std::uint32_t code, MixedValue input, void* instance) {
  try {
    return Dispatch(code, input, instance);
  } catch (...) {
    return FailureOf(code);
  }
}
