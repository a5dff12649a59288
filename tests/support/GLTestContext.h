#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "glcontext/HostGL.h"
#include "glcontext/OffscreenContext.h"

#ifndef GL_RGBA32F
#define GL_RGBA32F 0x8814
#endif

// One offscreen GL context per test process (surfaceless EGL, desktop
// compatibility profile), shared by every GL test in it. Tests skip, never
// pass, when no context can be had.
class GLTestContext : public ::testing::Test {
 public:
  static void SetUpTestSuite();

 protected:
  void SetUp() override;

  static OffscreenContext& Context() { return *context; }
  static HostGL& GL() { return gl; }

  // A 2D RGBA32F texture of textureWidth x textureHeight whose lower-left
  // imageWidth x imageHeight texels are `texels` (row 0 at the bottom);
  // nearest filtering, so each fragment sees exactly one texel.
  static GLuint MakeFloatTexture(const std::vector<float>& texels, int imageWidth, int imageHeight,
                                 int textureWidth, int textureHeight);

  // A framebuffer with one RGBA32F colour attachment: floats come back
  // unclamped, as the program wrote them.
  struct FloatTarget {
    GLuint framebuffer = 0;
    GLuint texture = 0;
    int width = 0;
    int height = 0;
    ~FloatTarget();
    std::vector<float> Read() const;
  };
  static std::unique_ptr<FloatTarget> MakeFloatTarget(int width, int height);

 private:
  // Never destroyed: tearing the context down at exit makes Mesa unload its
  // driver, and LeakSanitizer then reports the driver's own bookkeeping.
  static OffscreenContext* context;
  static HostGL gl;
  static std::string failure;
};
