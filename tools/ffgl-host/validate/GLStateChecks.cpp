// Check group "gl-state": around every instance call the host's GL state
// stays as it was, apart from what a frame may leave behind, and GL reports
// no error.
#include <cstdio>

#include "validate/GLHarness.h"
#include "validate/PluginCalls.h"

namespace {

struct StateItem {
  std::string name;
  std::vector<double> values;
};
using StateSnapshot = std::vector<StateItem>;

const GLenum capabilities[] = {
    GL_BLEND,  GL_DEPTH_TEST,          GL_CULL_FACE,  GL_SCISSOR_TEST, GL_STENCIL_TEST,
    GL_DITHER, GL_POLYGON_OFFSET_FILL, GL_ALPHA_TEST, GL_LIGHTING};
const char* const capabilityNames[] = {
    "GL_BLEND",  "GL_DEPTH_TEST",          "GL_CULL_FACE",  "GL_SCISSOR_TEST", "GL_STENCIL_TEST",
    "GL_DITHER", "GL_POLYGON_OFFSET_FILL", "GL_ALPHA_TEST", "GL_LIGHTING"};

struct IntegerQuery {
  GLenum name;
  const char* label;
  int count;
};
const IntegerQuery integerQueries[] = {
    {GL_CURRENT_PROGRAM, "GL_CURRENT_PROGRAM", 1},
    {GL_ACTIVE_TEXTURE, "GL_ACTIVE_TEXTURE", 1},
    {GL_CLIENT_ACTIVE_TEXTURE, "GL_CLIENT_ACTIVE_TEXTURE", 1},
    {GL_DRAW_FRAMEBUFFER_BINDING, "GL_DRAW_FRAMEBUFFER_BINDING", 1},
    {GL_READ_FRAMEBUFFER_BINDING, "GL_READ_FRAMEBUFFER_BINDING", 1},
    {GL_RENDERBUFFER_BINDING, "GL_RENDERBUFFER_BINDING", 1},
    {GL_ARRAY_BUFFER_BINDING, "GL_ARRAY_BUFFER_BINDING", 1},
    {GL_ELEMENT_ARRAY_BUFFER_BINDING, "GL_ELEMENT_ARRAY_BUFFER_BINDING", 1},
    {GL_PIXEL_UNPACK_BUFFER_BINDING, "GL_PIXEL_UNPACK_BUFFER_BINDING", 1},
    {GL_VIEWPORT, "GL_VIEWPORT", 4},
    {GL_SCISSOR_BOX, "GL_SCISSOR_BOX", 4},
    {GL_BLEND_SRC_RGB, "GL_BLEND_SRC_RGB", 1},
    {GL_BLEND_DST_RGB, "GL_BLEND_DST_RGB", 1},
    {GL_BLEND_SRC_ALPHA, "GL_BLEND_SRC_ALPHA", 1},
    {GL_BLEND_DST_ALPHA, "GL_BLEND_DST_ALPHA", 1},
    {GL_BLEND_EQUATION_RGB, "GL_BLEND_EQUATION_RGB", 1},
    {GL_DEPTH_FUNC, "GL_DEPTH_FUNC", 1},
    {GL_DEPTH_WRITEMASK, "GL_DEPTH_WRITEMASK", 1},
    {GL_CULL_FACE_MODE, "GL_CULL_FACE_MODE", 1},
    {GL_FRONT_FACE, "GL_FRONT_FACE", 1},
    {GL_POLYGON_MODE, "GL_POLYGON_MODE", 2},
    {GL_COLOR_WRITEMASK, "GL_COLOR_WRITEMASK", 4},
    {GL_MATRIX_MODE, "GL_MATRIX_MODE", 1},
    {GL_SHADE_MODEL, "GL_SHADE_MODEL", 1},
    {GL_UNPACK_ALIGNMENT, "GL_UNPACK_ALIGNMENT", 1},
    {GL_UNPACK_ROW_LENGTH, "GL_UNPACK_ROW_LENGTH", 1},
    {GL_UNPACK_SKIP_ROWS, "GL_UNPACK_SKIP_ROWS", 1},
    {GL_PACK_ALIGNMENT, "GL_PACK_ALIGNMENT", 1},
    {GL_PACK_ROW_LENGTH, "GL_PACK_ROW_LENGTH", 1},
    {GL_DRAW_BUFFER, "GL_DRAW_BUFFER", 1},
    {GL_READ_BUFFER, "GL_READ_BUFFER", 1},
};

constexpr int textureUnits = 4;

StateSnapshot Capture(GLHarness& gl) {
  StateSnapshot state;
  for (std::size_t i = 0; i < sizeof capabilities / sizeof capabilities[0]; ++i) {
    state.push_back({capabilityNames[i], {static_cast<double>(glIsEnabled(capabilities[i]))}});
  }
  for (const IntegerQuery& query : integerQueries) {
    GLint values[4] = {0, 0, 0, 0};
    glGetIntegerv(query.name, values);
    StateItem item{query.label, {}};
    for (int i = 0; i < query.count; ++i) item.values.push_back(values[i]);
    state.push_back(item);
  }
  GLfloat colour[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
  state.push_back({"GL_COLOR_CLEAR_VALUE", {colour[0], colour[1], colour[2], colour[3]}});
  glGetFloatv(GL_BLEND_COLOR, colour);
  state.push_back({"GL_BLEND_COLOR", {colour[0], colour[1], colour[2], colour[3]}});
  const GLenum matrices[] = {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX};
  const char* const matrixNames[] = {"GL_MODELVIEW_MATRIX", "GL_PROJECTION_MATRIX"};
  for (int m = 0; m < 2; ++m) {
    GLfloat values[16];
    glGetFloatv(matrices[m], values);
    state.push_back({matrixNames[m], std::vector<double>(values, values + 16)});
  }
  // Per-unit bindings, read without disturbing the active unit for long.
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  for (int unit = 0; unit < textureUnits; ++unit) {
    gl.gl.ActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    GLint binding = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
    state.push_back({"GL_TEXTURE_BINDING_2D on unit " + std::to_string(unit), {double(binding)}});
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &binding);
    state.push_back(
        {"GL_TEXTURE_BINDING_CUBE_MAP on unit " + std::to_string(unit), {double(binding)}});
    state.push_back({"GL_TEXTURE_2D enabled on unit " + std::to_string(unit),
                     {double(glIsEnabled(GL_TEXTURE_2D))}});
  }
  gl.gl.ActiveTexture(static_cast<GLenum>(active));
  return state;
}

// A program, textures on several units, a framebuffer and state far from
// the defaults, as a busy host would leave them.
struct HostState {
  GLuint program = 0;
  GLuint textures[textureUnits] = {};
  GLuint buffer = 0;
  GLHarness::Target target;

