#include "GLTarget.h"

#include <cstring>

namespace {

std::uint32_t NextPowerOfTwo(std::uint32_t value) {
  std::uint32_t result = 1;
  while (result < value) result <<= 1;
  return result;
}

}  // namespace

InputTexture::~InputTexture() {
  if (texture != 0) glDeleteTextures(1, &texture);
}

bool InputTexture::Create(int imageWidth, int imageHeight, bool powerOfTwo, std::string& error) {
  record.imageWidth = static_cast<std::uint32_t>(imageWidth);
  record.imageHeight = static_cast<std::uint32_t>(imageHeight);
  record.textureWidth = powerOfTwo ? NextPowerOfTwo(record.imageWidth) : record.imageWidth;
  record.textureHeight = powerOfTwo ? NextPowerOfTwo(record.imageHeight) : record.imageHeight;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (record.textureWidth > static_cast<std::uint32_t>(maxSize) ||
      record.textureHeight > static_cast<std::uint32_t>(maxSize)) {
    error = "input texture of " + std::to_string(record.textureWidth) + "x" +
            std::to_string(record.textureHeight) + " exceeds GL's limit of " +
            std::to_string(maxSize);
    return false;
  }
  glGenTextures(1, &texture);
  record.textureId = texture;
  gl.ActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  Prepare();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(record.textureWidth),
               static_cast<GLsizei>(record.textureHeight), 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  if (record.textureWidth != record.imageWidth || record.textureHeight != record.imageHeight) {
    // Zero the unused part once; Upload keeps a one-texel border of
    // repeated edge pixels so that filtering at the image's edge does not
    // blend in what lies outside.
    const std::vector<std::uint8_t> zeros(
        static_cast<std::size_t>(record.textureWidth) * record.textureHeight * 4, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, static_cast<GLsizei>(record.textureWidth),
                    static_cast<GLsizei>(record.textureHeight), GL_RGBA, GL_UNSIGNED_BYTE,
                    zeros.data());
    edge.resize(static_cast<std::size_t>(imageHeight + 1) * 4);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  if (glGetError() != GL_NO_ERROR) {
    error = "cannot create the input texture";
    return false;
  }
  return true;
}

void InputTexture::Prepare() {
  gl.ActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void InputTexture::Upload(const std::uint8_t* pixels) {
  const auto w = static_cast<GLsizei>(record.imageWidth);
  const auto h = static_cast<GLsizei>(record.imageHeight);
  gl.ActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  const std::size_t rowBytes = static_cast<std::size_t>(w) * 4;
  if (record.textureHeight > record.imageHeight) {
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, h, w, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                    pixels + rowBytes * static_cast<std::size_t>(h - 1));
  }
  if (record.textureWidth > record.imageWidth) {
    for (GLsizei y = 0; y < h; ++y) {
      std::memcpy(&edge[static_cast<std::size_t>(y) * 4],
                  pixels + rowBytes * static_cast<std::size_t>(y) + rowBytes - 4, 4);
    }
    const GLsizei rows = record.textureHeight > record.imageHeight ? h + 1 : h;
    if (rows > h) std::memcpy(&edge[static_cast<std::size_t>(h) * 4], &edge[(h - 1) * 4u], 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, w, 0, 1, rows, GL_RGBA, GL_UNSIGNED_BYTE, edge.data());
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

RenderTarget::~RenderTarget() {
  if (buffers[0] != 0) gl.DeleteBuffers(depth, buffers);
  if (framebuffer != 0) gl.DeleteFramebuffers(1, &framebuffer);
  if (colour != 0) glDeleteTextures(1, &colour);
}

bool RenderTarget::Create(int w, int h, bool floatPixels, std::string& error) {
  width = w;
  height = h;
  pixelType = floatPixels ? GL_FLOAT : GL_UNSIGNED_BYTE;
  rowBytes = static_cast<std::size_t>(w) * (floatPixels ? 16 : 4);
  frameBytes = rowBytes * static_cast<std::size_t>(h);

  glGenTextures(1, &colour);
  glBindTexture(GL_TEXTURE_2D, colour);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, floatPixels ? GL_RGBA32F : GL_RGBA8, w, h, 0, GL_RGBA, pixelType,
               nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  gl.GenFramebuffers(1, &framebuffer);
  gl.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
  if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE ||
      glGetError() != GL_NO_ERROR) {
    error = std::string("cannot render into an ") + (floatPixels ? "RGBA32F" : "RGBA8") +
            " framebuffer of " + std::to_string(w) + "x" + std::to_string(h);
    return false;
  }
  if (gl.GenBuffers && gl.BindBuffer && gl.BufferData && gl.MapBuffer && gl.UnmapBuffer &&
      gl.DeleteBuffers) {
    depth = maxDepth;
    gl.GenBuffers(depth, buffers);
    for (int i = 0; i < depth; ++i) {
      gl.BindBuffer(GL_PIXEL_PACK_BUFFER, buffers[i]);
      gl.BufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(frameBytes), nullptr,
                    GL_STREAM_READ);
    }
    gl.BindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    if (glGetError() != GL_NO_ERROR) {
      error = "cannot create pixel buffers for reading back frames";
      return false;
    }
  } else {
    depth = 1;
    scratch.resize(frameBytes);
  }
  return true;
}

void RenderTarget::Prepare() {
  gl.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  if (gl.BindBuffer) {
    gl.BindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    gl.BindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  }
  gl.UseProgram(0);
  glViewport(0, 0, width, height);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_LIGHTING);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

void RenderTarget::StartReadback() {
  // The plug-in may have bound a framebuffer of its own and left it bound.
  gl.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  if (depth == 1 && buffers[0] == 0) {
    glReadPixels(0, 0, width, height, GL_RGBA, pixelType, scratch.data());
  } else {
    gl.BindBuffer(GL_PIXEL_PACK_BUFFER, buffers[next]);
    glReadPixels(0, 0, width, height, GL_RGBA, pixelType, nullptr);
    gl.BindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  }
  next = (next + 1) % depth;
  ++pending;
}

bool RenderTarget::FinishReadback(std::uint8_t* out) {
  const int slot = ((next - pending) % depth + depth) % depth;
  const std::uint8_t* source = scratch.data();
  if (buffers[0] != 0) {
    gl.BindBuffer(GL_PIXEL_PACK_BUFFER, buffers[slot]);
    source = static_cast<const std::uint8_t*>(gl.MapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY));
  }
  // GL's first row is the bottom one; files and pipes start at the top.
  if (source != nullptr) {
    for (int y = 0; y < height; ++y) {
      std::memcpy(out + rowBytes * static_cast<std::size_t>(height - 1 - y),
                  source + rowBytes * static_cast<std::size_t>(y), rowBytes);
    }
  }
  if (buffers[0] != 0) {
    if (source != nullptr) gl.UnmapBuffer(GL_PIXEL_PACK_BUFFER);
    gl.BindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  }
  --pending;
  return source != nullptr;
}
