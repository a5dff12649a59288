#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "RenderFixture.h"

namespace {

// Reads the plug-in's `time` uniform straight from its program, so the
// clock is checked exactly rather than through the pixels.
class Clock : public RenderFixture {
 protected:
  void SetUp() override {
    RenderFixture::SetUp();
    if (IsSkipped()) return;
    if (!ClockIsFixed()) GTEST_SKIP() << "the host cannot fix the plug-in's clock here";
    getUniformfv = reinterpret_cast<PFNGLGETUNIFORMFVPROC>(Context().ProcAddress("glGetUniformfv"));
    ASSERT_NE(getUniformfv, nullptr);
    input = MakeFloatTexture({0.5f, 0.5f, 0.5f, 1.0f}, 1, 1, 1, 1);
    target = MakeFloatTarget(1, 1);
  }
  void TearDown() override {
    target.reset();
    if (input != 0) glDeleteTextures(1, &input);
    RenderFixture::TearDown();
  }

  // The instance and the program it made at set-up.
  std::pair<void*, GLuint> CreateWithProgram() {
    std::set<GLuint> before;
    for (GLuint name = 1; name < 256; ++name) {
      if (GL().IsProgram(name)) before.insert(name);
    }
    void* instance = CreateInstance();
    for (GLuint name = 1; name < 256; ++name) {
      if (GL().IsProgram(name) && before.count(name) == 0) return {instance, name};
    }
    ADD_FAILURE() << "no program appeared at set-up";
    return {instance, 0};
  }

  float Time(GLuint program) {
    float value = std::numeric_limits<float>::quiet_NaN();
    getUniformfv(program, GL().GetUniformLocation(program, "time"), &value);
    return value;
  }

  TextureRecord Input() const { return TextureRecord{1, 1, 1, 1, input}; }

  PFNGLGETUNIFORMFVPROC getUniformfv = nullptr;
  GLuint input = 0;
  std::unique_ptr<FloatTarget> target;
};

TEST_F(Clock, TimeGrowsBySpeedFactorTimesDelta) {
  struct Case {
    float speed;
    float radiansPerSecond;
  };
  const Case cases[] = {{0.0f, -64.0f}, {0.25f, -8.0f}, {0.5f, 0.0f}, {0.75f, 8.0f}, {1.0f, 64.0f}};
  for (const Case& c : cases) {
    auto [instance, program] = CreateWithProgram();
    SetParam(instance, 0, c.speed);
    ASSERT_EQ(RenderAt(instance, 0.5, Input()), MixedValue{ResultSuccess});
    EXPECT_EQ(Time(program), c.radiansPerSecond * 0.5f) << "speed " << c.speed;
    ASSERT_EQ(RenderAt(instance, 0.75, Input()), MixedValue{ResultSuccess});
    EXPECT_EQ(Time(program), c.radiansPerSecond * 0.75f) << "speed " << c.speed;
    EXPECT_EQ(Call(*plugin, HostCall::ParamRead, 0, instance), MixedFromFloat(c.speed))
        << "the clock never writes Speed back";
    DestroyInstance(instance);
  }
}

TEST_F(Clock, FrameWithoutInputStillAdvancesTheClock) {
  auto [instance, program] = CreateWithProgram();
  SetParam(instance, 0, 1.0f);
  const FrameRecord noInput{0, nullptr};
  EXPECT_EQ(RenderAt(instance, 0.5, noInput), MixedValue{ResultFailure});
  ASSERT_EQ(RenderAt(instance, 0.75, Input()), MixedValue{ResultSuccess});
  EXPECT_EQ(Time(program), 64.0f * 0.5f + 64.0f * 0.25f);
  DestroyInstance(instance);
}

TEST_F(Clock, NonFiniteSpeedDoesNotPoisonTheWave) {
  auto [instance, program] = CreateWithProgram();
  SetParam(instance, 0, std::numeric_limits<float>::quiet_NaN());
  ASSERT_EQ(RenderAt(instance, 0.25, Input()), MixedValue{ResultSuccess});
  SetParam(instance, 0, std::numeric_limits<float>::infinity());
  ASSERT_EQ(RenderAt(instance, 0.5, Input()), MixedValue{ResultSuccess});
  SetParam(instance, 0, 0.75f);
  ASSERT_EQ(RenderAt(instance, 1.0, Input()), MixedValue{ResultSuccess});
  EXPECT_EQ(Time(program), 8.0f * 0.5f) << "only the finite frame moved the wave";
  EXPECT_TRUE(std::isinf(FloatFromMixed(Call(*plugin, HostCall::ParamRead, 0, instance))) == false);
  DestroyInstance(instance);
}

}  // namespace
