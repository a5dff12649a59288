#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "ColourWaveReference.h"
#include "RenderFixture.h"
#include "effect/ParamConversions.h"

namespace {

// Input texels chosen to cover the luminance and threshold ranges: greys at
// and around the mask's edges, pure and mixed colours, odd alphas.
const std::vector<Rgba> texels = {
    {0.25, 0.5, 0.75, 1.0},     {0.0, 0.0, 0.0, 0.0},    {1.0, 1.0, 1.0, 1.0},
    {0.5, 0.5, 0.5, 0.5},       {0.25, 0.25, 0.25, 1.0}, {0.75, 0.75, 0.75, 0.25},
    {1.0, 0.0, 0.0, 1.0},       {0.0, 1.0, 0.0, 0.75},   {0.0, 0.0, 1.0, 0.5},
    {0.9, 0.1, 0.6, 0.3},       {0.3, 0.8, 0.2, 0.9},    {0.6, 0.4, 0.1, 0.0},
    {0.125, 0.375, 0.875, 1.0}, {0.4, 0.45, 0.5, 0.2},   {0.05, 0.6, 0.95, 0.65},
    {0.7, 0.3, 0.35, 1.0},
};
constexpr int imageWidth = 4;
constexpr int imageHeight = 4;

struct ParamCase {
  const char* what;
  WaveParams params;
  double seconds;  // when the frame is rendered, after set-up
};

WaveParams With(void (*change)(WaveParams&)) {
  WaveParams p;
  change(p);
  return p;
}

const ParamCase paramCases[] = {
    {"defaults", WaveParams{}, 0.0},
    {"threshold 0.5, mode 0", With([](WaveParams& p) { p.threshold = 0.5; }), 0.0},
    {"threshold 0.5, mode 1", With([](WaveParams& p) {
       p.threshold = 0.5;
       p.processAlpha = 1.0;
     }),
     0.0},
    {"saturation 0", With([](WaveParams& p) { p.saturation = 0.0; }), 0.0},
    {"saturation 0.9", With([](WaveParams& p) {
       p.saturation = 0.9;
       p.threshold = 0.6;
     }),
     0.0},
    {"rgb decal", With([](WaveParams& p) {
       p.rgbDecal = 0.3;
       p.frequence = 0.35;
     }),
     0.0},
    {"amplitude 0, range 0", With([](WaveParams& p) {
       p.amplitude = 0.0;
       p.range = 0.0;
     }),
     0.0},
    {"amplitude 0, range 1, mode 1", With([](WaveParams& p) {
       p.amplitude = 0.0;
       p.range = 1.0;
       p.processAlpha = 1.0;
     }),
     0.0},
    {"values outside [0, 1]", With([](WaveParams& p) {
       p.phase = -0.3;
       p.frequence = 1.4;
       p.saturation = 1.5;
       p.rgbDecal = -0.5;
       p.amplitude = 1.2;
       p.range = -0.2;
       p.threshold = 1.1;
     }),
     0.0},
    {"process alpha 0.999", With([](WaveParams& p) { p.processAlpha = 0.999; }), 0.0},
    {"process alpha 1", With([](WaveParams& p) {
       p.processAlpha = 1.0;
       p.threshold = 0.3;
     }),
     0.0},
    {"process alpha 1.5", With([](WaveParams& p) {
       p.processAlpha = 1.5;
       p.threshold = 0.4;
     }),
     0.0},
    {"process alpha 2 (outer weight 2)", With([](WaveParams& p) {
       p.processAlpha = 2.0;
       p.threshold = 0.4;
     }),
     0.0},
    {"speed 0.75 after a quarter second (time 2)", With([](WaveParams& p) {
       p.speed = 0.75;
       p.frequence = 0.5;
     }),
     0.25},
};

std::vector<float> TexelData() {
  std::vector<float> data;
  for (const Rgba& texel : texels) {
    for (double channel : texel) data.push_back(static_cast<float>(channel));
  }
  return data;
}

class Pixels : public RenderFixture {
 protected:
  void Apply(void* instance, const WaveParams& p) {
    const double values[] = {p.speed,     p.phase, p.frequence, p.saturation,  p.rgbDecal,
                             p.amplitude, p.range, p.threshold, p.processAlpha};
    for (std::uint32_t i = 0; i < 9; ++i) SetParam(instance, i, static_cast<float>(values[i]));
  }

