// Check group "frames": broken frame records and odd image sizes; no crash,
// no GL error, and the picture covers the viewport and nothing else.
#include <algorithm>

#include "validate/GLHarness.h"
#include "validate/PluginCalls.h"

namespace {

constexpr std::uint32_t guardColour = 0xFF20A0E0u;
constexpr std::uint32_t fillA = 0xFF102030u;
constexpr std::uint32_t fillB = 0xFFE0D0C0u;

// Renders one frame with the viewport inside the guard band and checks the
// band, the errors and (when `mustCover`) that every viewport pixel is drawn.
struct Draw {
  TestContext& context;
  PluginLibrary& plugin;
  GLHarness& gl;

  std::uint32_t Frame(void* instance, const GLHarness::Target& target, MixedValue record,
                      std::uint32_t fill, std::vector<std::uint32_t>& pixels) {
    gl.Fill(target, guardColour);
    gl.BindTarget(target);
    // Paint the viewport only, so that it differs from the band.
    glEnable(GL_SCISSOR_TEST);
    glScissor(target.guard, target.guard, target.ViewportWidth(), target.ViewportHeight());
    glClearColor(static_cast<float>(fill & 0xFF) / 255.0f,
                 static_cast<float>((fill >> 8) & 0xFF) / 255.0f,
                 static_cast<float>((fill >> 16) & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    gl.TakeErrors();
    const std::uint32_t answer = Call32(plugin, HostCall::FrameRender, record, instance);
    pixels = gl.Read(target);
    return answer;
  }

  void Check(const std::string& what, void* instance, const GLHarness::Target& target,
             MixedValue record, bool mustCover) {
    std::vector<std::uint32_t> first, second;
    const std::uint32_t answer = Frame(instance, target, record, fillA, first);
    const auto errors = gl.TakeErrors();
    for (const std::string& error : errors) context.Fail(what + ": " + error);
    const std::size_t outside = GuardPixelsChanged(target, first, guardColour);
    if (outside > 0) {
      context.Fail(what + ": " + std::to_string(outside) + " pixels drawn outside the viewport");
    }
    if (!mustCover) return;
    if (answer != ResultSuccess) return context.Fail(what + ": the frame answers " + Hex(answer));
    Frame(instance, target, record, fillB, second);
    const std::size_t undrawn = ViewportPixelsUndrawn(target, first, fillA, second, fillB);
    if (undrawn > 0) {
      context.Fail(what + ": " + std::to_string(undrawn) + " of " +
                   std::to_string(target.ViewportWidth() * target.ViewportHeight()) +
                   " viewport pixels not drawn");
    }
  }
};

void CheckBadRecords(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  gl->PlainState();
  GLHarness::Target target = gl->MakeTarget(24, 16, 3);
  const GLuint texture = gl->MakeTexture(8, 8, 0xFF808080u);
  gl->BindTarget(target);
  void* instance = CreateInstance(context, *plugin, 24, 16);
  if (instance == nullptr) return;
  Draw draw{context, *plugin, *gl};

  struct Case {
    const char* what;
    void (*spoil)(FrameInput&);
  };
  const Case cases[] = {
      {"no inputs", [](FrameInput& f) { f.frame.inputCount = 0; }},
      {"a null input array", [](FrameInput& f) { f.frame.inputs = nullptr; }},
      {"a null first texture", [](FrameInput& f) { f.pointers[0] = nullptr; }},
      {"a texture name that is no texture",
       [](FrameInput& f) { f.texture.textureId = 0x7FFF0001u; }},
      {"texture name 0", [](FrameInput& f) { f.texture.textureId = 0; }},
      {"image size 0 x 0", [](FrameInput& f) { f.texture.imageWidth = f.texture.imageHeight = 0; }},
      {"texture size 0 x 0",
       [](FrameInput& f) { f.texture.textureWidth = f.texture.textureHeight = 0; }},
      {"sizes above 2^31",
       [](FrameInput& f) {
         f.texture.imageWidth = 0x80000001u;
         f.texture.textureHeight = 0xFFFFFFFFu;
       }},
      {"image larger than its texture",
       [](FrameInput& f) { f.texture.imageWidth = f.texture.imageHeight = 0xFFFFFFFFu; }},
      {"an input count of 2^32 - 1 with one texture",
       [](FrameInput& f) { f.frame.inputCount = 0xFFFFFFFFu; }},
  };
  for (const Case& test : cases) {
    FrameInput frame(texture, 8, 8);
    test.spoil(frame);
    draw.Check(std::string("a frame with ") + test.what, instance, target, frame.Record(), false);
  }
  // The instance still works after all that.
  FrameInput good(texture, 8, 8);
  draw.Check("a good frame after bad ones", instance, target, good.Record(), true);
  DestroyInstance(context, *plugin, instance);
  CallPlugin(*plugin, HostCall::LibraryClose);
}

void CheckSizes(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  gl->PlainState();
  const int maxSize = gl->MaxTextureSize();
  struct Case {
    int viewportWidth, viewportHeight;
    std::uint32_t imageWidth, imageHeight, textureWidth, textureHeight;
  };
  const auto max = static_cast<std::uint32_t>(maxSize);
  std::vector<Case> cases = {
      {1, 1, 1, 1, 1, 1},
      {641, 359, 641, 359, 641, 359},
      {64, 48, 640, 480, 1024, 512},  // an image smaller than its texture
      {33, 17, max, 1, max, 1},
      {17, 33, 1, max, 1, max},
  };
  if (context.Level() >= 7) cases.push_back({1023, 769, 2, 3, 2, 3});
  Draw draw{context, *plugin, *gl};
  for (const Case& test : cases) {
    GLHarness::Target target = gl->MakeTarget(test.viewportWidth, test.viewportHeight, 2);
    const GLuint texture = gl->MakeTexture(static_cast<int>(test.textureWidth),
                                           static_cast<int>(test.textureHeight), 0xFFC08040u);
    const std::string what =
        "image " + std::to_string(test.imageWidth) + "x" + std::to_string(test.imageHeight) +
        " in texture " + std::to_string(test.textureWidth) + "x" +
        std::to_string(test.textureHeight) + ", viewport " + std::to_string(test.viewportWidth) +
        "x" + std::to_string(test.viewportHeight);
    if (texture == 0) {
      context.Warn(what + ": the driver refuses the texture");
      gl->DeleteTarget(target);
      continue;
    }
    gl->BindTarget(target);
    void* instance =
        CreateInstance(context, *plugin, static_cast<std::uint32_t>(test.viewportWidth),
                       static_cast<std::uint32_t>(test.viewportHeight));
    if (instance == nullptr) return;
    FrameInput frame(texture, test.imageWidth, test.imageHeight);
    frame.texture.textureWidth = test.textureWidth;
    frame.texture.textureHeight = test.textureHeight;
    draw.Check(what, instance, target, frame.Record(), true);
    DestroyInstance(context, *plugin, instance);
    glDeleteTextures(1, &texture);
    gl->DeleteTarget(target);
  }
  CallPlugin(*plugin, HostCall::LibraryClose);
  context.Pass(std::to_string(cases.size()) + " sizes, up to GL_MAX_TEXTURE_SIZE " +
               std::to_string(maxSize));
}

}  // namespace

void AddFrameTests(std::vector<ValidateTest>& tests) {
  tests.push_back({"frames.bad-records", "rendering frames from broken records", CheckBadRecords});
  tests.push_back({"frames.sizes", "rendering odd image sizes", CheckSizes});
}
