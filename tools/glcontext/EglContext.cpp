#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>

#include "glcontext/OffscreenContext.h"

namespace {

class EglContext final : public OffscreenContext {
 public:
  EglContext(EGLDisplay display, EGLContext context) : display(display), context(context) {}
  ~EglContext() override {
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, context);
    eglTerminate(display);
  }

  bool MakeCurrent() override {
    return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE;
  }
  void ReleaseCurrent() override {
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
  Proc ProcAddress(const char* name) const override {
    return reinterpret_cast<Proc>(eglGetProcAddress(name));
  }

 private:
  EGLDisplay display;
  EGLContext context;
};

std::string EglError(const char* what) {
  char code[16];
  snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
  return std::string(what) + " failed (EGL error " + code + ")";
}

}  // namespace

std::unique_ptr<OffscreenContext> OffscreenContext::Create(std::string& error) {
  const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) {
    error = "EGL offers no eglGetPlatformDisplayEXT; surfaceless EGL is needed";
    return nullptr;
  }
  EGLDisplay display =
      getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY) {
    error = EglError("eglGetPlatformDisplayEXT(surfaceless)");
    return nullptr;
  }
  if (eglInitialize(display, nullptr, nullptr) != EGL_TRUE) {
    error = EglError("eglInitialize");
    return nullptr;
  }
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
    error = EglError("eglBindAPI(EGL_OPENGL_API)");
    eglTerminate(display);
    return nullptr;
  }
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configCount = 0;
  // Surfaceless contexts need no config; take one if offered, else none.
  if (eglChooseConfig(display, configAttributes, &config, 1, &configCount) != EGL_TRUE ||
      configCount < 1) {
    config = EGL_NO_CONFIG_KHR;
  }
  const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
  if (context == EGL_NO_CONTEXT) {
    error = EglError("eglCreateContext(desktop GL, compatibility profile)");
    eglTerminate(display);
    return nullptr;
  }
  auto result = std::make_unique<EglContext>(display, context);
  if (!result->MakeCurrent()) {
    error = EglError("eglMakeCurrent(surfaceless)");
    return nullptr;
  }
  return result;
}
