#pragma once

// The GL entry points above OpenGL 1.1 that hosts and tests use, resolved
// through the OffscreenContext they run in. OpenGL 1.1 calls go straight to
// the system GL library.

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

class OffscreenContext;

// clang-format off
#define HOST_GL_ENTRY_POINTS(X)                                   \
  X(PFNGLACTIVETEXTUREPROC,             ActiveTexture)            \
  X(PFNGLGENFRAMEBUFFERSPROC,           GenFramebuffers)          \
  X(PFNGLDELETEFRAMEBUFFERSPROC,        DeleteFramebuffers)       \
  X(PFNGLBINDFRAMEBUFFERPROC,           BindFramebuffer)          \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC,      FramebufferTexture2D)     \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC,    CheckFramebufferStatus)   \
  X(PFNGLCREATESHADERPROC,              CreateShader)             \
  X(PFNGLSHADERSOURCEPROC,              ShaderSource)             \
  X(PFNGLCOMPILESHADERPROC,             CompileShader)            \
  X(PFNGLGETSHADERIVPROC,               GetShaderiv)              \
  X(PFNGLGETSHADERINFOLOGPROC,          GetShaderInfoLog)         \
  X(PFNGLCREATEPROGRAMPROC,             CreateProgram)            \
  X(PFNGLATTACHSHADERPROC,              AttachShader)             \
  X(PFNGLLINKPROGRAMPROC,               LinkProgram)              \
  X(PFNGLGETPROGRAMIVPROC,              GetProgramiv)             \
  X(PFNGLUSEPROGRAMPROC,                UseProgram)               \
  X(PFNGLGETUNIFORMLOCATIONPROC,        GetUniformLocation)       \
  X(PFNGLUNIFORM1IPROC,                 Uniform1i)                \
  X(PFNGLDELETESHADERPROC,              DeleteShader)             \
  X(PFNGLDELETEPROGRAMPROC,             DeleteProgram)            \
  X(PFNGLISPROGRAMPROC,                 IsProgram)                \
  X(PFNGLISSHADERPROC,                  IsShader)                 \
  X(PFNGLGENBUFFERSPROC,                GenBuffers)               \
  X(PFNGLDELETEBUFFERSPROC,             DeleteBuffers)            \
  X(PFNGLBINDBUFFERPROC,                BindBuffer)               \
  X(PFNGLBUFFERDATAPROC,                BufferData)               \
  X(PFNGLMAPBUFFERPROC,                 MapBuffer)                \
  X(PFNGLUNMAPBUFFERPROC,               UnmapBuffer)              \
  X(PFNGLGENQUERIESPROC,                GenQueries)               \
  X(PFNGLDELETEQUERIESPROC,             DeleteQueries)            \
  X(PFNGLBEGINQUERYPROC,                BeginQuery)               \
  X(PFNGLENDQUERYPROC,                  EndQuery)                 \
  X(PFNGLGETQUERYOBJECTUI64VPROC,       GetQueryObjectui64v)      \
  X(PFNGLDEBUGMESSAGECALLBACKPROC,      DebugMessageCallback)     \
  X(PFNGLBLENDFUNCSEPARATEPROC,         BlendFuncSeparate)        \
  X(PFNGLBLENDEQUATIONPROC,             BlendEquation)
// clang-format on

struct HostGL {
#define HOST_GL_POINTER(type, name) type name = nullptr;
  HOST_GL_ENTRY_POINTS(HOST_GL_POINTER)
#undef HOST_GL_POINTER

  // Resolves every entry point in `context`; false if one the host cannot
  // do without (framebuffers, shaders, ActiveTexture) is missing. The
  // optional ones (buffers, queries, debug output) may stay null.
  bool Load(const OffscreenContext& context);
};
