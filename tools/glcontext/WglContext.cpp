#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <GL/gl.h>
#include <GL/wglext.h>

#include <cstdio>

#include "glcontext/OffscreenContext.h"

namespace {

// WGL needs a window with a pixel format even though nothing is ever drawn
// to it: the context renders into the caller's framebuffer objects. The
// window is never shown.
constexpr const char* windowClassName = "ZentrelFxOffscreenGL";

std::string WindowsError(const char* what) {
  char code[16];
  snprintf(code, sizeof code, "%lu", static_cast<unsigned long>(GetLastError()));
  return std::string(what) + " failed (Windows error " + code + ")";
}

bool RegisterWindowClass(HINSTANCE module) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = module;
  windowClass.lpszClassName = windowClassName;
  if (RegisterClassA(&windowClass) != 0) return true;
  // A second context in the same process finds the class already there.
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

OffscreenContext::Proc LookupProc(const char* name) {
  const PROC proc = wglGetProcAddress(name);
  // wglGetProcAddress answers only for entry points beyond OpenGL 1.1, and
  // some drivers answer small integers instead of null for unknown names.
  const auto value = reinterpret_cast<INT_PTR>(proc);
  if (value != 0 && value != 1 && value != 2 && value != 3 && value != -1) {
    return reinterpret_cast<OffscreenContext::Proc>(proc);
  }
  // The OpenGL 1.1 names are plain exports of opengl32.dll.
  if (HMODULE opengl = GetModuleHandleA("opengl32.dll")) {
    return reinterpret_cast<OffscreenContext::Proc>(GetProcAddress(opengl, name));
  }
  return nullptr;
}

class WglContext final : public OffscreenContext {
 public:
  WglContext(HWND window, HDC deviceContext, HGLRC context)
      : window(window), deviceContext(deviceContext), context(context) {}
  ~WglContext() override {
    if (wglGetCurrentContext() == context) wglMakeCurrent(nullptr, nullptr);
    if (context != nullptr) wglDeleteContext(context);
    ReleaseDC(window, deviceContext);
    DestroyWindow(window);
  }
  WglContext(const WglContext&) = delete;
  WglContext& operator=(const WglContext&) = delete;

  bool MakeCurrent() override { return wglMakeCurrent(deviceContext, context) == TRUE; }
  void ReleaseCurrent() override { wglMakeCurrent(nullptr, nullptr); }
  Proc ProcAddress(const char* name) const override { return LookupProc(name); }

  // Replaces the first context by one made with wglCreateContextAttribsARB
  // asking for the compatibility profile, where the driver offers that: the
  // plug-in relies on the fixed-function built-ins. Keeps the first context
  // (which is a compatibility context by definition) otherwise.
  void UpgradeToCompatibilityProfile() {
    const auto createContextAttribs = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
        LookupProc("wglCreateContextAttribsARB"));
    if (createContextAttribs == nullptr) return;
    const int attributes[] = {WGL_CONTEXT_PROFILE_MASK_ARB,
                              WGL_CONTEXT_COMPATIBILITY_PROFILE_BIT_ARB, 0};
    HGLRC upgraded = createContextAttribs(deviceContext, nullptr, attributes);
    if (upgraded == nullptr) return;
    if (wglMakeCurrent(deviceContext, upgraded) != TRUE) {
      wglDeleteContext(upgraded);
      MakeCurrent();
      return;
    }
    wglDeleteContext(context);
    context = upgraded;
  }

 private:
  HWND window;
  HDC deviceContext;
  HGLRC context;
};

}  // namespace

std::unique_ptr<OffscreenContext> OffscreenContext::Create(std::string& error) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  if (!RegisterWindowClass(module)) {
    error = WindowsError("RegisterClass");
    return nullptr;
  }
  HWND window = CreateWindowExA(0, windowClassName, "ZentrelFx offscreen GL",
                                WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 64,
                                64, nullptr, nullptr, module, nullptr);
  if (window == nullptr) {
    error = WindowsError("CreateWindowEx");
    return nullptr;
  }
  HDC deviceContext = GetDC(window);
  if (deviceContext == nullptr) {
    error = WindowsError("GetDC");
    DestroyWindow(window);
    return nullptr;
  }

  PIXELFORMATDESCRIPTOR wanted = {};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 32;
  wanted.cAlphaBits = 8;
  wanted.cDepthBits = 24;
  wanted.cStencilBits = 8;
  wanted.iLayerType = PFD_MAIN_PLANE;
  const int pixelFormat = ChoosePixelFormat(deviceContext, &wanted);
  if (pixelFormat == 0 || SetPixelFormat(deviceContext, pixelFormat, &wanted) != TRUE) {
    error = WindowsError(pixelFormat == 0 ? "ChoosePixelFormat" : "SetPixelFormat");
    ReleaseDC(window, deviceContext);
    DestroyWindow(window);
    return nullptr;
  }

  HGLRC context = wglCreateContext(deviceContext);
  if (context == nullptr) {
    error = WindowsError("wglCreateContext");
    ReleaseDC(window, deviceContext);
    DestroyWindow(window);
    return nullptr;
  }
  auto result = std::make_unique<WglContext>(window, deviceContext, context);
  if (!result->MakeCurrent()) {
    error = WindowsError("wglMakeCurrent");
    return nullptr;
  }
  result->UpgradeToCompatibilityProfile();
  return result;
}
