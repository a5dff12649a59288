#include "shader/FFGLShader.h"

#include <cstdio>

#include "platform/GLLoader.h"

namespace gl = platform::gl;

namespace {

bool HasText(const char* source) { return source != nullptr && source[0] != '\0'; }

constexpr GLsizei logBufferSize = 1024;

}  // namespace

bool FFGLShader::CompileAndAttach(std::uint32_t shader, const char* source, const char* stage) {
  gl::ShaderSource(shader, 1, &source, nullptr);
  gl::CompileShader(shader);
  GLint compiled = 0;
  gl::GetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == 1) {
    gl::AttachShader(program, shader);
    return true;
  }
  char log[logBufferSize] = {};
  GLsizei length = 0;
  gl::GetShaderInfoLog(shader, logBufferSize - 1, &length, log);
  // A driver may report a length it did not write; stay inside the buffer.
  if (length < 0 || length > logBufferSize - 1) length = 0;
  log[length] = '\0';
  std::printf("%s Shader error: %s \n", stage, log);
  std::fflush(stdout);
  return false;
}

std::int32_t FFGLShader::BuildProgram(const char* vertexSource, const char* fragmentSource) {
  if (program == 0) {
    program = gl::CreateProgram();
    if (vertexShader == 0) vertexShader = gl::CreateShader(GL_VERTEX_SHADER);
    if (fragmentShader == 0) fragmentShader = gl::CreateShader(GL_FRAGMENT_SHADER);
  }

  bool fragmentAttached = false;
  if (fragmentShader != 0 && program != 0 && HasText(fragmentSource)) {
    fragmentAttached = CompileAndAttach(fragmentShader, fragmentSource, "Fragment");
  }

  bool vertexAttached = false;
  if (vertexShader != 0 && program != 0 && HasText(vertexSource)) {
    vertexAttached = CompileAndAttach(vertexShader, vertexSource, "Vertex");
  }

  if (!vertexAttached && !fragmentAttached) {
    linkStatus = 0;
    return linkStatus;
  }
  gl::LinkProgram(program);
  GLint linked = 0;
  gl::GetProgramiv(program, GL_LINK_STATUS, &linked);
  linkStatus = linked;
  return linkStatus;
}

std::int32_t FFGLShader::BuildProgram(const std::string& vertexSource,
                                      const std::string& fragmentSource) {
  return BuildProgram(vertexSource.c_str(), fragmentSource.c_str());
}

std::int32_t FFGLShader::Activate() {
  if (program == 0) return 0;
  gl::UseProgram(program);
  return 1;
}

std::int32_t FFGLShader::Deactivate() {
  gl::UseProgram(0);
  return 1;
}

std::int32_t FFGLShader::UniformLocation(const char* name) {
  // GL answers -1 here too, but only after raising an error in the host's
  // context; a failed build would otherwise raise one on every frame.
  if (program == 0 || linkStatus != 1 || name == nullptr) return -1;
  return gl::GetUniformLocation(program, name);
}

void FFGLShader::DeleteObjects() {
  if (fragmentShader != 0) {
    gl::DeleteShader(fragmentShader);
    fragmentShader = 0;
  }
  if (vertexShader != 0) {
    gl::DeleteShader(vertexShader);
    vertexShader = 0;
  }
  if (program != 0) {
    gl::DeleteProgram(program);
    program = 0;
  }
}
