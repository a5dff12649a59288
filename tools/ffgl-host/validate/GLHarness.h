#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "glcontext/HostGL.h"

class OffscreenContext;

// The validator's side of GL inside one test's child process: its own
// offscreen context, framebuffers with a guard band, input textures, pixel
// reads and the debug-output messages the driver reported.
class GLHarness {
 public:
  GLHarness();
  ~GLHarness();

  bool Start(std::string& error);
  HostGL gl;

  // Entry points HostGL does not carry.
  PFNGLISBUFFERPROC IsBuffer = nullptr;
  PFNGLISFRAMEBUFFERPROC IsFramebuffer = nullptr;
  PFNGLISRENDERBUFFERPROC IsRenderbuffer = nullptr;
  PFNGLBLENDCOLORPROC BlendColor = nullptr;
  bool hasDebugOutput = false;

  // A colour framebuffer of `width` x `height`; the plug-in is given a
  // viewport `guard` pixels inside it on every side.
  struct Target {
    GLuint framebuffer = 0;
    GLuint texture = 0;
    int width = 0;
    int height = 0;
    int guard = 0;
    int ViewportWidth() const { return width - 2 * guard; }
    int ViewportHeight() const { return height - 2 * guard; }
  };
  Target MakeTarget(int viewportWidth, int viewportHeight, int guard);
  void DeleteTarget(Target& target);
  // Binds the target, sets the viewport inside the guard band, no scissor.
  void BindTarget(const Target& target);
  // Fills the whole target (guard band included) with one RGBA8 colour.
  void Fill(const Target& target, std::uint32_t rgba);
  std::vector<std::uint32_t> Read(const Target& target);

  // A 2D RGBA8 texture of one colour; 0 if the driver refuses the size.
  GLuint MakeTexture(int width, int height, std::uint32_t rgba);

  // Clean GL state for drawing checks: no blend, depth, cull or scissor,
  // identity matrices, unit 0 active.
  void PlainState();

  // GL errors pending (drained) and debug-output errors since last asked.
  std::vector<std::string> TakeErrors();

  // The largest texture size, capped to what fits in memory comfortably.
  int MaxTextureSize() const;

  std::vector<std::string> debugErrors;

 private:
  std::unique_ptr<OffscreenContext> context;
};

// "GL_INVALID_ENUM" and so on.
std::string GLErrorName(GLenum error);

// Pixels of the guard band (outside the viewport) that are not `colour`.
std::size_t GuardPixelsChanged(const GLHarness::Target& target,
                               const std::vector<std::uint32_t>& pixels, std::uint32_t colour);
// Pixels inside the viewport equal to `colour` in both reads: never drawn.
std::size_t ViewportPixelsUndrawn(const GLHarness::Target& target,
                                  const std::vector<std::uint32_t>& first, std::uint32_t firstFill,
                                  const std::vector<std::uint32_t>& second,
                                  std::uint32_t secondFill);