  void Make(GLHarness& gl) {
    const char* vertex = "void main() { gl_Position = gl_Vertex; }";
    const char* fragment = "void main() { gl_FragColor = vec4(1.0, 0.0, 1.0, 1.0); }";
    program = gl.gl.CreateProgram();
    const GLuint shaders[2] = {gl.gl.CreateShader(GL_VERTEX_SHADER),
                               gl.gl.CreateShader(GL_FRAGMENT_SHADER)};
    gl.gl.ShaderSource(shaders[0], 1, &vertex, nullptr);
    gl.gl.ShaderSource(shaders[1], 1, &fragment, nullptr);
    for (const GLuint shader : shaders) {
      gl.gl.CompileShader(shader);
      gl.gl.AttachShader(program, shader);
    }
    gl.gl.LinkProgram(program);
    for (const GLuint shader : shaders) gl.gl.DeleteShader(shader);
    for (GLuint& texture : textures) texture = gl.MakeTexture(4, 4, 0xFF0000FFu);
    if (gl.gl.GenBuffers != nullptr) {
      gl.gl.GenBuffers(1, &buffer);
      gl.gl.BindBuffer(GL_ARRAY_BUFFER, buffer);
      gl.gl.BufferData(GL_ARRAY_BUFFER, 64, nullptr, GL_STATIC_DRAW);
      gl.gl.BindBuffer(GL_ARRAY_BUFFER, 0);
    }
    target = gl.MakeTarget(48, 40, 4);
  }

  void Apply(GLHarness& gl) const {
    gl.BindTarget(target);
    gl.gl.UseProgram(program);
    for (int unit = textureUnits - 1; unit >= 0; --unit) {
      gl.gl.ActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
      glBindTexture(GL_TEXTURE_2D, textures[unit]);
    }
    gl.gl.ActiveTexture(GL_TEXTURE2);
    if (buffer != 0) gl.gl.BindBuffer(GL_ARRAY_BUFFER, buffer);
    glViewport(5, 6, 30, 20);
    glScissor(4, 3, 40, 30);
    glEnable(GL_SCISSOR_TEST);
    glEnable(GL_BLEND);
    if (gl.gl.BlendFuncSeparate != nullptr) {
      gl.gl.BlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ZERO);
    }
    if (gl.BlendColor != nullptr) gl.BlendColor(0.25f, 0.5f, 0.75f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glDepthMask(GL_FALSE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    glFrontFace(GL_CW);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE);
    glClearColor(0.1f, 0.2f, 0.3f, 0.4f);
    glShadeModel(GL_FLAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 2);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_TEXTURE);
  }
};

