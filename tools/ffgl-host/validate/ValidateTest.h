#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/HostCall.h"
#include "host/HostRecords.h"

class PluginLibrary;
class GLHarness;

// What the command line asked for; shared by the runner and every test.
struct ValidateOptions {
  std::string pluginPath;
  int level = 5;
  std::uint64_t seed = 0;
  bool json = false;
  // Keeps the library loaded until the process ends, so leak reports from
  // memory checkers still carry the plug-in's symbols.
  bool noUnload = false;
  double timeoutSeconds = 0;      // 0: chosen from the level
  std::vector<std::string> only;  // test names or group prefixes
};

// Runs inside the child process of one test. Failures and warnings are
// collected with their reasons; the first failure decides the result.
class TestContext {
 public:
  TestContext(const ValidateOptions& options, std::uint64_t testSeed);
  ~TestContext();

  int Level() const { return options.level; }
  const ValidateOptions& Options() const { return options; }
  std::mt19937_64& Random() { return random; }
  std::uint32_t RandomBelow(std::uint32_t bound) {
    return bound == 0 ? 0 : static_cast<std::uint32_t>(random() % bound);
  }

  void Fail(const std::string& reason);
  void Warn(const std::string& reason);
  void Skip(const std::string& reason);
  void Pass(const std::string& reason) { passReason = reason; }
  bool Failed() const { return !failures.empty(); }

  // The plug-in, loaded on first use; null (with the test failed) if it
  // will not load.
  PluginLibrary* Plugin();
  // Unloads the plug-in (unless --no-unload) so the next Plugin() loads it
  // afresh.
  void Unload();
  // An offscreen GL context current on this thread, made on first use; null
  // (with the test skipped) where none can be had.
  GLHarness* GL();

  // "failed\treason" and so on: what the child hands the runner.
  std::string Serialise() const;

 private:
  const ValidateOptions& options;
  std::mt19937_64 random;
  std::vector<std::string> failures;
  std::vector<std::string> warnings;
  std::string skipReason;
  std::string passReason;
  std::unique_ptr<PluginLibrary> plugin;
  std::unique_ptr<GLHarness> gl;
};

struct ValidateTest {
  const char* name;
  const char* what;  // one line for the report
  void (*run)(TestContext&);
};

// One list per check group, in the order they run.
void AddLibraryTests(std::vector<ValidateTest>& tests);
void AddCallTests(std::vector<ValidateTest>& tests);
void AddParameterTests(std::vector<ValidateTest>& tests);
void AddInstanceTests(std::vector<ValidateTest>& tests);
void AddGLStateTests(std::vector<ValidateTest>& tests);
void AddFrameTests(std::vector<ValidateTest>& tests);
void AddSteadyStateTests(std::vector<ValidateTest>& tests);

// Small helpers every group uses.
inline std::uint32_t Code(HostCall call) { return static_cast<std::uint32_t>(call); }
std::string Hex(MixedValue value);
// True for an answer that is one of the ways a pointer call can fail.
bool IsFailurePointer(MixedValue value);
