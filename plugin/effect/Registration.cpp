#include <cstdint>

#include "effect/ZentrelV1.h"
#include "framework/PluginRegistration.h"

namespace {

#if UINTPTR_MAX == 0xFFFFFFFFu
constexpr const char* description = "Pass the input color into a sinus function. Version 1.5_32 ";
#else
constexpr const char* description = "Pass the input color into a sinus function. Version 1.5_64 ";
#endif

constexpr const char* about =
    "ZentrelFx colour wave: each channel through sin(frequency x value + phase + time)";

// Built while the library loads, before the host's first call; its
// constructor sets the registration pointer.
PluginRegistration registration(CreateEffect, "ZTW5", "ZentrelFx", 1, 500, 1, 0, PluginTypeEffect,
                                description, about, 0, nullptr);

}  // namespace
