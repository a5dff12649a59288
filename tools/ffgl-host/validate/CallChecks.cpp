// Check group "calls": invalid calls answer the failure value the standard
// gives them, and seeded random call sequences never crash or hang.
#include <algorithm>
#include <map>

#include "validate/GLHarness.h"
#include "validate/PluginCalls.h"

namespace {

constexpr MixedValue lowFailure = MixedFromU32(ResultFailure);

enum class Expect { LowFailure, AllBits, Null };

const char* ExpectName(Expect expect) {
  switch (expect) {
    case Expect::LowFailure: return "ResultFailure in the low 32 bits";
    case Expect::AllBits: return "all bits set";
    case Expect::Null: return "null";
  }
  return "";
}

bool Matches(MixedValue answer, Expect expect) {
  switch (expect) {
    case Expect::LowFailure: return U32FromMixed(answer) == ResultFailure;
    case Expect::AllBits: return answer == ResultFailureAllBits;
    case Expect::Null: return answer == 0;
  }
  return false;
}

void ExpectAnswer(TestContext& context, const std::string& what, MixedValue answer, Expect expect) {
  if (!Matches(answer, expect)) {
    context.Fail(what + " answers " + Hex(answer) + ", not " + ExpectName(expect));
  }
}

// The per-instance codes and what each answers for a null handle.
struct NullHandleCase {
  HostCall call;
  Expect expect;
};
const NullHandleCase nullHandleCases[] = {
    {HostCall::ParamReadoutQuery, Expect::AllBits},
    {HostCall::ParamWrite, Expect::LowFailure},
    {HostCall::ParamRead, Expect::LowFailure},
    {HostCall::InputStatusQuery, Expect::LowFailure},
    {HostCall::FrameRender, Expect::LowFailure},
    {HostCall::InstanceDestroy, Expect::LowFailure},
    {HostCall::HostTimeSet, Expect::LowFailure},
    {HostCall::ContextAttach, Expect::LowFailure},
    {HostCall::ContextDetach, Expect::LowFailure},
    {HostCall::ViewportResize, Expect::LowFailure},
};

// Codes no GL plug-in of this API answers with anything but ResultFailure.
const std::uint32_t unknownCodes[] = {3,  11, 12,  14,   24,          25,          26,
                                      27, 28, 29,  30,   34,          35,          40,
                                      64, 99, 255, 1000, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu};

void CheckInvalidCalls(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  const std::uint32_t count = ParamCount(context, *plugin);

  // Inputs that would be valid for a live instance, so that only the null
  // handle is wrong.
  ParamWriteRecord write{0, {0.5f}};
  const double time = 1.0;
  const ViewportRecord viewport{0, 0, 64, 64};
  FrameInput frame(0, 64, 64);
  for (const NullHandleCase& test : nullHandleCases) {
    MixedValue input = 0;
    if (test.call == HostCall::ParamWrite) input = MixedFromPointer(&write);
    if (test.call == HostCall::HostTimeSet) input = MixedFromPointer(&time);
    if (test.call == HostCall::ViewportResize) input = MixedFromPointer(&viewport);
    if (test.call == HostCall::FrameRender) input = frame.Record();
    ExpectAnswer(context, "code " + std::to_string(Code(test.call)) + " with a null handle",
                 CallPlugin(*plugin, test.call, input, nullptr), test.expect);
  }
  for (const std::uint32_t code : unknownCodes) {
    ExpectAnswer(context, "unknown code " + std::to_string(code), plugin->Call(code, 0, nullptr),
                 Expect::LowFailure);
  }
  ExpectAnswer(context, "code 18 with a null ViewportRecord",
               CallPlugin(*plugin, HostCall::InstanceCreate, 0), Expect::AllBits);

  const std::uint32_t badIndices[] = {count, count + 1, 1000, 0x7FFFFFFFu, 0xFFFFFFFFu};
  for (const std::uint32_t index : badIndices) {
    const std::string at = " for unregistered index " + std::to_string(index);
    ExpectAnswer(context, "code 5" + at, CallPlugin(*plugin, HostCall::ParamNameQuery, index),
                 Expect::Null);
    ExpectAnswer(context, "code 6" + at, CallPlugin(*plugin, HostCall::ParamDefaultQuery, index),
                 Expect::LowFailure);
    ExpectAnswer(context, "code 15" + at, CallPlugin(*plugin, HostCall::ParamTypeQuery, index),
                 Expect::LowFailure);
  }
  const std::uint32_t capabilities[] = {0,  1,  2,  3,  6,  7,   8,          9,
                                        12, 13, 14, 15, 16, 100, 0xFFFFFFFFu};
  for (const std::uint32_t capability : capabilities) {
    const std::uint32_t answer = Call32(*plugin, HostCall::CapabilityQuery, capability);
    if (answer != 0 && answer != 1 && answer != ResultFailure) {
      context.Warn("capability " + std::to_string(capability) + " answers " + Hex(answer));
    }
    if (capability > 15 && answer != 0 && answer != ResultFailure) {
      context.Fail("unknown capability " + std::to_string(capability) + " answers " + Hex(answer));
    }
  }

  void* instance = CreateInstance(context, *plugin);
  if (instance == nullptr) return;
  ExpectAnswer(context, "code 8 with a null record",
               CallPlugin(*plugin, HostCall::ParamWrite, 0, instance), Expect::LowFailure);
  ExpectAnswer(context, "code 17 with a null record",
               CallPlugin(*plugin, HostCall::FrameRender, 0, instance), Expect::LowFailure);
  ExpectAnswer(context, "code 20 with a null time",
               CallPlugin(*plugin, HostCall::HostTimeSet, 0, instance), Expect::LowFailure);
  const std::uint32_t maxInputs = Call32(*plugin, HostCall::CapabilityQuery, CapabilityMaxInputs);
  const std::uint32_t badInputs[] = {maxInputs, maxInputs + 1, 0x7FFFFFFFu, 0xFFFFFFFFu};
  for (const std::uint32_t input : badInputs) {
    if (input < maxInputs) continue;  // wrapped
    ExpectAnswer(context, "code 16 for input " + std::to_string(input),
                 CallPlugin(*plugin, HostCall::InputStatusQuery, input, instance),
                 Expect::LowFailure);
  }
  for (const std::uint32_t index : badIndices) {
    ExpectAnswer(context, "code 7 for unregistered index " + std::to_string(index),
                 CallPlugin(*plugin, HostCall::ParamReadoutQuery, index, instance), Expect::Null);
    ParamWriteRecord bad{index, {0.5f}};
    const std::uint32_t answer =
        Call32(*plugin, HostCall::ParamWrite, MixedFromPointer(&bad), instance);
    if (answer == ResultSuccess) {
      context.Warn("code 8 accepts unregistered index " + std::to_string(index));
    }
    CallPlugin(*plugin, HostCall::ParamRead, index, instance);
  }
  DestroyInstance(context, *plugin, instance);
  for (const std::string& error : gl->TakeErrors()) context.Fail("after invalid calls: " + error);
  CallPlugin(*plugin, HostCall::LibraryClose);
}

// Random but host-legal sequences: only live handles, harness-owned records.
class CallFuzzer {
 public:
  CallFuzzer(TestContext& context, PluginLibrary& plugin, GLHarness& gl)
      : context(context), plugin(plugin), gl(gl) {}

