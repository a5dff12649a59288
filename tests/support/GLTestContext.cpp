#include "GLTestContext.h"

OffscreenContext* GLTestContext::context = nullptr;
HostGL GLTestContext::gl;
std::string GLTestContext::failure;

void GLTestContext::SetUpTestSuite() {
  if (context || !failure.empty()) return;
  std::unique_ptr<OffscreenContext> created = OffscreenContext::Create(failure);
  if (created && !gl.Load(*created)) {
    failure = "the context lacks framebuffer or shader entry points";
    return;
  }
  context = created.release();
}

void GLTestContext::SetUp() {
  if (!context) GTEST_SKIP() << "no offscreen GL context: " << failure;
  context->MakeCurrent();
}

GLuint GLTestContext::MakeFloatTexture(const std::vector<float>& texels, int imageWidth,
                                       int imageHeight, int textureWidth, int textureHeight) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  // Texels outside the image are a loud magenta, so any that show are seen.
  std::vector<float> full(static_cast<size_t>(textureWidth) * textureHeight * 4);
  for (size_t i = 0; i < full.size(); i += 4) {
    full[i] = 1.0f;
    full[i + 1] = 0.0f;
    full[i + 2] = 1.0f;
    full[i + 3] = 1.0f;
  }
  for (int y = 0; y < imageHeight; ++y) {
    for (int x = 0; x < imageWidth; ++x) {
      for (int c = 0; c < 4; ++c) {
        full[(static_cast<size_t>(y) * textureWidth + x) * 4 + c] =
            texels[(static_cast<size_t>(y) * imageWidth + x) * 4 + c];
      }
    }
  }
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, textureWidth, textureHeight, 0, GL_RGBA, GL_FLOAT,
               full.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

std::unique_ptr<GLTestContext::FloatTarget> GLTestContext::MakeFloatTarget(int width, int height) {
  auto target = std::make_unique<FloatTarget>();
  target->width = width;
  target->height = height;
  glGenTextures(1, &target->texture);
  glBindTexture(GL_TEXTURE_2D, target->texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  gl.GenFramebuffers(1, &target->framebuffer);
  gl.BindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
  gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target->texture, 0);
  EXPECT_EQ(gl.CheckFramebufferStatus(GL_FRAMEBUFFER),
            static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
  glViewport(0, 0, width, height);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  return target;
}

GLTestContext::FloatTarget::~FloatTarget() {
  gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
  gl.DeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &texture);
}

std::vector<float> GLTestContext::FloatTarget::Read() const {
  std::vector<float> pixels(static_cast<size_t>(width) * height * 4);
  gl.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());
  return pixels;
}
