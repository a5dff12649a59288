#include <gtest/gtest.h>

#include "RenderFixture.h"

namespace {

class FrameState : public RenderFixture {};

GLint Integer(GLenum name) {
  GLint value = -1;
  glGetIntegerv(name, &value);
  return value;
}

TEST_F(FrameState, FrameLeavesOnlyWhatTheStandardAllows) {
  const GLuint input = MakeFloatTexture({0.2f, 0.4f, 0.6f, 1.0f}, 1, 1, 1, 1);
  auto target = MakeFloatTarget(8, 8);
  void* instance = CreateInstance();

  // The host's own state: a program of its own current, another unit active
  // with a texture on it, a texture on unit 0 too, a partial viewport.
  const GLuint hostProgram = GL().CreateProgram();
  const GLuint hostShader = GL().CreateShader(GL_FRAGMENT_SHADER);
  const char* source = "void main() { gl_FragColor = vec4(1.0); }";
  GL().ShaderSource(hostShader, 1, &source, nullptr);
  GL().CompileShader(hostShader);
  GL().AttachShader(hostProgram, hostShader);
  GL().LinkProgram(hostProgram);
  GL().UseProgram(hostProgram);
  GLuint hostTextures[2] = {};
  glGenTextures(2, hostTextures);
  GL().ActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, hostTextures[0]);
  GL().ActiveTexture(GL_TEXTURE3);
  glBindTexture(GL_TEXTURE_2D, hostTextures[1]);
  glViewport(2, 1, 5, 6);
  ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  ASSERT_EQ(RenderAt(instance, 0.0, TextureRecord{1, 1, 1, 1, input}), MixedValue{ResultSuccess});
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  EXPECT_EQ(Integer(GL_CURRENT_PROGRAM), 0);
  EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
  EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), 0);
  GL().ActiveTexture(GL_TEXTURE3);
  EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(hostTextures[1]));
  EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(target->framebuffer));
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 2);
  EXPECT_EQ(viewport[1], 1);
  EXPECT_EQ(viewport[2], 5);
  EXPECT_EQ(viewport[3], 6);

  // The quad covers the viewport and nothing else.
  const std::vector<float> pixels = target->Read();
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 7 && y >= 1 && y < 7;
      const float alpha = pixels[(y * 8 + x) * 4 + 3];
      EXPECT_EQ(alpha != 0.0f, inside) << "pixel " << x << "," << y;
    }
  }

  GL().ActiveTexture(GL_TEXTURE0);
  glDeleteTextures(2, hostTextures);
  GL().DeleteShader(hostShader);
  GL().DeleteProgram(hostProgram);
  DestroyInstance(instance);
  glDeleteTextures(1, &input);
}

}  // namespace
