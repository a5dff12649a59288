#include "validate/GLHarness.h"

#include <cstdio>

#include "glcontext/OffscreenContext.h"

namespace {

void APIENTRY OnDebugMessage(GLenum, GLenum type, GLuint, GLenum severity, GLsizei length,
                             const GLchar* message, const void* user) {
  if (type != GL_DEBUG_TYPE_ERROR && severity != GL_DEBUG_SEVERITY_HIGH) return;
  auto* harness = static_cast<GLHarness*>(const_cast<void*>(user));
  if (harness->debugErrors.size() >= 16) return;
  std::string text =
      length >= 0 ? std::string(message, static_cast<std::size_t>(length)) : std::string(message);
  harness->debugErrors.push_back("debug output: " + text);
}

}  // namespace

std::string GLErrorName(GLenum error) {
  switch (error) {
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
    default: {
      char text[32];
      std::snprintf(text, sizeof text, "GL error 0x%04X", error);
      return text;
    }
  }
}

GLHarness::GLHarness() = default;
GLHarness::~GLHarness() = default;

bool GLHarness::Start(std::string& error) {
  context = OffscreenContext::Create(error);
  if (!context) return false;
  if (!gl.Load(*context)) {
    error = "the GL context lacks framebuffer objects or GLSL";
    return false;
  }
  IsBuffer = reinterpret_cast<PFNGLISBUFFERPROC>(context->ProcAddress("glIsBuffer"));
  IsFramebuffer = reinterpret_cast<PFNGLISFRAMEBUFFERPROC>(context->ProcAddress("glIsFramebuffer"));
  IsRenderbuffer =
      reinterpret_cast<PFNGLISRENDERBUFFERPROC>(context->ProcAddress("glIsRenderbuffer"));
  BlendColor = reinterpret_cast<PFNGLBLENDCOLORPROC>(context->ProcAddress("glBlendColor"));
  if (gl.DebugMessageCallback != nullptr) {
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    gl.DebugMessageCallback(OnDebugMessage, this);
    hasDebugOutput = glGetError() == GL_NO_ERROR;
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  return true;
}

GLHarness::Target GLHarness::MakeTarget(int viewportWidth, int viewportHeight, int guard) {
  Target target;
  target.width = viewportWidth + 2 * guard;
  target.height = viewportHeight + 2 * guard;
  target.guard = guard;
  glGenTextures(1, &target.texture);
  glBindTexture(GL_TEXTURE_2D, target.texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, target.width, target.height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  gl.GenFramebuffers(1, &target.framebuffer);
  gl.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.texture, 0);
  return target;
}

void GLHarness::DeleteTarget(Target& target) {
  gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
  gl.DeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  target = Target{};
}

void GLHarness::BindTarget(const Target& target) {
  gl.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glViewport(target.guard, target.guard, target.ViewportWidth(), target.ViewportHeight());
}

void GLHarness::Fill(const Target& target, std::uint32_t rgba) {
  gl.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
  GLboolean mask[4];
  glGetBooleanv(GL_COLOR_WRITEMASK, mask);
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(
      static_cast<float>(rgba & 0xFF) / 255.0f, static_cast<float>((rgba >> 8) & 0xFF) / 255.0f,
      static_cast<float>((rgba >> 16) & 0xFF) / 255.0f, static_cast<float>(rgba >> 24) / 255.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
  glColorMask(mask[0], mask[1], mask[2], mask[3]);
  if (scissor) glEnable(GL_SCISSOR_TEST);
}

std::vector<std::uint32_t> GLHarness::Read(const Target& target) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(target.width) *
                                    static_cast<std::size_t>(target.height));
  gl.BindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glReadPixels(0, 0, target.width, target.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

GLuint GLHarness::MakeTexture(int width, int height, std::uint32_t rgba) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  std::vector<std::uint32_t> pixels(
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height), rgba);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               pixels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  if (glGetError() != GL_NO_ERROR) {
    glDeleteTextures(1, &texture);
    return 0;
  }
  return texture;
}

void GLHarness::PlainState() {
  gl.UseProgram(0);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_STENCIL_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gl.ActiveTexture(GL_TEXTURE0);
}

std::vector<std::string> GLHarness::TakeErrors() {
  std::vector<std::string> errors;
  for (int i = 0; i < 16; ++i) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) break;
    errors.push_back("glGetError: " + GLErrorName(error));
  }
  errors.insert(errors.end(), debugErrors.begin(), debugErrors.end());
  debugErrors.clear();
  return errors;
}

int GLHarness::MaxTextureSize() const {
  GLint size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  return size;
}

namespace {
bool InViewport(const GLHarness::Target& target, int x, int y) {
  return x >= target.guard && x < target.width - target.guard && y >= target.guard &&
         y < target.height - target.guard;
}
}  // namespace

std::size_t GuardPixelsChanged(const GLHarness::Target& target,
                               const std::vector<std::uint32_t>& pixels, std::uint32_t colour) {
  std::size_t changed = 0;
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      if (InViewport(target, x, y)) continue;
      if (pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(target.width) +
                 static_cast<std::size_t>(x)] != colour) {
        ++changed;
      }
    }
  }
  return changed;
}

std::size_t ViewportPixelsUndrawn(const GLHarness::Target& target,
                                  const std::vector<std::uint32_t>& first, std::uint32_t firstFill,
                                  const std::vector<std::uint32_t>& second,
                                  std::uint32_t secondFill) {
  std::size_t undrawn = 0;
  for (int y = target.guard; y < target.height - target.guard; ++y) {
    for (int x = target.guard; x < target.width - target.guard; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(target.width) +
                             static_cast<std::size_t>(x);
      if (first[at] == firstFill && second[at] == secondFill) ++undrawn;
    }
  }
  return undrawn;
}