  // Every pixel of a render of the texel image against the reference.
  void ExpectMatches(const std::vector<float>& pixels, const WaveParams& p, double time,
                     const char* what) {
    const int mode = ModeFromProcessAlpha(static_cast<float>(p.processAlpha));
    // The GL works in single precision; the wave's argument reaches about 40
    // radians here, so a few ulps of it show in the fourth decimal place.
    constexpr double tolerance = 1e-4;
    for (std::size_t i = 0; i < texels.size(); ++i) {
      const Rgba expected = ColourWave(texels[i], p, time, mode);
      for (int c = 0; c < 4; ++c) {
        EXPECT_NEAR(pixels[i * 4 + c], expected[c],
                    tolerance * std::max(1.0, std::abs(expected[c])))
            << what << ": texel " << i << " channel " << c;
      }
    }
  }
};

TEST_F(Pixels, EveryPixelMatchesTheReference) {
  const GLuint texture =
      MakeFloatTexture(TexelData(), imageWidth, imageHeight, imageWidth, imageHeight);
  auto target = MakeFloatTarget(imageWidth, imageHeight);
  for (const ParamCase& c : paramCases) {
    if (c.params.speed != 0.5 && !ClockIsFixed()) {
      std::printf("skipped '%s': the host cannot fix the plug-in's clock here\n", c.what);
      continue;
    }
    void* instance = CreateInstance();
    Apply(instance, c.params);
    ASSERT_EQ(RenderAt(instance, c.seconds,
                       TextureRecord{imageWidth, imageHeight, imageWidth, imageHeight, texture}),
              MixedValue{ResultSuccess});
    const double time = static_cast<double>(SpeedFactor(static_cast<float>(c.params.speed)) *
                                            static_cast<float>(c.seconds));
    ExpectMatches(target->Read(), c.params, time, c.what);
    DestroyInstance(instance);
  }
  glDeleteTextures(1, &texture);
}

TEST_F(Pixels, DefaultsGiveTheKnownValues) {
  // sin(2 x 3.1415 x v + 3.1415): 3.1415 is not pi, so 0 maps to about 0.0000927.
  const GLuint texture = MakeFloatTexture({0.25f, 0.5f, 0.75f, 1.0f}, 1, 1, 1, 1);
  auto target = MakeFloatTarget(1, 1);
  void* instance = CreateInstance();
  ASSERT_EQ(RenderAt(instance, 0.0, TextureRecord{1, 1, 1, 1, texture}), MixedValue{ResultSuccess});
  const std::vector<float> pixel = target->Read();
  EXPECT_NEAR(pixel[0], -1.0, 1e-4);
  EXPECT_NEAR(pixel[1], -0.000185, 2e-5);
  EXPECT_NEAR(pixel[2], 1.0, 1e-4);
  EXPECT_NEAR(pixel[3], 1.0, 1e-6);
  DestroyInstance(instance);
  glDeleteTextures(1, &texture);
}

TEST_F(Pixels, ImageSmallerThanItsTextureShowsOnlyTheImage) {
  // 4x4 image in an 8x8 texture whose other texels are magenta.
  const GLuint texture = MakeFloatTexture(TexelData(), imageWidth, imageHeight, 8, 8);
  auto target = MakeFloatTarget(imageWidth, imageHeight);
  void* instance = CreateInstance();
  WaveParams p;
  p.threshold = 0.5;
  Apply(instance, p);
  ASSERT_EQ(RenderAt(instance, 0.0, TextureRecord{imageWidth, imageHeight, 8, 8, texture}),
            MixedValue{ResultSuccess});
  ExpectMatches(target->Read(), p, 0.0, "4x4 image in an 8x8 texture");
  DestroyInstance(instance);
  glDeleteTextures(1, &texture);
}

}  // namespace
