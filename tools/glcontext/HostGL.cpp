#include "glcontext/HostGL.h"

#include "glcontext/OffscreenContext.h"

bool HostGL::Load(const OffscreenContext& context) {
#define HOST_GL_RESOLVE(type, name) name = reinterpret_cast<type>(context.ProcAddress("gl" #name));
  HOST_GL_ENTRY_POINTS(HOST_GL_RESOLVE)
#undef HOST_GL_RESOLVE
  return ActiveTexture && GenFramebuffers && DeleteFramebuffers && BindFramebuffer &&
         FramebufferTexture2D && CheckFramebufferStatus && CreateShader && ShaderSource &&
         CompileShader && GetShaderiv && GetShaderInfoLog && CreateProgram && AttachShader &&
         LinkProgram && GetProgramiv && UseProgram && GetUniformLocation && Uniform1i &&
         DeleteShader && DeleteProgram;
}
