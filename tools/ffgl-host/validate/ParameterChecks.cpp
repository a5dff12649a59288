// Check group "params": every numeric parameter carries odd values bit for
// bit, its display text stays sane, and frames with those values stay inside
// the viewport.
#include <cstring>

#include "validate/GLHarness.h"
#include "validate/PluginCalls.h"

namespace {

constexpr std::uint32_t guardColour = 0xFF20A0E0u;  // ABGR in memory: R=E0 G=A0 B=20
constexpr std::size_t displayLimit = 256;

void CheckDisplayText(TestContext& context, PluginLibrary& plugin, void* instance,
                      std::uint32_t index, const std::string& value) {
  const MixedValue text = CallPlugin(plugin, HostCall::ParamReadoutQuery, index, instance);
  const std::string which = "display text of parameter " + std::to_string(index) + " at " + value;
  if (IsFailurePointer(text)) return context.Fail(which + " is " + Hex(text));
  const char* chars = reinterpret_cast<const char*>(text);
  if (memchr(chars, '\0', displayLimit) == nullptr) {
    context.Fail(which + " is not terminated within " + std::to_string(displayLimit) + " bytes");
  }
}

void CheckRoundTrip(TestContext& context) {
  PluginLibrary* plugin = context.Plugin();
  GLHarness* gl = context.GL();
  if (plugin == nullptr || gl == nullptr) return;
  const std::uint32_t count = ParamCount(context, *plugin);
  const std::vector<std::uint32_t> numeric = NumericParams(*plugin, count);
  GLHarness::Target target = gl->MakeTarget(40, 30, 6);
  const GLuint texture = gl->MakeTexture(8, 8, 0xFF808080u);
  gl->PlainState();
  gl->BindTarget(target);
  void* instance = CreateInstance(context, *plugin, 40, 30);
  if (instance == nullptr) return;
  gl->TakeErrors();

  for (const InterestingValue& value : InterestingValues()) {
    for (const std::uint32_t index : numeric) {
      ParamWriteRecord record{index, {FloatFromBits(value.bits)}};
      const std::uint32_t answer =
          Call32(*plugin, HostCall::ParamWrite, MixedFromPointer(&record), instance);
      const std::string which = "parameter " + std::to_string(index) + " written as " + value.name;
      if (answer != ResultSuccess) {
        context.Fail(which + ": code 8 answers " + Hex(answer));
        continue;
      }
      const std::uint32_t back = Call32(*plugin, HostCall::ParamRead, index, instance);
      if (back != value.bits) {
        context.Fail(which + " (" + Hex(value.bits) + ") reads back as " + Hex(back));
      }
      CheckDisplayText(context, *plugin, instance, index, value.name);
    }
    gl->Fill(target, guardColour);
    gl->BindTarget(target);
    FrameInput frame(texture, 8, 8);
    const std::uint32_t answer = Call32(*plugin, HostCall::FrameRender, frame.Record(), instance);
    if (answer != ResultSuccess) {
      context.Fail("a frame with every parameter at " + std::string(value.name) + " answers " +
                   Hex(answer));
    }
    const std::size_t changed = GuardPixelsChanged(target, gl->Read(target), guardColour);
    if (changed > 0) {
      context.Fail("a frame with every parameter at " + std::string(value.name) + " changes " +
                   std::to_string(changed) + " pixels outside the viewport");
    }
    for (const std::string& error : gl->TakeErrors()) {
      context.Fail("parameters at " + std::string(value.name) + ": " + error);
    }
  }

  // Text parameters: what is written is what reads back, when accepted.
  for (std::uint32_t index = 0; index < count; ++index) {
    if (Call32(*plugin, HostCall::ParamTypeQuery, index) != ParamTypeText) continue;
    char text[] = "validator text";
    ParamWriteRecord record{index, {0}};
    record.value.text = text;
    if (Call32(*plugin, HostCall::ParamWrite, MixedFromPointer(&record), instance) !=
        ResultSuccess) {
      continue;
    }
    std::memset(text, 'x', sizeof text - 1);  // the plug-in must have copied it
    const MixedValue back = CallPlugin(*plugin, HostCall::ParamRead, index, instance);
    if (IsFailurePointer(back) ||
        std::strncmp(reinterpret_cast<const char*>(back), "validator text", 16) != 0) {
      context.Fail("text parameter " + std::to_string(index) + " does not read back its text");
    }
  }
  DestroyInstance(context, *plugin, instance);
  CallPlugin(*plugin, HostCall::LibraryClose);
  context.Pass(std::to_string(numeric.size()) + " numeric parameters x " +
               std::to_string(InterestingValues().size()) + " values");
}

}  // namespace

void AddParameterTests(std::vector<ValidateTest>& tests) {
  tests.push_back(
      {"params.round-trip", "writing and reading odd parameter values", CheckRoundTrip});
}
