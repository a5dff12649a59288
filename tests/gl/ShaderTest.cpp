#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "GLTestContext.h"
#include "shader/FFGLShader.h"

namespace {

const char goodVertex[] = "void main() { gl_Position = gl_Vertex; }";
const char goodFragment[] =
    "uniform float used; uniform float unused;\n"
    "void main() { gl_FragColor = vec4(used); }";
const char badSource[] = "this is not glsl";

class Shader : public GLTestContext {
 protected:
  // Runs one build and answers what it printed to standard output.
  std::string Build(const char* vertex, const char* fragment, std::int32_t* result) {
    testing::internal::CaptureStdout();
    *result = shader.BuildProgram(vertex, fragment);
    return testing::internal::GetCapturedStdout();
  }
  void TearDown() override { shader.DeleteObjects(); }

  GLint AttachedShaders() {
    GLint count = -1;
    GL().GetProgramiv(shader.Program(), GL_ATTACHED_SHADERS, &count);
    return count;
  }

  FFGLShader shader;
};

// "<Stage> Shader error: <log> \n", with the log as GL reports it.
void ExpectMessage(const std::string& output, std::size_t at, const std::string& stage) {
  const std::string prefix = stage + " Shader error: ";
  ASSERT_EQ(output.compare(at, prefix.size(), prefix), 0) << output;
}

TEST_F(Shader, BuildsLinksAndQueriesUniforms) {
  std::int32_t result = -1;
  EXPECT_EQ(Build(goodVertex, goodFragment, &result), "");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(shader.LinkStatus(), 1);
  EXPECT_EQ(AttachedShaders(), 2);
  EXPECT_GE(shader.UniformLocation("used"), 0);
  EXPECT_EQ(shader.UniformLocation("unused"), -1) << "inactive uniforms are dropped by GL";
  EXPECT_EQ(shader.UniformLocation("absent"), -1);
  EXPECT_EQ(shader.Activate(), 1);
  GLint current = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  EXPECT_EQ(static_cast<GLuint>(current), shader.Program());
  EXPECT_EQ(shader.Deactivate(), 1);
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  EXPECT_EQ(current, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Shader, OneFailingStageIsLeftOutAndTheOtherLinksAlone) {
  struct Case {
    const char* vertex;
    const char* fragment;
    const char* stagePrinted;
  };
  const Case cases[] = {{goodVertex, badSource, "Fragment"}, {badSource, goodFragment, "Vertex"}};
  for (const Case& c : cases) {
    FFGLShader one;
    testing::internal::CaptureStdout();
    const std::int32_t result = one.BuildProgram(c.vertex, c.fragment);
    const std::string output = testing::internal::GetCapturedStdout();
    ExpectMessage(output, 0, c.stagePrinted);
    EXPECT_EQ(output.substr(output.size() - 2), " \n");
    EXPECT_EQ(output.find(" Shader error: ", std::strlen(c.stagePrinted) + 1), std::string::npos)
        << "one message only";
    EXPECT_EQ(result, 1) << c.stagePrinted << " failed, the other stage links alone";
    GLint attached = -1;
    GL().GetProgramiv(one.Program(), GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 1);
    one.DeleteObjects();
  }
}

TEST_F(Shader, BothStagesFailingPrintFragmentFirstAndLinkNothing) {
  std::int32_t result = -1;
  const std::string output = Build(badSource, badSource, &result);
  ExpectMessage(output, 0, "Fragment");
  const std::size_t vertexAt = output.find("Vertex Shader error: ");
  ASSERT_NE(vertexAt, std::string::npos) << output;
  EXPECT_EQ(output.compare(vertexAt - 2, 2, " \n"), 0) << "the fragment line ends in a blank";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(shader.LinkStatus(), 0);
  EXPECT_EQ(AttachedShaders(), 0);
  EXPECT_EQ(shader.UniformLocation("used"), -1);
}

TEST_F(Shader, EmptyOrNullSourcesCompileNothingButObjectsExist) {
  std::int32_t result = -1;
  EXPECT_EQ(Build(nullptr, "", &result), "");
  EXPECT_EQ(result, 0);
  EXPECT_NE(shader.Program(), 0u);
  EXPECT_NE(shader.VertexShader(), 0u);
  EXPECT_NE(shader.FragmentShader(), 0u);
  const GLuint program = shader.Program();
  const GLuint vertex = shader.VertexShader();
  shader.DeleteObjects();
  EXPECT_FALSE(GL().IsProgram(program));
  EXPECT_FALSE(GL().IsShader(vertex));
  EXPECT_EQ(shader.Program(), 0u);
  EXPECT_EQ(shader.Activate(), 0) << "no program: nothing to activate";
  shader.DeleteObjects();  // a second time does nothing
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Shader, SecondBuildReusesObjectsAndRelinks) {
  std::int32_t result = -1;
  Build(goodVertex, goodFragment, &result);
  const GLuint program = shader.Program();
  const GLuint vertex = shader.VertexShader();
  const GLuint fragment = shader.FragmentShader();
  Build(goodVertex, "void main() { gl_FragColor = vec4(1.0); }", &result);
  glGetError();  // the repeated attachment is an error GL reports and ignores
  EXPECT_EQ(result, 1);
  EXPECT_EQ(shader.Program(), program);
  EXPECT_EQ(shader.VertexShader(), vertex);
  EXPECT_EQ(shader.FragmentShader(), fragment);
  EXPECT_EQ(shader.UniformLocation("used"), -1) << "the new source replaced the old one";
  EXPECT_EQ(AttachedShaders(), 2);
}

}  // namespace
