#pragma once

#include <memory>
#include <string>

// A GL context of the host's own, with no window and no X server: surfaceless
// EGL with a desktop OpenGL compatibility profile on Linux, a hidden WGL
// window on Windows. Rendering goes into framebuffer objects the caller
// makes; the default framebuffer is never drawn to.
class OffscreenContext {
 public:
  virtual ~OffscreenContext() = default;

  // Makes the context current on the calling thread; false on failure.
  virtual bool MakeCurrent() = 0;
  // Leaves no context current on the calling thread.
  virtual void ReleaseCurrent() = 0;
  // A GL entry point of this context, or null.
  using Proc = void (*)();
  virtual Proc ProcAddress(const char* name) const = 0;

  // Creates a context and makes it current. On failure answers null and
  // says why in `error`.
  static std::unique_ptr<OffscreenContext> Create(std::string& error);
};
