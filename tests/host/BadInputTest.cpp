#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "HostRun.h"

namespace {

struct BadInputCase {
  const char* what;
  // Shell words after "render"; {dir} is the scratch directory.
  std::string arguments;
  // Bytes fed to standard input, when the case reads raw frames.
  std::size_t stdinBytes;
  const char* expected;  // part of the one error line
};

std::string Expand(std::string text, const std::string& dir) {
  for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) {
    text.replace(at, 5, dir);
  }
  return text;
}

const std::string zentrel = Quote(ZENTREL_PLUGIN);

// A raw frame of 8x4 RGBA8 is 128 bytes.
const BadInputCase badInputCases[] = {
    {"unreadable image", zentrel + " -i {dir}/missing.png -o {dir}/out.png", 0,
     "cannot read image"},
    {"corrupt image", zentrel + " -i {dir}/corrupt.png -o {dir}/out.png", 0, "cannot read image"},
    {"raw input shorter than a frame", zentrel + " -i - --size 8x4 -o {dir}/out.raw", 100,
     "raw input has the wrong length"},
    {"empty raw input", zentrel + " -i - --size 8x4 -o {dir}/out.raw", 0, "holds no frame"},
    {"raw input ending inside a later frame", zentrel + " -i - --size 8x4 -o {dir}/out%02d.png",
     128 * 2 + 60, "raw input has the wrong length"},
    {"unknown parameter name", zentrel + " -p NoSuchParam=1 -o {dir}/out.png", 0,
     "unknown parameter 'NoSuchParam'"},
    {"value with letters", zentrel + " -p Speed=abc -o {dir}/out.png", 0, "is not a number"},
    {"value with trailing junk", zentrel + " -p speed=1.2x -o {dir}/out.png", 0, "is not a number"},
    {"empty value", zentrel + " -p 0= -o {dir}/out.png", 0, "is not a number"},
    {"file that is no library", "{dir}/corrupt.png -o {dir}/out.png", 0, "cannot load plug-in"},
    {"library without plugMain", Quote(FIXTURE_NO_ENTRY) + " -o {dir}/out.png", 0,
     "has no plugMain"},
    {"plug-in refusing code 18", Quote(FIXTURE_REFUSE_INSTANCE) + " -o {dir}/out.png", 0,
     "refuses to create an instance (code 18)"},
    {"plug-in refusing a frame", Quote(FIXTURE_REFUSE_FRAME) + " -o {dir}/out.png", 0,
     "refuses to render frame 0 (code 17)"},
    {"plug-in refusing a frame of a sequence",
     Quote(FIXTURE_REFUSE_FRAME) + " --frames 3 -o {dir}/out%d.raw", 0,
     "refuses to render frame 0"},
    {"float output as PNG", zentrel + " --float -o {dir}/out.png", 0, "--float"},
    {"several frames into one PNG", zentrel + " --frames 3 -o {dir}/out.png", 0, "names one file"},
    {"raw frames into one PNG", zentrel + " -i - --size 8x4 -o {dir}/out.png", 128 * 2,
     "names one file"},
};

void PrintTo(const BadInputCase& c, std::ostream* os) { *os << c.what; }

class BadInputTest : public testing::TestWithParam<BadInputCase> {};

TEST_P(BadInputTest, OneErrorLineNonZeroExitAndNoOutput) {
  const BadInputCase& c = GetParam();
  ScratchDir dir;
  WriteFileBytes(dir / "corrupt.png", std::vector<std::uint8_t>(300, 0x5A));
  std::string stdinFile;
  if (c.stdinBytes > 0) {
    stdinFile = dir / "input.raw";
    std::vector<std::uint8_t> raw(c.stdinBytes);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i * 7);
    WriteFileBytes(stdinFile, raw);
  }
  std::vector<std::string> before = dir.Entries();

  const HostResult result = RunHost("render " + Expand(c.arguments, dir / ""), stdinFile);

  EXPECT_NE(result.exitCode, 0) << c.what;
  const std::vector<std::string> lines = result.ErrLines();
  ASSERT_EQ(lines.size(), 1u) << c.what << ":\n" << result.err;
  EXPECT_EQ(lines[0].rfind("ffgl-host render: ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(c.expected), std::string::npos) << lines[0];
  // Neither the output nor a temporary file nor earlier frames are left.
  std::vector<std::string> after = dir.Entries();
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Render, BadInputTest, testing::ValuesIn(badInputCases),
                         [](const testing::TestParamInfo<BadInputCase>& info) {
                           std::string name;
                           for (const char* p = info.param.what; *p; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

}  // namespace
