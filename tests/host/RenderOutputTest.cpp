#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "HostRun.h"
#include "ImageCodec.h"

namespace {

const std::string zentrel = Quote(ZENTREL_PLUGIN);

void Render(const std::string& arguments) {
  const HostResult result = RunHost("render " + arguments);
  EXPECT_EQ(result.exitCode, 0) << arguments << "\n" << result.err;
  EXPECT_EQ(result.err, "") << arguments;
}

// RGBA8, top row first, whatever the file kind.
std::vector<std::uint8_t> LoadPicture(const std::string& path, int width, int height) {
  if (path.size() > 4 && path.substr(path.size() - 4) == ".raw") return ReadFileBytes(path);
  std::vector<std::uint8_t> bottomFirst;
  int w = 0;
  int h = 0;
  std::string error;
  EXPECT_TRUE(DecodeImageFile(path, bottomFirst, w, h, error)) << error;
  EXPECT_EQ(w, width);
  EXPECT_EQ(h, height);
  std::vector<std::uint8_t> topFirst(bottomFirst.size());
  const std::size_t row = static_cast<std::size_t>(w) * 4;
  for (int y = 0; y < h; ++y) {
    std::memcpy(&topFirst[row * y], &bottomFirst[row * (h - 1 - y)], row);
  }
  return topFirst;
}

int MaxDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  EXPECT_EQ(a.size(), b.size());
  int worst = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    worst = std::max(worst, std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i])));
  }
  return worst;
}

TEST(RenderOutput, SameRenderTwiceGivesIdenticalBytesAndTimeMoves) {
  ScratchDir dir;
  const std::string args = zentrel + " -p Speed=1 --fps 25 --frames 3 --size 64x36 -o ";
  Render(args + Quote(dir / "a.raw"));
  Render(args + Quote(dir / "b.raw"));
  const auto a = ReadFileBytes(dir / "a.raw");
  const auto b = ReadFileBytes(dir / "b.raw");
  ASSERT_EQ(a.size(), 3u * 64 * 36 * 4);
  EXPECT_TRUE(a == b);
  // Speed 1 runs the wave at 64 rad/s: frames 1/25 s apart must differ, or
  // the fixed clock was not advanced and the comparison above proves little.
  const std::size_t frame = 64 * 36 * 4;
  EXPECT_FALSE(std::equal(a.begin(), a.begin() + frame, a.begin() + frame));
}

// Top half grey 192, bottom half grey 64. At the default parameters the
// wave maps 0.75 to about 1 and 0.25 to about -1, so an upright output is
// bright on top and black below.
std::vector<std::uint8_t> TwoBandPicture(int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
      p[0] = p[1] = p[2] = y < height / 2 ? 192 : 64;
      p[3] = 255;
    }
  }
  return pixels;
}

struct OrientationCase {
  const char* input;   // "png" or "raw"
  const char* output;  // "png" or "raw"
};

void PrintTo(const OrientationCase& c, std::ostream* os) { *os << c.input << " to " << c.output; }

class Orientation : public testing::TestWithParam<OrientationCase> {};

TEST_P(Orientation, TopRowOfTheInputIsTopRowOfTheOutput) {
  const int width = 16;
  const int height = 8;
  ScratchDir dir;
  const auto picture = TwoBandPicture(width, height);
  std::string input;
  std::string stdinFile;
  if (std::string(GetParam().input) == "png") {
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(EncodePng(picture.data(), width, height, png));
    WriteFileBytes(dir / "in.png", png);
    input = "-i " + Quote(dir / "in.png");
  } else {
    stdinFile = dir / "in.raw";
    WriteFileBytes(stdinFile, picture);
    input = "-i - --size 16x8";
  }
  const std::string out = dir / (std::string("out.") + GetParam().output);
  const HostResult result =
      RunHost("render " + zentrel + " " + input + " -o " + Quote(out), stdinFile);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto pixels = LoadPicture(out, width, height);
  ASSERT_EQ(pixels.size(), picture.size());
  EXPECT_GT(pixels[0], 240);                   // top-left red
  EXPECT_LT(pixels[(pixels.size() - 4)], 15);  // bottom-right red
  EXPECT_GT(pixels[(static_cast<std::size_t>(height / 2 - 1) * width) * 4], 240);
  EXPECT_LT(pixels[(static_cast<std::size_t>(height / 2) * width) * 4], 15);
}

INSTANTIATE_TEST_SUITE_P(Render, Orientation,
                         testing::Values(OrientationCase{"png", "png"},
                                         OrientationCase{"raw", "raw"},
                                         OrientationCase{"png", "raw"},
                                         OrientationCase{"raw", "png"}),
                         [](const testing::TestParamInfo<OrientationCase>& info) {
                           return std::string(info.param.input) + "To" + info.param.output;
                         });

TEST(RenderOutput, PowerOfTwoTextureShowsNothingOutsideTheImage) {
  ScratchDir dir;
  // Odd sizes, far from a power of two, and a parameter set whose output
  // follows the input closely so that a wrong extent would show.
  for (const std::string size : {"200x120", "33x17"}) {
    const std::string args = zentrel + " --size " + size + " -p Frequence=0.05 -o ";
    Render(args + Quote(dir / "plain.raw"));
    Render("--pot " + args + Quote(dir / "pot.raw"));
    const auto plain = ReadFileBytes(dir / "plain.raw");
    const auto pot = ReadFileBytes(dir / "pot.raw");
    ASSERT_FALSE(plain.empty());
    EXPECT_LE(MaxDifference(plain, pot), 1) << size;
  }
}

TEST(RenderOutput, FloatOutputKeepsValuesOutsideZeroToOne) {
  ScratchDir dir;
  // Amplitude 1 and Range 1 give sin(...) * 2 + 1, from -1 to 3.
  const std::string args = zentrel + " --size 64x36 -p Amplitude=1 -p Range=1 -o ";
  Render("--float " + args + Quote(dir / "float.raw"));
  Render(args + Quote(dir / "bytes.raw"));
  const auto floatBytes = ReadFileBytes(dir / "float.raw");
  const auto bytes = ReadFileBytes(dir / "bytes.raw");
  ASSERT_EQ(floatBytes.size(), bytes.size() * 4);
  std::vector<float> values(bytes.size());
  std::memcpy(values.data(), floatBytes.data(), floatBytes.size());
  float lowest = values[0];
  float highest = values[0];
  int worst = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    lowest = std::min(lowest, values[i]);
    highest = std::max(highest, values[i]);
    const float clamped = std::min(1.0f, std::max(0.0f, values[i]));
    worst = std::max(worst, std::abs(static_cast<int>(std::lround(clamped * 255.0f)) - bytes[i]));
  }
  EXPECT_LT(lowest, -0.5f);
  EXPECT_GT(highest, 2.0f);
  EXPECT_LE(worst, 1);
}

TEST(RenderOutput, PluginWithNullAndUnterminatedTextsStillRenders) {
  ScratchDir dir;
  // Parameter 0 has no name, so it is set by index; the fixture clears to
  // blue = 2 * value.
  const HostResult result = RunHost("render " + Quote(FIXTURE_ODD_ANSWERS) +
                                    " --size 4x2 -p 0=0.25 -o " + Quote(dir / "odd.raw"));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto pixels = ReadFileBytes(dir / "odd.raw");
  ASSERT_EQ(pixels.size(), 4u * 2 * 4);
  EXPECT_EQ(pixels[0], 0);
  EXPECT_EQ(pixels[1], 0);
  EXPECT_NEAR(pixels[2], 128, 1);
  EXPECT_EQ(pixels[3], 255);
}

}  // namespace
