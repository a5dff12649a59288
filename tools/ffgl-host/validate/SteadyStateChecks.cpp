// Check group "steady-state": once the first frame is done, frames and
// parameter calls allocate no memory and create no GL objects.
#include <set>

#include "validate/AllocationCounter.h"
#include "validate/GLHarness.h"
#include "validate/PluginCalls.h"

namespace {

constexpr int warmUpFrames = 3;

struct Work {
  PluginLibrary& plugin;
  void* instance;
  GLuint texture;
  std::vector<std::uint32_t> numeric;

  // One host frame: a parameter change, reads, the display text, the frame.
  void Frame(int number) {
    if (!numeric.empty()) {
      const std::uint32_t index = numeric[static_cast<std::size_t>(number) % numeric.size()];
      ParamWriteRecord record{index, {static_cast<float>(number % 100) / 100.0f}};
      CallPlugin(plugin, HostCall::ParamWrite, MixedFromPointer(&record), instance);
      CallPlugin(plugin, HostCall::ParamRead, index, instance);
      CallPlugin(plugin, HostCall::ParamReadoutQuery, index, instance);
    }
    FrameInput input(texture, 16, 16);
    CallPlugin(plugin, HostCall::FrameRender, input.Record(), instance);
  }
};

void CheckAllocations(TestContext& context) {
  if (!allocations::Available()) {
    return context.Skip("allocation counting is not built in (sanitizer build or not Linux)");
  }
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  // Any address inside the plug-in finds its object; its InfoRecord is one.
  allocations::WatchObjectOf(
      reinterpret_cast<const void*>(CallPlugin(*plugin, HostCall::InfoQuery)));
  GLHarness::Target target = gl->MakeTarget(32, 32, 0);
  gl->BindTarget(target);
  void* instance = CreateInstance(context, *plugin, 32, 32);
  if (instance == nullptr) return;
  Work work{*plugin, instance, gl->MakeTexture(16, 16, 0xFF808080u),
            NumericParams(*plugin, ParamCount(context, *plugin))};
  for (int i = 0; i < warmUpFrames; ++i) work.Frame(i);
  const int frames = 20 * context.Level();
  const std::uint64_t before = allocations::Count();
  allocations::Arm(true);
  for (int i = 0; i < frames; ++i) work.Frame(i);
  allocations::Arm(false);
  const std::uint64_t made = allocations::Count() - before;
  if (made > 0) {
    context.Fail(std::to_string(made) + " heap allocations by the plug-in in " +
                 std::to_string(frames) + " steady-state frames");
  }
  DestroyInstance(context, *plugin, instance);
  CallPlugin(*plugin, HostCall::LibraryClose);
  context.Pass("no allocation in " + std::to_string(frames) + " frames");
}

struct NameScan {
  std::set<std::string> objects;

  void Take(GLHarness& gl) {
    objects.clear();
    for (GLuint name = 1; name <= 1024; ++name) {
      if (glIsTexture(name)) objects.insert("texture " + std::to_string(name));
      if (gl.gl.IsProgram(name)) objects.insert("program " + std::to_string(name));
      if (gl.gl.IsShader(name)) objects.insert("shader " + std::to_string(name));
      if (gl.IsBuffer != nullptr && gl.IsBuffer(name)) {
        objects.insert("buffer " + std::to_string(name));
      }
      if (gl.IsFramebuffer != nullptr && gl.IsFramebuffer(name)) {
        objects.insert("framebuffer " + std::to_string(name));
      }
      if (gl.IsRenderbuffer != nullptr && gl.IsRenderbuffer(name)) {
        objects.insert("renderbuffer " + std::to_string(name));
      }
    }
  }
};

// The next free texture and program names: a plug-in that makes and deletes
// an object every frame moves them on even when no object is left over.
std::pair<GLuint, GLuint> ProbeNames(GLHarness& gl) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glDeleteTextures(1, &texture);
  const GLuint program = gl.gl.CreateProgram();
  gl.gl.DeleteProgram(program);
  return {texture, program};
}

void CheckGLObjects(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  GLHarness::Target target = gl->MakeTarget(32, 32, 0);
  gl->BindTarget(target);
  void* instance = CreateInstance(context, *plugin, 32, 32);
  if (instance == nullptr) return;
  Work work{*plugin, instance, gl->MakeTexture(16, 16, 0xFF808080u),
            NumericParams(*plugin, ParamCount(context, *plugin))};
  for (int i = 0; i < warmUpFrames; ++i) work.Frame(i);
  NameScan before, after;
  before.Take(*gl);
  const auto probeBefore = ProbeNames(*gl);
  const int frames = 10 * context.Level();
  for (int i = 0; i < frames; ++i) {
    gl->BindTarget(target);
    work.Frame(i);
  }
  const auto probeAfter = ProbeNames(*gl);
  after.Take(*gl);
  std::string created;
  std::size_t count = 0;
  for (const std::string& object : after.objects) {
    if (before.objects.count(object) != 0) continue;
    if (++count <= 4) created += (created.empty() ? "" : ", ") + object;
  }
  if (count > 0) {
    context.Fail(std::to_string(count) + " GL objects created in " + std::to_string(frames) +
                 " steady-state frames (" + created + ")");
  }
  // The probe itself uses up one name where the driver does not reuse them.
  if (probeAfter.first > probeBefore.first + 1 || probeAfter.second > probeBefore.second + 1) {
    context.Fail("GL names move on during steady-state frames (next texture " +
                 std::to_string(probeBefore.first) + " -> " + std::to_string(probeAfter.first) +
                 ", next program " + std::to_string(probeBefore.second) + " -> " +
                 std::to_string(probeAfter.second) + "): objects are made per frame");
  }
  for (const std::string& error : gl->TakeErrors()) context.Fail(error);
  DestroyInstance(context, *plugin, instance);
  CallPlugin(*plugin, HostCall::LibraryClose);
}

}  // namespace

void AddSteadyStateTests(std::vector<ValidateTest>& tests) {
  tests.push_back(
      {"steady-state.allocations", "counting heap allocations per frame", CheckAllocations});
  tests.push_back(
      {"steady-state.gl-objects", "counting GL objects made per frame", CheckGLObjects});
}
