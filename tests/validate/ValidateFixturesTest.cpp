// Runs `ffgl-host validate` against fixtures that each break one rule and
// expects the matching check, and only a check, to catch it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace {

struct ValidatorRun {
  int exitStatus = -1;
  std::string output;
};

ValidatorRun Validate(const std::string& fixture, const std::string& arguments) {
  const std::string command = std::string(FFGL_HOST) + " validate " + FIXTURE_DIR + "/" + fixture +
                              ".so --seed 11 " + arguments + " 2>&1";
  ValidatorRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  const int status = pclose(pipe);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The status word the report gives `test`, e.g. "failed" or "timed out".
std::string StatusOf(const ValidatorRun& run, const std::string& test) {
  const std::string marker = " " + test + ": ";
  const std::size_t at = run.output.find(marker);
  if (at == std::string::npos) return "missing";
  const std::size_t lineStart = run.output.rfind('\n', at);
  std::string status = run.output.substr(lineStart == std::string::npos ? 0 : lineStart + 1,
                                         at - (lineStart == std::string::npos ? 0 : lineStart + 1));
  while (!status.empty() && status.back() == ' ') status.pop_back();
  return status;
}

struct FaultCase {
  const char* fixture;
  const char* test;
  const char* expected;
  const char* reasonPart;  // a piece of the reason the report must give
};

const FaultCase faultCases[] = {
    {"validate_fixture_leaves_program", "gl-state.preserved", "failed", "GL_CURRENT_PROGRAM"},
    {"validate_fixture_gl_error", "gl-state.preserved", "failed", "GL_INVALID_ENUM"},
    {"validate_fixture_changes_state", "gl-state.preserved", "failed", "GL_BLEND"},
    {"validate_fixture_crash_on_null_record", "calls.invalid", "crashed", "making invalid calls"},
    {"validate_fixture_wrong_failure", "calls.invalid", "failed", "code 7 with a null handle"},
    {"validate_fixture_clamps", "params.round-trip", "failed", "reads back as"},
    {"validate_fixture_leaks_on_unload", "library.reload", "failed", "per load and unload"},
    {"validate_fixture_shared_params", "instances.defaults", "failed", "not its default"},
    {"validate_fixture_crash_on_null_inputs", "frames.bad-records", "crashed",
     "rendering frames from broken records"},
    {"validate_fixture_draws_outside", "frames.sizes", "failed", "outside the viewport"},
    {"validate_fixture_allocates_per_frame", "steady-state.allocations", "failed",
     "heap allocations"},
    {"validate_fixture_texture_per_frame", "steady-state.gl-objects", "failed", "texture"},
    {"validate_fixture_hangs", "frames.sizes", "timed out", "no answer within"},
};

void PrintTo(const FaultCase& test, std::ostream* out) {
  *out << test.fixture << " / " << test.test;
}

class FaultIsCaught : public testing::TestWithParam<FaultCase> {};

TEST_P(FaultIsCaught, ByItsCheck) {
  const FaultCase& test = GetParam();
  const ValidatorRun run = Validate(test.fixture, std::string("--timeout 5 --only ") + test.test);
  if (StatusOf(run, test.test) == "skipped" &&
      run.output.find("not built in") != std::string::npos) {
    GTEST_SKIP() << "this build of the validator cannot run " << test.test;
  }
  EXPECT_EQ(StatusOf(run, test.test), test.expected) << run.output;
  EXPECT_NE(run.output.find(test.reasonPart), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("--seed 11 --only " + std::string(test.test)), std::string::npos)
      << "a failure names the seed that replays it\n"
      << run.output;
  EXPECT_EQ(run.exitStatus, 1) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FaultIsCaught, testing::ValuesIn(faultCases),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                           return std::string(info.param.fixture).substr(17);
                         });

TEST(ValidateFixtures, TheCorrectFixturePassesEveryCheck) {
  const ValidatorRun run = Validate("validate_fixture_none", "--level 3");
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_NE(run.output.find(" passed, 0 failed"), std::string::npos) << run.output;
}

TEST(ValidateFixtures, JsonCarriesEveryResult) {
  const ValidatorRun run = Validate("validate_fixture_wrong_failure", "--json --only calls");
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.output.find("\"name\": \"calls.invalid\", \"status\": \"failed\""),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("\"name\": \"calls.fuzz\""), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\"summary\": \""), std::string::npos) << run.output;
}

}  // namespace