  void Run() {
    count = ParamCount(context, plugin);
    target = gl.MakeTarget(48, 32, 4);
    texture = gl.MakeTexture(16, 16, 0xFF8040C0u);
    const int steps = 150 * context.Level();
    for (step = 0; step < steps && !context.Failed(); ++step) Step();
    for (void* instance : live) DestroyInstance(context, plugin, instance);
    live.clear();
    CallPlugin(plugin, HostCall::LibraryClose);
    for (const std::string& error : gl.TakeErrors()) context.Fail(error);
    context.Pass(std::to_string(steps) + " random calls");
  }

 private:
  std::string At() const { return "step " + std::to_string(step) + ": "; }

  std::uint32_t RandomIndex() {
    switch (context.RandomBelow(6)) {
      case 0: return count + context.RandomBelow(4);
      case 1: return context.RandomBelow(2) ? 0xFFFFFFFFu : 0x80000000u;
      default: return count == 0 ? 0 : context.RandomBelow(count);
    }
  }

  std::uint32_t RandomValueBits() {
    const auto& values = InterestingValues();
    if (context.RandomBelow(3) == 0) return static_cast<std::uint32_t>(context.Random()());
    if (context.RandomBelow(2) == 0) {
      return BitsFromFloat(static_cast<float>(context.RandomBelow(1001)) / 1000.0f);
    }
    return values[context.RandomBelow(static_cast<std::uint32_t>(values.size()))].bits;
  }

