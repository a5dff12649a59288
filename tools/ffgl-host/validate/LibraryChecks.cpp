// Check group "library": the plug-in-wide answers, with no GL context, before
// and after code 1, and across repeated loads and unloads in one process.
#include <cctype>
#if defined(__linux__)
#include <dlfcn.h>
#include <link.h>
#endif
#include <cstring>
#include <set>

#include "PluginDescription.h"
#include "validate/AllocationCounter.h"
#include "validate/PluginCalls.h"

namespace {

constexpr std::size_t textLimit = 64 * 1024;

bool Printable(const char* bytes, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

// Every plug-in-wide answer as text: what must not change across code 1,
// code 2 and reloads. Pointers are followed, never compared.
std::string Signature(PluginLibrary& plugin) {
  std::string text;
  const auto add = [&text](const std::string& item) { text += item + "|"; };
  const MixedValue infoValue = CallPlugin(plugin, HostCall::InfoQuery);
  if (IsFailurePointer(infoValue)) {
    add("no info");
  } else {
    const auto* info = reinterpret_cast<const InfoRecord*>(infoValue);
    add(std::to_string(info->apiMajor) + "." + std::to_string(info->apiMinor));
    add(std::string(info->uniqueId, 4) + std::string(info->name, 16));
    add(std::to_string(info->pluginType));
  }
  const MixedValue detailsValue = CallPlugin(plugin, HostCall::DetailsQuery);
  if (!IsFailurePointer(detailsValue)) {
    const auto* details = reinterpret_cast<const DetailsRecord*>(detailsValue);
    add(std::to_string(details->versionMajor) + "." + std::to_string(details->versionMinor));
    add(BoundedText(details->description, textLimit));
    add(BoundedText(details->about, textLimit));
  }
  for (std::uint32_t capability = 0; capability < 16; ++capability) {
    add(std::to_string(Call32(plugin, HostCall::CapabilityQuery, capability)));
  }
  const std::uint32_t count = Call32(plugin, HostCall::ParamCountQuery);
  add(std::to_string(count));
  for (std::uint32_t i = 0; i < count && i < maxParameterCount; ++i) {
    const MixedValue name = CallPlugin(plugin, HostCall::ParamNameQuery, i);
    add(IsFailurePointer(name) ? "null" : BoundedText(reinterpret_cast<const char*>(name), 16));
    const std::uint32_t type = Call32(plugin, HostCall::ParamTypeQuery, i);
    add(std::to_string(type));
    const MixedValue value = CallPlugin(plugin, HostCall::ParamDefaultQuery, i);
    add(type == ParamTypeText ? (IsFailurePointer(value)
                                     ? "null"
                                     : BoundedText(reinterpret_cast<const char*>(value), textLimit))
                              : Hex(U32FromMixed(value)));
    add(Hex(Call32(plugin, HostCall::ParamExtraAQuery, i)));
    add(Hex(Call32(plugin, HostCall::ParamExtraBQuery, i)));
  }
  return text;
}

void CheckRecords(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  if (plugin == nullptr) return;
  const MixedValue infoValue = CallPlugin(*plugin, HostCall::InfoQuery);
  if (IsFailurePointer(infoValue)) return context.Fail("code 0 answers " + Hex(infoValue));
  const auto* info = reinterpret_cast<const InfoRecord*>(infoValue);
  if (info->apiMajor != 1) {
    context.Fail("API version " + std::to_string(info->apiMajor) + "." +
                 std::to_string(info->apiMinor) + ", not 1.x");
  } else if (info->apiMinor != 500) {
    context.Warn("API version 1." + std::to_string(info->apiMinor) + ", not 1.500");
  }
  if (!Printable(info->uniqueId, 4))
    context.Fail("the 4-byte identifier is not 4 printable characters");
  const std::size_t nameLength = strnlen(info->name, 16);
  if (nameLength == 0) context.Fail("the plug-in name is empty");
  if (!Printable(info->name, nameLength)) context.Fail("the plug-in name has unprintable bytes");
  for (std::size_t i = nameLength; i < 16; ++i) {
    if (info->name[i] != '\0') {
      context.Warn("the 16-byte name is not zero-filled after its terminator");
      break;
    }
  }
  if (info->pluginType > 1) context.Warn("plug-in type " + std::to_string(info->pluginType));

  PluginDescription description;
  std::string error;
  if (!ReadPluginDescription(*plugin, description, error)) return context.Fail(error);
  for (const std::string& problem : description.problems) context.Fail(problem);
  if (description.capabilityGL != 1) {
    context.Fail("capability 4 (GL) answers " + std::to_string(description.capabilityGL));
  }
  if (description.minInputs > description.maxInputs) {
    context.Fail("minimum inputs " + std::to_string(description.minInputs) + " above maximum " +
                 std::to_string(description.maxInputs));
  }
  for (const ParameterDescription& param : description.parameters) {
    const std::string which = "parameter " + std::to_string(param.index);
    if (param.name.empty()) context.Fail(which + " has an empty or null name");
    if (param.type == ResultFailure) context.Fail(which + ": code 15 answers ResultFailure");
    if (param.type != ParamTypeText && param.type != ParamTypeBoolean &&
        param.type != ParamTypeStandard && param.type > 15) {
      context.Warn(which + " has the unknown type " + std::to_string(param.type));
    }
    if (param.type != ParamTypeText &&
        !(param.defaultValue >= 0.0f && param.defaultValue <= 1.0f)) {
      context.Warn(which + " has a default outside [0, 1]");
    }
  }
  CallPlugin(*plugin, HostCall::LibraryClose);
}

// No test here makes a GL context: the child never had one.
void CheckWithoutContext(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  if (plugin == nullptr) return;
  const std::string beforeOpen = Signature(*plugin);
  const std::uint32_t opened = Call32(*plugin, HostCall::LibraryOpen);
  if (opened != ResultSuccess) context.Fail("code 1 without a GL context answers " + Hex(opened));
  if (Call32(*plugin, HostCall::LibraryOpen) != ResultSuccess) {
    context.Fail("a second code 1 does not answer ResultSuccess");
  }
  if (Signature(*plugin) != beforeOpen) {
    context.Fail("plug-in-wide answers before code 1 differ from those after it");
  }
  for (int round = 0; round < 2; ++round) {
    const std::uint32_t closed = Call32(*plugin, HostCall::LibraryClose);
    if (closed != ResultSuccess) context.Fail("code 2 answers " + Hex(closed));
  }
  if (Signature(*plugin) != beforeOpen) {
    context.Fail("plug-in-wide answers after code 2 differ from the first ones");
  }
  CallPlugin(*plugin, HostCall::LibraryClose);
}

#if defined(__linux__)
int CollectNames(dl_phdr_info* info, std::size_t, void* data) {
  if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
    static_cast<std::set<std::string>*>(data)->insert(info->dlpi_name);
  }
  return 0;
}
#endif

// Keeps the libraries the plug-in pulled in (GL and its loaders) loaded, so
// that the reload cycles load and unload the plug-in's own image only: what
// the system libraries keep across their own unloads is not the plug-in's.
void PinDependencies(const std::set<std::string>& before, const std::string& pluginPath) {
#if defined(__linux__)
  std::set<std::string> after;
  dl_iterate_phdr(CollectNames, &after);
  const std::string pluginName = pluginPath.substr(pluginPath.find_last_of('/') + 1);
  for (const std::string& name : after) {
    if (before.count(name) != 0) continue;
    if (name.size() >= pluginName.size() &&
        name.compare(name.size() - pluginName.size(), pluginName.size(), pluginName) == 0) {
      continue;
    }
    dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  }
#else
  (void)before;
  (void)pluginPath;
#endif
}

void CheckReload(TestContext& context) {
  if (context.Options().noUnload) return context.Skip("--no-unload keeps the library loaded");
  const int cycles = 10 + 3 * context.Level();
  std::string first;
  // Heap in use after each cycle; a leak shows in every step, a one-time
  // allocation (the dynamic linker growing a table) in one only.
  std::vector<long long> heapAfter;
  std::set<std::string> loadedBefore;
#if defined(__linux__)
  dl_iterate_phdr(CollectNames, &loadedBefore);
#endif
  for (int cycle = 0; cycle < cycles && !context.Failed(); ++cycle) {
    PluginLibrary* plugin = context.Plugin();
    if (plugin == nullptr) return;
    if (cycle == 0) PinDependencies(loadedBefore, context.Options().pluginPath);
    if (cycle % 2 == 1) CallPlugin(*plugin, HostCall::LibraryOpen);
    const std::string signature = Signature(*plugin);
    if (cycle == 0) first = signature;
    if (signature != first) {
      context.Fail("load " + std::to_string(cycle + 1) + " answers differently from the first");
    }
    CallPlugin(*plugin, HostCall::LibraryClose);
    context.Unload();
    // The first loads settle the dynamic linker's own tables.
    if (cycle >= 4) heapAfter.push_back(allocations::LiveHeapBytes());
  }
  long long leastGrowth = -1;
  for (std::size_t i = 1; i < heapAfter.size(); ++i) {
    if (heapAfter[i] < 0 || heapAfter[i - 1] < 0) break;
    const long long growth = heapAfter[i] - heapAfter[i - 1];
    if (leastGrowth < 0 || growth < leastGrowth) leastGrowth = growth;
  }
  if (leastGrowth > 64) {
    context.Fail("the heap grows by at least " + std::to_string(leastGrowth) +
                 " bytes per load and unload");
  }
  context.Pass(std::to_string(cycles) + " loads and unloads, same answers each time");
}

}  // namespace

void AddLibraryTests(std::vector<ValidateTest>& tests) {
  tests.push_back(
      {"library.records", "reading the InfoRecord, DetailsRecord and parameters", CheckRecords});
  tests.push_back({"library.no-context", "asking plug-in-wide questions with no GL context",
                   CheckWithoutContext});
  tests.push_back({"library.reload", "loading and unloading the library repeatedly", CheckReload});
}
