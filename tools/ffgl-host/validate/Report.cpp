#include "validate/Report.h"

#include <cstdio>

#include "validate/ValidateTest.h"

namespace {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

const char* StatusName(ResultStatus status) {
  switch (status) {
    case ResultStatus::Passed: return "passed";
    case ResultStatus::Failed: return "failed";
    case ResultStatus::Skipped: return "skipped";
    case ResultStatus::Warning: return "warning";
    case ResultStatus::Crashed: return "crashed";
    case ResultStatus::TimedOut: return "timed out";
  }
  return "failed";
}

bool IsFailure(ResultStatus status) {
  return status == ResultStatus::Failed || status == ResultStatus::Crashed ||
         status == ResultStatus::TimedOut;
}

std::string ReplayCommand(const TestResult& result, const ValidateOptions& options) {
  return "ffgl-host validate " + options.pluginPath + " --level " + std::to_string(options.level) +
         " --seed " + std::to_string(result.seed) + " --only " + result.name;
}

void PrintResultLine(const TestResult& result, const ValidateOptions& options) {
  std::printf("%-10s %s: %s", StatusName(result.status), result.name.c_str(),
              result.reason.c_str());
  if (IsFailure(result.status))
    std::printf(" [replay: %s]", ReplayCommand(result, options).c_str());
  std::printf("\n");
  std::fflush(stdout);
}

std::string SummaryLine(const std::vector<TestResult>& results) {
  int passed = 0, failed = 0, skipped = 0, warnings = 0, crashed = 0, timedOut = 0;
  for (const TestResult& result : results) {
    switch (result.status) {
      case ResultStatus::Passed: ++passed; break;
      case ResultStatus::Failed: ++failed; break;
      case ResultStatus::Skipped: ++skipped; break;
      case ResultStatus::Warning: ++warnings; break;
      case ResultStatus::Crashed: ++failed, ++crashed; break;
      case ResultStatus::TimedOut: ++failed, ++timedOut; break;
    }
  }
  return std::to_string(passed) + " passed, " + std::to_string(failed) + " failed, " +
         std::to_string(skipped) + " skipped, " + std::to_string(warnings) + " warnings (" +
         std::to_string(crashed) + " crashed, " + std::to_string(timedOut) + " timed out)";
}

void PrintJson(const std::vector<TestResult>& results, const ValidateOptions& options) {
  std::printf("{\n  \"plugin\": %s,\n  \"level\": %d,\n  \"seed\": %llu,\n  \"results\": [\n",
              JsonString(options.pluginPath).c_str(), options.level,
              static_cast<unsigned long long>(options.seed));
  for (std::size_t i = 0; i < results.size(); ++i) {
    const TestResult& result = results[i];
    std::printf(
        "    {\"name\": %s, \"status\": %s, \"reason\": %s, \"seed\": %llu, "
        "\"replay\": %s}%s\n",
        JsonString(result.name).c_str(), JsonString(StatusName(result.status)).c_str(),
        JsonString(result.reason).c_str(), static_cast<unsigned long long>(result.seed),
        JsonString(ReplayCommand(result, options)).c_str(), i + 1 < results.size() ? "," : "");
  }
  std::printf("  ],\n  \"summary\": %s\n}\n", JsonString(SummaryLine(results)).c_str());
}
