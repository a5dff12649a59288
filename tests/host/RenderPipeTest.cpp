#include <gtest/gtest.h>

#include <string>

#include "HostRun.h"

namespace {

// testsrc frames through ffmpeg, the raw pipe and ffmpeg again must come
// out frame for frame as rendering the same frames from PNG files.
TEST(RenderPipe, FfmpegRoundTripMatchesPngSequence) {
  const std::string ffmpeg = FFMPEG;
  if (ffmpeg.empty()) GTEST_SKIP() << "ffmpeg not found";
  ScratchDir dir;
  const std::string host = Quote(FFGL_HOST) + " render " + Quote(ZENTREL_PLUGIN);
  const std::string source =
      Quote(ffmpeg) + " -v error -f lavfi -i testsrc=size=64x36:rate=30 -frames:v 5";

  const HostResult piped =
      RunShell(source + " -f rawvideo -pix_fmt rgba - | " + host + " -i - --size 64x36 -o - | " +
               Quote(ffmpeg) + " -v error -f rawvideo -pix_fmt rgba -s 64x36 -i - -f rawvideo " +
               "-pix_fmt rgba " + Quote(dir / "piped.raw"));
  ASSERT_EQ(piped.exitCode, 0) << piped.err;
  EXPECT_EQ(piped.err, "");

  const HostResult frames = RunShell(source + " " + Quote(dir / "in%03d.png"));
  ASSERT_EQ(frames.exitCode, 0) << frames.err;
  const HostResult rendered =
      RunShell(host + " -i " + Quote(dir / "in%03d.png") + " -o " + Quote(dir / "out%03d.raw"));
  ASSERT_EQ(rendered.exitCode, 0) << rendered.err;

  const auto pipedBytes = ReadFileBytes(dir / "piped.raw");
  const std::size_t frameBytes = 64 * 36 * 4;
  ASSERT_EQ(pipedBytes.size(), 5 * frameBytes);
  // ffmpeg numbers its files from 1; the output follows the input's numbers.
  for (int i = 0; i < 5; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "out%03d.raw", i + 1);
    const auto frame = ReadFileBytes(dir / name);
    ASSERT_EQ(frame.size(), frameBytes) << name;
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), pipedBytes.begin() + i * frameBytes))
        << "frame " << i;
  }
}

}  // namespace
