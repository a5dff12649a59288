#include "BenchPassThrough.h"

namespace {

const char* const vertexSource =
    "void main() {\n"
    "  gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "}\n";

const char* const fragmentSource =
    "uniform sampler2D inputTexture;\n"
    "void main() { gl_FragColor = texture2D(inputTexture, gl_TexCoord[0].st); }\n";

}  // namespace

PassThrough::~PassThrough() {
  if (program != 0) gl.DeleteProgram(program);
  for (GLuint shader : shaders) {
    if (shader != 0) gl.DeleteShader(shader);
  }
}

bool PassThrough::Build(std::string& error) {
  const GLenum kinds[2] = {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER};
  const char* const sources[2] = {vertexSource, fragmentSource};
  program = gl.CreateProgram();
  for (int i = 0; i < 2; ++i) {
    shaders[i] = gl.CreateShader(kinds[i]);
    gl.ShaderSource(shaders[i], 1, &sources[i], nullptr);
    gl.CompileShader(shaders[i]);
    GLint compiled = GL_FALSE;
    gl.GetShaderiv(shaders[i], GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
      error = "the pass-through shader does not compile";
      return false;
    }
    gl.AttachShader(program, shaders[i]);
  }
  gl.LinkProgram(program);
  GLint linked = GL_FALSE;
  gl.GetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    error = "the pass-through program does not link";
    return false;
  }
  gl.UseProgram(program);
  gl.Uniform1i(gl.GetUniformLocation(program, "inputTexture"), 0);
  gl.UseProgram(0);
  return true;
}

void PassThrough::Draw(GLuint texture, float tu, float tv) const {
  gl.UseProgram(program);
  gl.ActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  // glTexCoord2f feeds unit 0, as glMultiTexCoord2f(GL_TEXTURE0) would.
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(-1.0f, -1.0f);
  glTexCoord2f(0.0f, tv);
  glVertex2f(-1.0f, 1.0f);
  glTexCoord2f(tu, tv);
  glVertex2f(1.0f, 1.0f);
  glTexCoord2f(tu, 0.0f);
  glVertex2f(1.0f, -1.0f);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);
  gl.UseProgram(0);
}