  void* RandomLive() { return live[context.RandomBelow(static_cast<std::uint32_t>(live.size()))]; }

  void Step() {
    const std::uint32_t action = context.RandomBelow(16);
    if (live.empty() || (action == 0 && live.size() < 4)) return Create();
    void* instance = RandomLive();
    gl.BindTarget(target);
    switch (action) {
      case 1:
        if (context.RandomBelow(3) == 0) return Destroy(instance);
        return Create();
      case 2:
      case 3: return Write(instance);
      case 4: return Read(instance);
      case 5: {
        const std::uint32_t index = RandomIndex();
        const MixedValue text = CallPlugin(plugin, HostCall::ParamReadoutQuery, index, instance);
        if (text == ResultFailureAllBits && index < count &&
            Call32(plugin, HostCall::ParamTypeQuery, index) != ParamTypeText) {
          context.Fail(At() + "code 7 answers all bits set for a live instance");
        }
        return;
      }
      case 6:
      case 7:
      case 8: return Frame(instance);
      case 9: {
        const double time = static_cast<double>(context.Random()() % 100000) / 10.0;
        CallPlugin(plugin, HostCall::HostTimeSet,
                   context.RandomBelow(4) == 0 ? 0 : MixedFromPointer(&time), instance);
        return;
      }
      case 10: CallPlugin(plugin, HostCall::ContextAttach, 0, instance); return;
      case 11: CallPlugin(plugin, HostCall::ContextDetach, 0, instance); return;
      case 12: {
        const ViewportRecord viewport{0, 0, 1 + context.RandomBelow(4096),
                                      1 + context.RandomBelow(4096)};
        CallPlugin(plugin, HostCall::ViewportResize, MixedFromPointer(&viewport), instance);
        return;
      }
      case 13: CallPlugin(plugin, HostCall::InputStatusQuery, RandomIndex(), instance); return;
      case 14: return PluginWide();
      default: {
        const std::uint32_t code = 24 + context.RandomBelow(7);
        const MixedValue answer = plugin.Call(code, context.Random()(), instance);
        if (U32FromMixed(answer) != ResultFailure) {
          context.Fail(At() + "unknown code " + std::to_string(code) + " answers " + Hex(answer));
        }
        return;
      }
    }
  }

  void Create() {
    const ViewportRecord viewport{0, 0, 48, 32};
    gl.BindTarget(target);
    const MixedValue handle =
        CallPlugin(plugin, HostCall::InstanceCreate, MixedFromPointer(&viewport));
    if (IsFailurePointer(handle)) return context.Fail(At() + "code 18 answers " + Hex(handle));
    for (void* other : live) {
      if (other == reinterpret_cast<void*>(handle)) {
        return context.Fail(At() + "code 18 answers the handle of a live instance");
      }
    }
    live.push_back(reinterpret_cast<void*>(handle));
  }

  void Destroy(void* instance) {
    DestroyInstance(context, plugin, instance);
    for (auto& value : written) {
      if (value.first.first == instance) value.second = kForgotten;
    }
    live.erase(std::find(live.begin(), live.end(), instance));
  }

