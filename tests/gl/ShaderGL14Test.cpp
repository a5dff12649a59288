#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "GLTestContext.h"
#include "shader/FFGLShader.h"

namespace {

// Runs in its own process with MESA_GL_VERSION_OVERRIDE=1.4: the loader binds
// once per process, against the first context it sees.
class ShaderOnGL14 : public GLTestContext {};

TEST_F(ShaderOnGL14, BuildsNothingAndAnswersZeroWithoutCrashing) {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  ASSERT_NE(version, nullptr);
  if (std::strncmp(version, "1.4", 3) != 0) {
    GTEST_SKIP() << "the context reports " << version << ", not 1.4";
  }
  FFGLShader shader;
  testing::internal::CaptureStdout();
  EXPECT_EQ(shader.BuildProgram("void main() { gl_Position = gl_Vertex; }",
                                "void main() { gl_FragColor = vec4(1.0); }"),
            0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(shader.Program(), 0u);
  EXPECT_EQ(shader.VertexShader(), 0u);
  EXPECT_EQ(shader.FragmentShader(), 0u);
  EXPECT_EQ(shader.Activate(), 0);
  EXPECT_EQ(shader.Deactivate(), 1);
  EXPECT_EQ(shader.UniformLocation("anything"), -1);
  shader.DeleteObjects();
}

}  // namespace
