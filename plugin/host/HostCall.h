#pragma once

#include <cstdint>

// The call codes of plugMain. Every code not named here answers
// ResultFailure.
enum class HostCall : std::uint32_t {
  InfoQuery = 0,
  LibraryOpen = 1,
  LibraryClose = 2,
  ParamCountQuery = 4,
  ParamNameQuery = 5,
  ParamDefaultQuery = 6,
  ParamReadoutQuery = 7,
  ParamWrite = 8,
  ParamRead = 9,
  CapabilityQuery = 10,
  DetailsQuery = 13,
  ParamTypeQuery = 15,
  InputStatusQuery = 16,
  FrameRender = 17,
  InstanceCreate = 18,
  InstanceDestroy = 19,
  HostTimeSet = 20,
  ContextAttach = 21,
  ContextDetach = 22,
  ViewportResize = 23,
  ParamExtraAQuery = 31,
  ParamExtraBQuery = 32,
  PluginExtraQuery = 33,
};
