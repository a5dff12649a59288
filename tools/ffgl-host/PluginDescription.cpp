#include "PluginDescription.h"

#include <cctype>
#include <cstring>

#include "PluginLibrary.h"
#include "host/HostCall.h"
#include "host/HostRecords.h"

namespace {

constexpr std::size_t maxTextLength = 64 * 1024;

std::uint32_t Call32(const PluginLibrary& plugin, HostCall code, std::uint32_t input = 0) {
  return U32FromMixed(plugin.Call(static_cast<std::uint32_t>(code), MixedFromU32(input)));
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string BoundedText(const char* text, std::size_t limit, bool* terminated) {
  if (terminated != nullptr) *terminated = text != nullptr;
  if (text == nullptr) return {};
  std::size_t length = 0;
  while (length < limit && text[length] != '\0') ++length;
  if (terminated != nullptr) *terminated = length < limit;
  return std::string(text, length);
}

std::string ParamTypeName(std::uint32_t type) {
  switch (type) {
    case ParamTypeBoolean: return "Boolean";
    case ParamTypeStandard: return "Standard";
    case ParamTypeText: return "Text";
    default: return "type " + std::to_string(type);
  }
}

const ParameterDescription* PluginDescription::FindParameter(const std::string& key) const {
  for (const ParameterDescription& param : parameters) {
    if (EqualsIgnoringCase(param.name, key)) return &param;
  }
  if (!key.empty() && key.find_first_not_of("0123456789") == std::string::npos && key.size() < 10) {
    const auto wanted = static_cast<std::uint32_t>(std::stoul(key));
    for (const ParameterDescription& param : parameters) {
      if (param.index == wanted) return &param;
    }
  }
  return nullptr;
}

bool ReadPluginDescription(const PluginLibrary& plugin, PluginDescription& out,
                           std::string& error) {
  const auto* info = reinterpret_cast<const InfoRecord*>(
      plugin.Call(static_cast<std::uint32_t>(HostCall::InfoQuery)));
  if (info == nullptr || reinterpret_cast<MixedValue>(info) == ResultFailureAllBits) {
    error = "plug-in answers no InfoRecord (code 0)";
    return false;
  }
  out.apiMajor = info->apiMajor;
  out.apiMinor = info->apiMinor;
  out.uniqueId = BoundedText(info->uniqueId, sizeof info->uniqueId);
  out.name = BoundedText(info->name, sizeof info->name);
  out.pluginType = info->pluginType;

  if (Call32(plugin, HostCall::LibraryOpen) != ResultSuccess) {
    error = "plug-in refuses to open (code 1)";
    return false;
  }

  const MixedValue detailsValue = plugin.Call(static_cast<std::uint32_t>(HostCall::DetailsQuery));
  if (detailsValue != 0 && detailsValue != ResultFailureAllBits &&
      detailsValue != MixedFromU32(ResultFailure)) {
    const auto* details = reinterpret_cast<const DetailsRecord*>(detailsValue);
    out.hasDetails = true;
    out.versionMajor = details->versionMajor;
    out.versionMinor = details->versionMinor;
    bool terminated = true;
    out.description = BoundedText(details->description, maxTextLength, &terminated);
    if (!terminated) out.problems.push_back("description text is null or unterminated");
    out.about = BoundedText(details->about, maxTextLength, &terminated);
    if (!terminated) out.problems.push_back("about text is null or unterminated");
  } else {
    out.problems.push_back("no DetailsRecord (code 13)");
  }

  out.capabilityGL = Call32(plugin, HostCall::CapabilityQuery, CapabilityGL);
  out.capabilityHostTime = Call32(plugin, HostCall::CapabilityQuery, CapabilityHostTime);
  out.minInputs = Call32(plugin, HostCall::CapabilityQuery, CapabilityMinInputs);
  out.maxInputs = Call32(plugin, HostCall::CapabilityQuery, CapabilityMaxInputs);

  const std::uint32_t count = Call32(plugin, HostCall::ParamCountQuery);
  if (count == ResultFailure) {
    error = "plug-in answers no parameter count (code 4)";
    return false;
  }
  if (count > maxParameterCount) {
    error = "plug-in declares " + std::to_string(count) + " parameters, more than " +
            std::to_string(maxParameterCount);
    return false;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    ParameterDescription param;
    param.index = i;
    const MixedValue nameValue =
        plugin.Call(static_cast<std::uint32_t>(HostCall::ParamNameQuery), MixedFromU32(i));
    if (nameValue == 0 || nameValue == ResultFailureAllBits) {
      out.problems.push_back("parameter " + std::to_string(i) + " has no name");
    } else {
      param.name = BoundedText(reinterpret_cast<const char*>(nameValue), 16);
    }
    param.type = Call32(plugin, HostCall::ParamTypeQuery, i);
    const MixedValue defaultValue =
        plugin.Call(static_cast<std::uint32_t>(HostCall::ParamDefaultQuery), MixedFromU32(i));
    if (param.type == ParamTypeText) {
      if (defaultValue != MixedFromU32(ResultFailure) && defaultValue != ResultFailureAllBits) {
        param.defaultText = BoundedText(reinterpret_cast<const char*>(defaultValue), maxTextLength);
      }
    } else {
      param.defaultValue = FloatFromMixed(defaultValue);
    }
    out.parameters.push_back(std::move(param));
  }
  return true;
}
