#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PluginLibrary;

// What a plug-in says about itself through its plug-in-wide calls, copied out
// and checked: texts bounded, counts sane. Problems found while reading are
// collected rather than trusted.
struct ParameterDescription {
  std::uint32_t index = 0;
  std::string name;
  std::uint32_t type = 0;
  float defaultValue = 0.0f;  // numeric parameters
  std::string defaultText;    // text parameters
};

struct PluginDescription {
  std::uint32_t apiMajor = 0;
  std::uint32_t apiMinor = 0;
  std::string uniqueId;
  std::string name;
  std::uint32_t pluginType = 0;
  bool hasDetails = false;
  std::uint32_t versionMajor = 0;
  std::uint32_t versionMinor = 0;
  std::string description;
  std::string about;
  std::uint32_t capabilityGL = 0;
  std::uint32_t capabilityHostTime = 0;
  std::uint32_t minInputs = 0;
  std::uint32_t maxInputs = 0;
  std::vector<ParameterDescription> parameters;
  std::vector<std::string> problems;

  // Null index when no parameter has that name (case-insensitive) or index.
  const ParameterDescription* FindParameter(const std::string& nameOrIndex) const;
};

// A plug-in declaring more parameters than this is treated as broken.
constexpr std::uint32_t maxParameterCount = 4096;

// False, with a reason in `error`, when the plug-in gives no InfoRecord or
// refuses code 1.
bool ReadPluginDescription(const PluginLibrary& plugin, PluginDescription& out, std::string& error);

// Copies at most `limit` bytes up to the first NUL; `terminated` tells
// whether a NUL was found within the limit. Null gives "".
std::string BoundedText(const char* text, std::size_t limit, bool* terminated = nullptr);

// "Speed", "10", "Standard", "Boolean", "Text" and so on.
std::string ParamTypeName(std::uint32_t type);
