#include <cmath>

#include "effect/ColourWaveSources.h"
#include "effect/ParamConversions.h"
#include "effect/ZentrelV1.h"
#include "platform/Clock.h"
#include "platform/GLLoader.h"

namespace gl = platform::gl;

std::uint32_t ZentrelV1::SetupGL(const ViewportRecord*) {
  ticksPerMillisecond = static_cast<double>(platform::PerformanceFrequency()) / 1000.0;
  startCounter = platform::PerformanceCounter();

  shader.BuildProgram(colourWaveVertexSource, colourWaveFragmentSource);
  shader.Activate();
  locations.inputTexture = shader.UniformLocation("inputTexture");
  locations.paramV1 = shader.UniformLocation("paramV1");
  locations.paramV2 = shader.UniformLocation("paramV2");
  locations.paramV3 = shader.UniformLocation("paramV3");
  locations.param1 = shader.UniformLocation("param1");
  locations.mode = shader.UniformLocation("mode");
  locations.time = shader.UniformLocation("time");
  locations.resolution = shader.UniformLocation("resolution");
  if (locations.inputTexture >= 0) gl::Uniform1i(locations.inputTexture, 0);
  shader.Deactivate();
  // A program that failed to build shows in its compile messages and in the
  // frames that follow, not here.
  return ResultSuccess;
}

std::uint32_t ZentrelV1::ReleaseGL() {
  shader.DeleteObjects();
  return ResultSuccess;
}

void ZentrelV1::AdvanceClock() {
  previousTime = currentTime;
  currentTime = static_cast<double>(platform::PerformanceCounter() - startCounter) /
                ticksPerMillisecond / 1000.0;
  const auto delta = static_cast<float>(currentTime - previousTime);
  const float advanced = timeAccumulator + SpeedFactor(speedValue) * delta;
  // One NaN or infinite Speed from the host would otherwise poison the
  // accumulator for the rest of the instance's life.
  if (std::isfinite(advanced)) timeAccumulator = advanced;
}

namespace {

// A location still negative is looked up again and not set this frame.
template <typename SetValue>
void SetUniform(FFGLShader& shader, std::int32_t& location, const char* name, SetValue setValue) {
  if (location < 0) {
    location = shader.UniformLocation(name);
    return;
  }
  setValue(location);
}

}  // namespace

std::uint32_t ZentrelV1::RenderFrame(const FrameRecord* frame) {
  AdvanceClock();
  if (frame == nullptr || frame->inputCount == 0 || frame->inputs == nullptr ||
      frame->inputs[0] == nullptr) {
    return ResultFailure;
  }
  const TextureRecord& texture = *frame->inputs[0];

  shader.Activate();
  GLfloat viewport[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glGetFloatv(GL_VIEWPORT, viewport);
  viewportWidth = viewport[2];
  viewportHeight = viewport[3];

  const float tu = TextureExtent(texture.imageWidth, texture.textureWidth);
  const float tv = TextureExtent(texture.imageHeight, texture.textureHeight);

  SetUniform(shader, locations.inputTexture, "inputTexture",
             [](std::int32_t at) { gl::Uniform1i(at, 0); });
  SetUniform(shader, locations.resolution, "resolution",
             [this](std::int32_t at) { gl::Uniform2f(at, viewportWidth, viewportHeight); });
  SetUniform(shader, locations.paramV1, "paramV1",
             [this](std::int32_t at) { gl::Uniform2f(at, phaseValue, frequenceValue); });
  SetUniform(shader, locations.paramV2, "paramV2",
             [this](std::int32_t at) { gl::Uniform2f(at, saturationValue, rgbDecalValue); });
  SetUniform(shader, locations.paramV3, "paramV3",
             [this](std::int32_t at) { gl::Uniform2f(at, amplitudeValue, rangeValue); });
  SetUniform(shader, locations.param1, "param1",
             [this](std::int32_t at) { gl::Uniform1f(at, thresholdValue); });
  SetUniform(shader, locations.time, "time",
             [this](std::int32_t at) { gl::Uniform1f(at, timeAccumulator); });
  SetUniform(shader, locations.mode, "mode", [this](std::int32_t at) {
    gl::Uniform1i(at, ModeFromProcessAlpha(processAlphaValue));
  });

  gl::ActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture.textureId);
  glBegin(GL_QUADS);
  gl::MultiTexCoord2f(GL_TEXTURE0, 0.0f, 0.0f);
  glVertex2f(-1.0f, -1.0f);
  gl::MultiTexCoord2f(GL_TEXTURE0, 0.0f, tv);
  glVertex2f(-1.0f, 1.0f);
  gl::MultiTexCoord2f(GL_TEXTURE0, tu, tv);
  glVertex2f(1.0f, 1.0f);
  gl::MultiTexCoord2f(GL_TEXTURE0, tu, 0.0f);
  glVertex2f(1.0f, -1.0f);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);

  shader.Deactivate();
  return ResultSuccess;
}
