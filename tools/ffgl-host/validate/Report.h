#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ValidateOptions;

enum class ResultStatus { Passed, Failed, Skipped, Warning, Crashed, TimedOut };

struct TestResult {
  std::string name;
  ResultStatus status = ResultStatus::Failed;
  std::string reason;
  std::uint64_t seed = 0;  // the --seed that replays it
};

const char* StatusName(ResultStatus status);
bool IsFailure(ResultStatus status);

// One line per result as it finishes.
void PrintResultLine(const TestResult& result, const ValidateOptions& options);
// "N passed, N failed, N skipped, N warnings (N crashed, N timed out)".
std::string SummaryLine(const std::vector<TestResult>& results);
void PrintJson(const std::vector<TestResult>& results, const ValidateOptions& options);
std::string ReplayCommand(const TestResult& result, const ValidateOptions& options);