// What a frame may leave: no program, unit 0 active, nothing bound on it.
bool AllowedAfterFrame(const StateItem& before, const StateItem& after) {
  if (before.name == "GL_CURRENT_PROGRAM") return after.values[0] == 0;
  if (before.name == "GL_ACTIVE_TEXTURE") return after.values[0] == GL_TEXTURE0;
  if (before.name == "GL_TEXTURE_BINDING_2D on unit 0") return after.values[0] == 0;
  return false;
}

std::string Values(const std::vector<double>& values) {
  std::string text;
  for (const double value : values) {
    char number[32];
    std::snprintf(number, sizeof number, "%s%g", text.empty() ? "" : " ", value);
    text += number;
  }
  return values.size() > 1 ? "(" + text + ")" : text;
}

void Compare(TestContext& context, const std::string& call, const StateSnapshot& before,
             const StateSnapshot& after, bool isFrame) {
  for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
    if (before[i].values == after[i].values) continue;
    const std::string change = call + " changes " + before[i].name + " from " +
                               Values(before[i].values) + " to " + Values(after[i].values);
    if (AllowedAfterFrame(before[i], after[i])) {
      // The standard allows this after a frame; elsewhere hosts rarely care.
      if (!isFrame) context.Warn(change + " (allowed after a frame only)");
      continue;
    }
    context.Fail(change);
  }
}

void CheckPreserved(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  HostState host;
  host.Make(*gl);
  const GLuint input = gl->MakeTexture(16, 16, 0xFF336699u);
  const std::uint32_t count = ParamCount(context, *plugin);
  gl->TakeErrors();

  void* instance = nullptr;
  const ViewportRecord viewport{0, 0, 30, 20};
  const auto around = [&](const std::string& call, bool isFrame, auto&& body) {
    host.Apply(*gl);
    for (const std::string& error : gl->TakeErrors()) {
      context.Fail("the validator's own state setting: " + error);
    }
    const StateSnapshot before = Capture(*gl);
    body();
    const auto errors = gl->TakeErrors();
    const StateSnapshot after = Capture(*gl);
    Compare(context, call, before, after, isFrame);
    for (const std::string& error : errors) context.Fail(call + ": " + error);
  };

  const int rounds = 1 + context.Level() / 3;
  for (int round = 0; round < rounds && !context.Failed(); ++round) {
    around("code 18 (create)", false,
           [&] { instance = CreateInstance(context, *plugin, viewport.width, viewport.height); });
    if (instance == nullptr) return;
    around("code 21 (attach)", false,
           [&] { CallPlugin(*plugin, HostCall::ContextAttach, 0, instance); });
    for (int frame = 0; frame < 3; ++frame) {
      around("code 17 (frame)", true, [&] {
        FrameInput record(input, 16, 16);
        const std::uint32_t answer =
            Call32(*plugin, HostCall::FrameRender, record.Record(), instance);
        if (answer != ResultSuccess) context.Fail("code 17 answers " + Hex(answer));
      });
    }
    around("code 23 (resize)", false, [&] {
      CallPlugin(*plugin, HostCall::ViewportResize, MixedFromPointer(&viewport), instance);
    });
    around("codes 8, 9 and 7 (parameters)", false, [&] {
      for (std::uint32_t index = 0; index < count; ++index) {
        if (Call32(*plugin, HostCall::ParamTypeQuery, index) == ParamTypeText) continue;
        ParamWriteRecord record{index, {0.75f}};
        CallPlugin(*plugin, HostCall::ParamWrite, MixedFromPointer(&record), instance);
        CallPlugin(*plugin, HostCall::ParamRead, index, instance);
        CallPlugin(*plugin, HostCall::ParamReadoutQuery, index, instance);
      }
    });
    around("code 17 (frame after parameter changes)", true, [&] {
      FrameInput record(input, 16, 16);
      CallPlugin(*plugin, HostCall::FrameRender, record.Record(), instance);
    });
    around("code 22 (detach)", false,
           [&] { CallPlugin(*plugin, HostCall::ContextDetach, 0, instance); });
    around("code 19 (destroy)", false, [&] { DestroyInstance(context, *plugin, instance); });
  }
  gl->PlainState();
  CallPlugin(*plugin, HostCall::LibraryClose);
  if (!gl->hasDebugOutput) context.Warn("the driver offers no debug output; glGetError only");
}

}  // namespace

void AddGLStateTests(std::vector<ValidateTest>& tests) {
  tests.push_back(
      {"gl-state.preserved", "checking GL state around every instance call", CheckPreserved});
}
