#include <cstdio>

#include "Command.h"
#include "PluginDescription.h"
#include "PluginLibrary.h"

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
  std::printf("parameters:   %zu\n", description.parameters.size());
  std::printf("  %-5s %-16s %-9s %s\n", "index", "name", "type", "default");
  for (const ParameterDescription& param : description.parameters) {
    if (param.type == 100) {
      std::printf("  %-5u %-16s %-9s \"%s\"\n", param.index, param.name.c_str(),
                  ParamTypeName(param.type).c_str(), param.defaultText.c_str());
    } else {
      std::printf("  %-5u %-16s %-9s %g\n", param.index, param.name.c_str(),
                  ParamTypeName(param.type).c_str(), static_cast<double>(param.defaultValue));
    }
  }
  for (const std::string& problem : description.problems) {
    std::fprintf(stderr, "ffgl-host info: warning: %s\n", problem.c_str());
  }
  plugin->Call(2);
  return 0;
}
