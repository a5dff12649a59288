#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "glcontext/HostGL.h"
#include "host/HostRecords.h"

// The texture that carries the input picture to the plug-in. With
// `powerOfTwo` the picture sits in the bottom-left corner of a larger
// power-of-two texture, as many hosts allocate them.
class InputTexture {
 public:
  explicit InputTexture(const HostGL& gl) : gl(gl) {}
  ~InputTexture();
  InputTexture(const InputTexture&) = delete;
  InputTexture& operator=(const InputTexture&) = delete;

  bool Create(int imageWidth, int imageHeight, bool powerOfTwo, std::string& error);
  // `pixels`: RGBA8, bottom row first, the image's size.
  void Upload(const std::uint8_t* pixels);
  // Undoes whatever the plug-in did to the texture's binding and sampling.
  void Prepare();
  TextureRecord& Record() { return record; }

 private:
  const HostGL& gl;
  GLuint texture = 0;
  TextureRecord record{};
  std::vector<std::uint8_t> edge;
};

// The framebuffer the plug-in draws into, and reading it back. Readback goes
// through a ring of pixel buffer objects where the context has them, so the
// copy of one frame overlaps the rendering of the next.
class RenderTarget {
 public:
  explicit RenderTarget(const HostGL& gl) : gl(gl) {}
  ~RenderTarget();
  RenderTarget(const RenderTarget&) = delete;
  RenderTarget& operator=(const RenderTarget&) = delete;

  // RGBA8 (clamped) or, with `floatPixels`, RGBA32F.
  bool Create(int width, int height, bool floatPixels, std::string& error);
  std::size_t FrameBytes() const { return frameBytes; }

  // The host's state for a frame, set afresh every time: nothing the
  // plug-in left behind is relied on.
  void Prepare();

  // Starts reading the frame just drawn. Call Finish first while Pending()
  // equals Depth().
  void StartReadback();
  // Copies the oldest started frame, top row first, into `out`
  // (FrameBytes() long). False when GL will not hand the pixels over.
  bool FinishReadback(std::uint8_t* out);
  int Pending() const { return pending; }
  int Depth() const { return depth; }

 private:
  const HostGL& gl;
  GLuint framebuffer = 0;
  GLuint colour = 0;
  int width = 0;
  int height = 0;
  GLenum pixelType = GL_UNSIGNED_BYTE;
  std::size_t rowBytes = 0;
  std::size_t frameBytes = 0;
  static constexpr int maxDepth = 2;
  GLuint buffers[maxDepth] = {};
  int depth = 1;
  int pending = 0;
  int next = 0;                       // the slot StartReadback fills
  std::vector<std::uint8_t> scratch;  // without pixel buffer objects
};
