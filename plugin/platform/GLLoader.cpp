#include "platform/GLLoader.h"

#include "platform/GLProcLookup.h"

namespace platform::gl {
namespace {

// clang-format off
#define ZENTREL_GL13_ENTRY_POINTS(X)                                                       \
  X(void,   ActiveTexture,      (GLenum texture), (texture))                               \
  X(void,   MultiTexCoord2f,    (GLenum target, GLfloat s, GLfloat t), (target, s, t))

#define ZENTREL_GL20_ENTRY_POINTS(X)                                                       \
  X(GLuint, CreateProgram,      (), ())                                                    \
  X(GLuint, CreateShader,       (GLenum type), (type))                                     \
  X(void,   ShaderSource,       (GLuint shader, GLsizei count, const GLchar* const* string, \
                                 const GLint* length), (shader, count, string, length))    \
  X(void,   CompileShader,      (GLuint shader), (shader))                                 \
  X(void,   GetShaderiv,        (GLuint shader, GLenum pname, GLint* params),              \
                                (shader, pname, params))                                   \
  X(void,   GetShaderInfoLog,   (GLuint shader, GLsizei bufSize, GLsizei* length,          \
                                 GLchar* infoLog), (shader, bufSize, length, infoLog))     \
  X(void,   AttachShader,       (GLuint program, GLuint shader), (program, shader))        \
  X(void,   LinkProgram,        (GLuint program), (program))                               \
  X(void,   GetProgramiv,       (GLuint program, GLenum pname, GLint* params),             \
                                (program, pname, params))                                  \
  X(void,   UseProgram,         (GLuint program), (program))                               \
  X(GLint,  GetUniformLocation, (GLuint program, const GLchar* name), (program, name))     \
  X(void,   Uniform1i,          (GLint location, GLint v0), (location, v0))                \
  X(void,   Uniform1f,          (GLint location, GLfloat v0), (location, v0))              \
  X(void,   Uniform2f,          (GLint location, GLfloat v0, GLfloat v1), (location, v0, v1)) \
  X(void,   DeleteShader,       (GLuint shader), (shader))                                 \
  X(void,   DeleteProgram,      (GLuint program), (program))
// clang-format on

struct EntryPoints {
#define ZENTREL_GL_POINTER(ret, name, params, args) ret(APIENTRY* name) params = nullptr;
  ZENTREL_GL13_ENTRY_POINTS(ZENTREL_GL_POINTER)
  ZENTREL_GL20_ENTRY_POINTS(ZENTREL_GL_POINTER)
#undef ZENTREL_GL_POINTER
};

EntryPoints entryPoints;
bool bound = false;

struct Version {
  int major = 0;
  int minor = 0;
  bool AtLeast(int wantMajor, int wantMinor) const {
    return major > wantMajor || (major == wantMajor && minor >= wantMinor);
  }
};

// GL_VERSION starts with "major.minor" on desktop GL; an ES context puts
// "OpenGL ES " in front, so the first digit is where the number starts.
Version ParseVersion(const char* text) {
  Version version;
  while (*text != '\0' && (*text < '0' || *text > '9')) ++text;
  while (*text >= '0' && *text <= '9') version.major = version.major * 10 + (*text++ - '0');
  if (*text == '.') {
    ++text;
    while (*text >= '0' && *text <= '9') version.minor = version.minor * 10 + (*text++ - '0');
  }
  return version;
}

template <typename Fn>
void Resolve(Fn& slot, const char* name) {
  slot = reinterpret_cast<Fn>(LookupGLProc(name));
}

const EntryPoints& Bound() {
  if (bound) return entryPoints;
  const auto* versionText = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  // No context current: there is nothing to bind against yet.
  if (versionText == nullptr) return entryPoints;
  bound = true;
  const Version version = ParseVersion(versionText);
#define ZENTREL_GL_RESOLVE(ret, name, params, args) Resolve(entryPoints.name, "gl" #name);
  if (version.AtLeast(1, 3)) {
    ZENTREL_GL13_ENTRY_POINTS(ZENTREL_GL_RESOLVE)
  }
  if (version.AtLeast(2, 0)) {
    ZENTREL_GL20_ENTRY_POINTS(ZENTREL_GL_RESOLVE)
  }
#undef ZENTREL_GL_RESOLVE
  return entryPoints;
}

template <typename Ret>
struct Unbound {
  static Ret Answer() { return Ret{}; }
};
template <>
struct Unbound<void> {
  static void Answer() {}
};

}  // namespace

#define ZENTREL_GL_WRAPPER(ret, name, params, args)   \
  ret name params {                                   \
    const auto fn = Bound().name;                     \
    if (fn == nullptr) return Unbound<ret>::Answer(); \
    return fn args;                                   \
  }
ZENTREL_GL13_ENTRY_POINTS(ZENTREL_GL_WRAPPER)
ZENTREL_GL20_ENTRY_POINTS(ZENTREL_GL_WRAPPER)
#undef ZENTREL_GL_WRAPPER

}  // namespace platform::gl
