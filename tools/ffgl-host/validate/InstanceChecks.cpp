// Check group "instances": many lifetimes, overlapping, attached and
// detached in every order, each new instance holding the defaults.
#include <algorithm>

#include "validate/GLHarness.h"
#include "validate/PluginCalls.h"

namespace {

void CheckLifecycle(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  GLHarness::Target target = gl->MakeTarget(32, 32, 2);
  gl->BindTarget(target);
  const int rounds = 4 * context.Level();
  // Created and destroyed at once, never drawn.
  for (int i = 0; i < rounds && !context.Failed(); ++i) {
    DestroyInstance(context, *plugin, CreateInstance(context, *plugin, 32, 32));
  }
  // Several alive together, destroyed in a random order.
  std::vector<void*> live;
  for (int i = 0; i < 2 + context.Level() && !context.Failed(); ++i) {
    void* instance = CreateInstance(context, *plugin, 32, 32);
    if (instance == nullptr) break;
    if (std::find(live.begin(), live.end(), instance) != live.end()) {
      context.Fail("code 18 answers the handle of a live instance");
    }
    live.push_back(instance);
  }
  std::shuffle(live.begin(), live.end(), context.Random());
  for (void* instance : live) DestroyInstance(context, *plugin, instance);
  for (const std::string& error : gl->TakeErrors()) context.Fail(error);
  CallPlugin(*plugin, HostCall::LibraryClose);
  context.Pass(std::to_string(rounds + 2 + context.Level()) + " instances");
}

// Each sequence is a string of call codes run on a fresh instance between
// creation and destruction.
const HostCall orderCalls[] = {HostCall::ContextAttach, HostCall::ContextDetach,
                               HostCall::FrameRender, HostCall::ViewportResize};

void CheckAttachOrders(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  GLHarness::Target target = gl->MakeTarget(32, 32, 2);
  const GLuint texture = gl->MakeTexture(4, 4, 0xFF00FF00u);
  std::vector<std::vector<int>> sequences;
  for (int a = 0; a < 4; ++a) {
    for (int b = 0; b < 4; ++b) {
      for (int c = 0; c < 4; ++c) sequences.push_back({a, b, c});
    }
  }
  for (int extra = 0; extra < 3 * context.Level(); ++extra) {
    std::vector<int> sequence;
    for (int i = 0; i < 6; ++i) sequence.push_back(static_cast<int>(context.RandomBelow(4)));
    sequences.push_back(sequence);
  }
  for (const std::vector<int>& sequence : sequences) {
    if (context.Failed()) break;
    gl->BindTarget(target);
    void* instance = CreateInstance(context, *plugin, 32, 32);
    if (instance == nullptr) break;
    std::string name = "18";
    for (const int step : sequence) {
      const HostCall call = orderCalls[step];
      name += " " + std::to_string(Code(call));
      FrameInput frame(texture, 4, 4);
      const ViewportRecord viewport{0, 0, 32, 32};
      MixedValue input = 0;
      if (call == HostCall::FrameRender) input = frame.Record();
      if (call == HostCall::ViewportResize) input = MixedFromPointer(&viewport);
      gl->BindTarget(target);
      const std::uint32_t answer = Call32(*plugin, call, input, instance);
      if (call == HostCall::FrameRender && answer != ResultSuccess) {
        context.Fail("after " + name + ": the frame answers " + Hex(answer));
      } else if (answer != ResultSuccess && answer != ResultFailure) {
        context.Fail("after " + name + ": answers " + Hex(answer));
      }
    }
    DestroyInstance(context, *plugin, instance);
    for (const std::string& error : gl->TakeErrors()) context.Fail(name + " 19: " + error);
  }
  CallPlugin(*plugin, HostCall::LibraryClose);
  context.Pass(std::to_string(sequences.size()) + " call orders");
}

void ExpectDefaults(TestContext& context, PluginLibrary& plugin, void* instance,
                    const std::vector<std::uint32_t>& numeric, const std::string& which) {
  for (const std::uint32_t index : numeric) {
    const std::uint32_t wanted = Call32(plugin, HostCall::ParamDefaultQuery, index);
    const std::uint32_t held = Call32(plugin, HostCall::ParamRead, index, instance);
    if (held != wanted) {
      context.Fail(which + ": parameter " + std::to_string(index) + " holds " + Hex(held) +
                   ", not its default " + Hex(wanted));
    }
  }
}

void CheckDefaults(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  const std::vector<std::uint32_t> numeric = NumericParams(*plugin, ParamCount(context, *plugin));
  void* first = CreateInstance(context, *plugin);
  if (first == nullptr) return;
  ExpectDefaults(context, *plugin, first, numeric, "a new instance");
  // Changing one instance must not reach the next one.
  for (const std::uint32_t index : numeric) {
    ParamWriteRecord record{index, {0.125f + 0.0625f * static_cast<float>(index % 8)}};
    if (record.value.number == FloatFromBits(Call32(*plugin, HostCall::ParamDefaultQuery, index))) {
      record.value.number = 0.9375f;
    }
    CallPlugin(*plugin, HostCall::ParamWrite, MixedFromPointer(&record), first);
  }
  void* second = CreateInstance(context, *plugin);
  if (second != nullptr) {
    ExpectDefaults(context, *plugin, second, numeric, "an instance made after another changed");
  }
  DestroyInstance(context, *plugin, first);
  void* third = CreateInstance(context, *plugin);
  if (third != nullptr) {
    ExpectDefaults(context, *plugin, third, numeric, "an instance made after one was destroyed");
  }
  DestroyInstance(context, *plugin, second);
  DestroyInstance(context, *plugin, third);
  CallPlugin(*plugin, HostCall::LibraryClose);
}

}  // namespace

void AddInstanceTests(std::vector<ValidateTest>& tests) {
  tests.push_back(
      {"instances.lifecycle", "creating and destroying many instances", CheckLifecycle});
  tests.push_back({"instances.attach-orders", "attaching, detaching and drawing in every order",
                   CheckAttachOrders});
  tests.push_back({"instances.defaults", "reading the parameters of new instances", CheckDefaults});
}
