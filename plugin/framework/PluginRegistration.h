#pragma once

#include <cstddef>
#include <cstdint>

#include "host/HostRecords.h"

class CFreeFrameGLPlugin;

// Makes one effect instance and stores its address in *slot (null when it
// has none); ResultSuccess only when it stored an instance.
using EffectFactory = std::uint32_t (*)(CFreeFrameGLPlugin** slot);

// The one static record that describes the plug-in. The host reads its
// first 32 bytes as the InfoRecord (code 0) and the DetailsRecord that
// follows directly (code 13), so those two keep their exact layouts.
class PluginRegistration {
 public:
  PluginRegistration(EffectFactory factory, const char* uniqueId, const char* name,
                     std::uint32_t apiMajor, std::uint32_t apiMinor, std::uint32_t versionMajor,
                     std::uint32_t versionMinor, std::uint32_t pluginType, const char* description,
                     const char* about, std::uint32_t extraSize, void* extraData);
  ~PluginRegistration();

  PluginRegistration(const PluginRegistration&) = delete;
  PluginRegistration& operator=(const PluginRegistration&) = delete;

  EffectFactory Factory() const { return factory; }
  const InfoRecord* Info() const { return &info; }
  const DetailsRecord* Details() const { return &details; }

 private:
  InfoRecord info;
  DetailsRecord details;
  EffectFactory factory;

  friend struct PluginRegistrationLayout;
};

// The registration pointer: set by the record's constructor while the
// library loads, before any call can arrive.
extern PluginRegistration* registrationPointer;

struct PluginRegistrationLayout {
  static constexpr std::size_t infoOffset = offsetof(PluginRegistration, info);
  static constexpr std::size_t detailsOffset = offsetof(PluginRegistration, details);
};
static_assert(PluginRegistrationLayout::infoOffset == 0);
static_assert(PluginRegistrationLayout::detailsOffset == 32);
