#include "platform/GLProcLookup.h"

#include "platform/GL.h"

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

namespace platform {

#if defined(_WIN32)

GLProc LookupGLProc(const char* name) {
  PROC proc = wglGetProcAddress(name);
  // Some drivers answer small integers instead of null for unknown names.
  const auto value = reinterpret_cast<INT_PTR>(proc);
  if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) {
    return nullptr;
  }
  return reinterpret_cast<GLProc>(proc);
}

#else

namespace {

using ProcAddressFn = GLProc (*)(const char*);
using CurrentContextFn = void* (*)();

template <typename Fn>
Fn FindInProcess(const char* symbol) {
  return reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, symbol));
}

}  // namespace

GLProc LookupGLProc(const char* name) {
  // A host on EGL (no X server at all) has its context current through EGL,
  // and only EGL's lookup is sure to know it.
  const auto eglCurrent = FindInProcess<CurrentContextFn>("eglGetCurrentContext");
  const auto eglLookup = FindInProcess<ProcAddressFn>("eglGetProcAddress");
  if (eglCurrent != nullptr && eglLookup != nullptr && eglCurrent() != nullptr) {
    if (GLProc proc = eglLookup(name)) return proc;
  }
  // A GLX host, or an EGL library the host loaded privately: the GL library
  // we link against dispatches to whichever context is current.
  if (const auto glxLookup = FindInProcess<ProcAddressFn>("glXGetProcAddressARB")) {
    if (GLProc proc = glxLookup(name)) return proc;
  }
  return FindInProcess<GLProc>(name);
}

#endif

}  // namespace platform
