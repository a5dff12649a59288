#include <algorithm>
#include <cstdio>

#include "PluginLibrary.h"
#include "validate/GLHarness.h"
#include "validate/ValidateTest.h"

namespace {

constexpr std::size_t maxReasons = 6;

// Libraries kept loaded for --no-unload; reachable, so not reported as lost.
std::vector<std::unique_ptr<PluginLibrary>>& KeptLibraries() {
  static auto* kept = new std::vector<std::unique_ptr<PluginLibrary>>;
  return *kept;
}

std::vector<std::unique_ptr<GLHarness>>& KeptContexts() {
  static auto* kept = new std::vector<std::unique_ptr<GLHarness>>;
  return *kept;
}

std::string Join(const std::vector<std::string>& reasons) {
  std::string text;
  for (const std::string& reason : reasons) {
    if (!text.empty()) text += "; ";
    text += reason;
  }
  return text;
}

}  // namespace

std::string Hex(MixedValue value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

bool IsFailurePointer(MixedValue value) {
  return value == 0 || value == ResultFailureAllBits || value == MixedFromU32(ResultFailure);
}

TestContext::TestContext(const ValidateOptions& options, std::uint64_t testSeed)
    : options(options), random(testSeed) {}

TestContext::~TestContext() {
  // The context stays until the process ends: destroying it unloads the GL
  // driver, and leak checkers could then no longer name the driver's own
  // allocations, so their suppressions (by library name) would not apply.
  KeptContexts().push_back(std::move(gl));
  Unload();
}

void TestContext::Fail(const std::string& reason) {
  if (failures.size() < maxReasons &&
      std::find(failures.begin(), failures.end(), reason) == failures.end()) {
    failures.push_back(reason);
  }
}

void TestContext::Warn(const std::string& reason) {
  if (warnings.size() < maxReasons &&
      std::find(warnings.begin(), warnings.end(), reason) == warnings.end()) {
    warnings.push_back(reason);
  }
}

void TestContext::Skip(const std::string& reason) {
  if (skipReason.empty()) skipReason = reason;
}

PluginLibrary* TestContext::Plugin() {
  if (plugin) return plugin.get();
  std::string error;
  plugin = PluginLibrary::Open(options.pluginPath, error);
  if (!plugin) Fail(error);
  return plugin.get();
}

void TestContext::Unload() {
  if (!plugin) return;
  if (options.noUnload) {
    KeptLibraries().push_back(std::move(plugin));
  } else {
    plugin.reset();
  }
}

GLHarness* TestContext::GL() {
  if (gl) return gl.get();
  auto harness = std::make_unique<GLHarness>();
  std::string error;
  if (!harness->Start(error)) {
    Skip("no GL context: " + error);
    return nullptr;
  }
  gl = std::move(harness);
  return gl.get();
}

std::string TestContext::Serialise() const {
  if (!failures.empty()) return "failed\t" + Join(failures);
  if (!skipReason.empty()) return "skipped\t" + skipReason;
  if (!warnings.empty()) return "warning\t" + Join(warnings);
  return "passed\t" + (passReason.empty() ? std::string("all checks held") : passReason);
}
