#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PluginLibrary.h"
#include "host/HostCall.h"
#include "host/HostRecords.h"

// The built ZentrelV1 library, loaded the way a host loads it. The path
// comes from the build (ZENTREL_PLUGIN_PATH).
inline std::unique_ptr<PluginLibrary> LoadZentrel() {
  std::string error;
  auto plugin = PluginLibrary::Open(ZENTREL_PLUGIN_PATH, error);
  EXPECT_TRUE(plugin) << error;
  return plugin;
}

inline MixedValue Call(const PluginLibrary& plugin, HostCall code, MixedValue input = 0,
                       void* instance = nullptr) {
  return plugin.Call(static_cast<std::uint32_t>(code), input, instance);
}

inline void* AsHandle(MixedValue value) { return reinterpret_cast<void*>(value); }
