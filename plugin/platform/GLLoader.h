#pragma once

#include "platform/GL.h"

// The eighteen GL entry points above OpenGL 1.1 that the plug-in calls,
// under names of our own so that another loader in the same host process
// cannot clash with them.
//
// They bind lazily, once per process, on the first call of any of them, in
// the GL context current at that moment: the loader reads that context's
// GL_VERSION and binds the 1.3 and the 2.0 group only if the context has
// them. A call of a group that is not bound does nothing and answers 0, so a
// too-old context never crashes the host. A first call made with no context
// current binds nothing and leaves binding to a later call.
namespace platform::gl {

// OpenGL 1.3
void ActiveTexture(GLenum texture);
void MultiTexCoord2f(GLenum target, GLfloat s, GLfloat t);

// OpenGL 2.0
GLuint CreateProgram();
GLuint CreateShader(GLenum type);
void ShaderSource(GLuint shader, GLsizei count, const GLchar* const* string, const GLint* length);
void CompileShader(GLuint shader);
void GetShaderiv(GLuint shader, GLenum pname, GLint* params);
void GetShaderInfoLog(GLuint shader, GLsizei bufSize, GLsizei* length, GLchar* infoLog);
void AttachShader(GLuint program, GLuint shader);
void LinkProgram(GLuint program);
void GetProgramiv(GLuint program, GLenum pname, GLint* params);
void UseProgram(GLuint program);
GLint GetUniformLocation(GLuint program, const GLchar* name);
void Uniform1i(GLint location, GLint v0);
void Uniform1f(GLint location, GLfloat v0);
void Uniform2f(GLint location, GLfloat v0, GLfloat v1);
void DeleteShader(GLuint shader);
void DeleteProgram(GLuint program);

}  // namespace platform::gl
