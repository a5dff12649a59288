#include <cstdio>

#include "Command.h"
#include "KeptContext.h"
#include "PluginDescription.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"

namespace {

// Display texts exist only per instance, so they come from a live one made
// in a context of our own. Answers false with a reason when none can be had.
bool ReadDisplayTexts(const PluginLibrary& plugin, const PluginDescription& description,
                      std::vector<std::string>& texts, std::string& reason) {
  auto context = OffscreenContext::Create(reason);
  if (!context) {
    reason = "no GL context available (" + reason + ")";
    return false;
  }
  const KeepContextAtScopeEnd keepContext{context};
  const ViewportRecord viewport{0, 0, 640, 360};
  auto instance = PluginInstance::Create(plugin, viewport, reason);
  if (!instance) return false;
  texts.clear();
  for (const ParameterDescription& param : description.parameters) {
    std::string text;
    texts.push_back(instance->DisplayText(param.index, text) ? text : "(none)");
  }
  return true;
}

std::string FormatNumber(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

}  // namespace

int RunInfo(const CommandArgs& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: ffgl-host info PLUGIN\n");
    return 2;
  }
  std::string error;
  auto plugin = PluginLibrary::Open(args[0], error);
  if (!plugin) {
    std::fprintf(stderr, "ffgl-host info: %s\n", error.c_str());
    return 1;
  }
  PluginDescription description;
  if (!ReadPluginDescription(*plugin, description, error)) {
    std::fprintf(stderr, "ffgl-host info: %s\n", error.c_str());
    return 1;
  }
  std::printf("plug-in:      %s\n", plugin->Path().c_str());
  std::printf("name:         %s\n", description.name.c_str());
  std::printf("identifier:   %s\n", description.uniqueId.c_str());
  std::printf("API version:  %u.%03u\n", description.apiMajor, description.apiMinor);
  std::printf("type:         %s\n", description.pluginType == 0 ? "effect" : "source/other");
  if (description.hasDetails) {
    std::printf("version:      %u.%u\n", description.versionMajor, description.versionMinor);
    std::printf("description:  %s\n", description.description.c_str());
    std::printf("about:        %s\n", description.about.c_str());
  }
  std::printf("capabilities: GL %u, host time %u, inputs %u to %u\n", description.capabilityGL,
              description.capabilityHostTime, description.minInputs, description.maxInputs);
  std::vector<std::string> displayTexts;
  std::string noDisplayTexts;
  const bool haveDisplayTexts =
      ReadDisplayTexts(*plugin, description, displayTexts, noDisplayTexts);
  std::printf("parameters:   %zu\n", description.parameters.size());
  std::printf("  %-5s %-16s %-9s %-12s %s\n", "index", "name", "type", "default", "display");
  for (std::size_t i = 0; i < description.parameters.size(); ++i) {
    const ParameterDescription& param = description.parameters[i];
    const std::string defaultText = param.type == ParamTypeText ? "\"" + param.defaultText + "\""
                                                                : FormatNumber(param.defaultValue);
    const std::string display = haveDisplayTexts ? "\"" + displayTexts[i] + "\"" : "-";
    std::printf("  %-5u %-16s %-9s %-12s %s\n", param.index, param.name.c_str(),
                ParamTypeName(param.type).c_str(), defaultText.c_str(), display.c_str());
  }
  if (!haveDisplayTexts) std::printf("display texts: not read: %s\n", noDisplayTexts.c_str());
  for (const std::string& problem : description.problems) {
    std::fprintf(stderr, "ffgl-host info: warning: %s\n", problem.c_str());
  }
  plugin->Call(2);
  return 0;
}
