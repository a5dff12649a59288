#pragma once

#include <cstdint>
#include <string>

// One GLSL program with the vertex and the fragment shader object that feed
// it. Every operation but construction and destruction calls GL and needs
// the host's context current. The destructor releases nothing: the owner
// calls DeleteObjects first, while the context is current.
class FFGLShader {
 public:
  FFGLShader() = default;
  virtual ~FFGLShader() = default;

  FFGLShader(const FFGLShader&) = delete;
  FFGLShader& operator=(const FFGLShader&) = delete;

  // Compiles the fragment stage, then the vertex stage, attaching each one
  // that compiles, and links if either was attached. A stage that fails
  // prints its log to standard output. Answers the link status (1 linked,
  // 0 otherwise), also kept in linkStatus.
  std::int32_t BuildProgram(const char* vertexSource, const char* fragmentSource);
  std::int32_t BuildProgram(const std::string& vertexSource, const std::string& fragmentSource);

  // 0, with no GL call, when there is no program.
  std::int32_t Activate();
  // Always 1.
  std::int32_t Deactivate();
  // GL's own answer: -1 for a name that is not an active uniform.
  std::int32_t UniformLocation(const char* name);
  // Safe to call twice; linkStatus keeps its value.
  void DeleteObjects();

  std::uint32_t Program() const { return program; }
  std::uint32_t VertexShader() const { return vertexShader; }
  std::uint32_t FragmentShader() const { return fragmentShader; }
  std::int32_t LinkStatus() const { return linkStatus; }

 private:
  // Compiles one stage; true when it compiled and was attached.
  bool CompileAndAttach(std::uint32_t shader, const char* source, const char* stage);

  std::uint32_t program = 0;
  std::uint32_t vertexShader = 0;
  std::uint32_t fragmentShader = 0;
  std::int32_t linkStatus = 0;
};