  void Write(void* instance) {
    if (context.RandomBelow(8) == 0) {
      const MixedValue answer = CallPlugin(plugin, HostCall::ParamWrite, 0, instance);
      if (U32FromMixed(answer) != ResultFailure) {
        context.Fail(At() + "code 8 with a null record answers " + Hex(answer));
      }
      return;
    }
    const std::uint32_t index = RandomIndex();
    if (index < count && Call32(plugin, HostCall::ParamTypeQuery, index) == ParamTypeText) return;
    const std::uint32_t bits = RandomValueBits();
    ParamWriteRecord record{index, {FloatFromBits(bits)}};
    if (Call32(plugin, HostCall::ParamWrite, MixedFromPointer(&record), instance) ==
            ResultSuccess &&
        index < count) {
      written[{instance, index}] = bits;
    }
  }

  void Read(void* instance) {
    const std::uint32_t index = RandomIndex();
    const MixedValue answer = CallPlugin(plugin, HostCall::ParamRead, index, instance);
    const auto found = written.find({instance, index});
    if (found == written.end() || found->second == kForgotten) return;
    if (U32FromMixed(answer) != static_cast<std::uint32_t>(found->second)) {
      context.Fail(At() + "parameter " + std::to_string(index) + " written as " +
                   Hex(found->second) + " reads back as " + Hex(U32FromMixed(answer)));
    }
  }

  void Frame(void* instance) {
    FrameInput input(texture, 16, 16);
    switch (context.RandomBelow(6)) {
      case 0: {
        const MixedValue answer = CallPlugin(plugin, HostCall::FrameRender, 0, instance);
        if (U32FromMixed(answer) != ResultFailure) {
          context.Fail(At() + "code 17 with a null record answers " + Hex(answer));
        }
        return;
      }
      case 1: input.frame.inputCount = 0; break;
      case 2: input.frame.inputs = nullptr; break;
      case 3: input.pointers[0] = nullptr; break;
      default: break;
    }
    CallPlugin(plugin, HostCall::FrameRender, input.Record(), instance);
  }

  void PluginWide() {
    const HostCall calls[] = {HostCall::InfoQuery,         HostCall::DetailsQuery,
                              HostCall::ParamCountQuery,   HostCall::ParamNameQuery,
                              HostCall::ParamDefaultQuery, HostCall::CapabilityQuery,
                              HostCall::ParamTypeQuery,    HostCall::ParamExtraAQuery,
                              HostCall::ParamExtraBQuery,  HostCall::PluginExtraQuery};
    const HostCall call = calls[context.RandomBelow(10)];
    const std::uint32_t input =
        call == HostCall::CapabilityQuery ? context.RandomBelow(20) : RandomIndex();
    const MixedValue answer = CallPlugin(plugin, call, input);
    if (call == HostCall::ParamNameQuery && input >= count && answer != 0) {
      context.Fail(At() + "code 5 for unregistered index " + std::to_string(input) + " answers " +
                   Hex(answer));
    }
    if (call == HostCall::ParamCountQuery && U32FromMixed(answer) != count) {
      context.Fail(At() + "the parameter count changed to " + Hex(answer));
    }
  }

  static constexpr std::uint64_t kForgotten = ~std::uint64_t{0};

  TestContext& context;
  PluginLibrary& plugin;
  GLHarness& gl;
  GLHarness::Target target;
  GLuint texture = 0;
  std::uint32_t count = 0;
  int step = 0;
  std::vector<void*> live;
  std::map<std::pair<void*, std::uint32_t>, std::uint64_t> written;
};

void CheckFuzz(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  CallFuzzer(context, *plugin, *gl).Run();
}

}  // namespace

void AddCallTests(std::vector<ValidateTest>& tests) {
  tests.push_back({"calls.invalid", "making invalid calls", CheckInvalidCalls});
  tests.push_back({"calls.fuzz", "making random call sequences", CheckFuzz});
}
