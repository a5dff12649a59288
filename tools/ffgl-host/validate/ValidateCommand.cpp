#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Command.h"
#include "validate/ChildProcess.h"
#include "validate/Report.h"
#include "validate/ValidateTest.h"

namespace {

const char* const usage =
    "usage: ffgl-host validate PLUGIN [--level 1..10] [--seed S] [--json] [--only NAME]...\n"
    "                          [--timeout SECONDS] [--no-unload]\n";

std::vector<ValidateTest> AllTests() {
  std::vector<ValidateTest> tests;
  AddLibraryTests(tests);
  AddCallTests(tests);
  AddParameterTests(tests);
  AddInstanceTests(tests);
  AddGLStateTests(tests);
  AddFrameTests(tests);
  AddSteadyStateTests(tests);
  return tests;
}

bool Selected(const std::string& name, const std::vector<std::string>& only) {
  if (only.empty()) return true;
  for (const std::string& wanted : only) {
    if (name == wanted) return true;
    // "calls" selects every "calls.*" test.
    if (name.size() > wanted.size() && name.compare(0, wanted.size(), wanted) == 0 &&
        name[wanted.size()] == '.') {
      return true;
    }
  }
  return false;
}

// Each test draws from its own stream, so one test replays alone with the
// run's seed and its name.
std::uint64_t TestSeed(std::uint64_t seed, const std::string& name) {
  std::uint64_t hash = 1469598103934665603ull ^ seed;
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

bool ParseNumber(const std::string& text, unsigned long long& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  if (text.size() > 20) return false;
  value = std::strtoull(text.c_str(), nullptr, 10);
  return true;
}

bool ParseOptions(const CommandArgs& args, ValidateOptions& options) {
  bool seedGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    unsigned long long number = 0;
    if (arg == "--json") {
      options.json = true;
    } else if (arg == "--no-unload") {
      options.noUnload = true;
    } else if (arg == "--level" && hasValue) {
      if (!ParseNumber(args[++i], number) || number < 1 || number > 10) return false;
      options.level = static_cast<int>(number);
    } else if (arg == "--seed" && hasValue) {
      if (!ParseNumber(args[++i], number)) return false;
      options.seed = number;
      seedGiven = true;
    } else if (arg == "--timeout" && hasValue) {
      if (!ParseNumber(args[++i], number) || number < 1 || number > 86400) return false;
      options.timeoutSeconds = static_cast<double>(number);
    } else if (arg == "--only" && hasValue) {
      options.only.push_back(args[++i]);
    } else if (options.pluginPath.empty() && !arg.empty() && arg[0] != '-') {
      options.pluginPath = arg;
    } else {
      return false;
    }
  }
  if (!seedGiven) {
    options.seed =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) %
        1000000000ull;
  }
  if (options.timeoutSeconds == 0) options.timeoutSeconds = 20.0 + 6.0 * options.level;
  return !options.pluginPath.empty();
}

TestResult RunOne(const ValidateTest& test, const ValidateOptions& options) {
  TestResult result;
  result.name = test.name;
  result.seed = options.seed;
  const std::uint64_t testSeed = TestSeed(options.seed, test.name);
  const ChildOutcome outcome = RunInChildProcess(
      [&]() {
        TestContext context(options, testSeed);
        test.run(context);
        return context.Serialise();
      },
      options.timeoutSeconds);
  const std::size_t tab = outcome.output.find('\t');
  const std::string statusText = outcome.output.substr(0, tab);
  const std::string reason = tab == std::string::npos ? "" : outcome.output.substr(tab + 1);
  switch (outcome.kind) {
    case ChildOutcome::Kind::Unavailable:
      result.status = ResultStatus::Skipped;
      result.reason = outcome.detail;
      return result;
    case ChildOutcome::Kind::TimedOut:
      result.status = ResultStatus::TimedOut;
      result.reason = "no answer within " +
                      std::to_string(static_cast<int>(options.timeoutSeconds)) + " s (" +
                      test.what + ")" + (outcome.output.empty() ? "" : ", after: " + reason);
      return result;
    case ChildOutcome::Kind::Crashed:
      result.status = ResultStatus::Crashed;
      result.reason =
          outcome.detail + (outcome.output.empty()
                                ? " while " + std::string(test.what)
                                : " at exit, after the test answered: " + outcome.output);
      return result;
    case ChildOutcome::Kind::Exited: break;
  }
  if (outcome.output.empty()) {
    result.status = ResultStatus::Crashed;
    result.reason = "the test process ended (exit status " + std::to_string(outcome.exitCode) +
                    ") without answering, while " + test.what;
    return result;
  }
  if (statusText == "passed")
    result.status = ResultStatus::Passed;
  else if (statusText == "skipped")
    result.status = ResultStatus::Skipped;
  else if (statusText == "warning")
    result.status = ResultStatus::Warning;
  else
    result.status = ResultStatus::Failed;
  result.reason = reason;
  if (outcome.exitCode != 0) {
    // A memory checker or the plug-in's exit path made the process fail.
    result.status = ResultStatus::Failed;
    result.reason = "test process exited with status " + std::to_string(outcome.exitCode) +
                    " after answering: " + statusText + ": " + reason;
  }
  return result;
}

}  // namespace

int RunValidate(const CommandArgs& args) {
  ValidateOptions options;
  if (!ParseOptions(args, options)) {
    std::fputs(usage, stderr);
    return 2;
  }
  std::vector<TestResult> results;
  if (!options.json) {
    std::printf("ffgl-host validate %s: level %d, seed %llu\n", options.pluginPath.c_str(),
                options.level, static_cast<unsigned long long>(options.seed));
    std::fflush(stdout);
  }
  for (const ValidateTest& test : AllTests()) {
    if (!Selected(test.name, options.only)) continue;
    results.push_back(RunOne(test, options));
    if (!options.json) PrintResultLine(results.back(), options);
  }
  if (results.empty()) {
    std::fprintf(stderr, "ffgl-host validate: no test matches --only\n");
    return 2;
  }
  if (options.json) {
    PrintJson(results, options);
  } else {
    std::printf("%s\n", SummaryLine(results).c_str());
  }
  for (const TestResult& result : results) {
    if (IsFailure(result.status)) return 1;
  }
  return 0;
}
