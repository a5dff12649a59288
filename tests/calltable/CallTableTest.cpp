#include <gtest/gtest.h>

#include <cstring>

#include "GLTestContext.h"
#include "LoadedPlugin.h"

namespace {

struct Row {
  const char* what;
  HostCall code;
  MixedValue input;
  MixedValue expected;
};

constexpr MixedValue failure32 = MixedFromU32(ResultFailure);
constexpr MixedValue success = MixedFromU32(ResultSuccess);

std::uint32_t Bits(float value) { return U32FromMixed(MixedFromFloat(value)); }

void CheckRows(const PluginLibrary& plugin, const std::vector<Row>& rows, void* instance) {
  for (const Row& row : rows) {
    EXPECT_EQ(Call(plugin, row.code, row.input, instance), row.expected)
        << row.what << " (code " << static_cast<std::uint32_t>(row.code) << ")";
  }
}

// An index with bits above the low 32: the host's upper half is ignored.
constexpr MixedValue WithUpperBits(std::uint32_t low) {
#if UINTPTR_MAX == 0xFFFFFFFFu
  return low;
#else
  return (MixedValue{0xABCD} << 32) | low;
#endif
}

TEST(CallTable, PluginWideQueriesNeedNoCodeOneAndNoContext) {
  auto plugin = LoadZentrel();
  ASSERT_TRUE(plugin);
  // The very first call, with no GL context anywhere in this test.
  EXPECT_EQ(Call(*plugin, HostCall::ParamCountQuery), MixedValue{9});

  const auto* info = reinterpret_cast<const InfoRecord*>(Call(*plugin, HostCall::InfoQuery));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(Call(*plugin, HostCall::DetailsQuery), reinterpret_cast<MixedValue>(info) + 32);
  EXPECT_EQ(info->apiMajor, 1u);
  EXPECT_EQ(info->apiMinor, 500u);
  EXPECT_EQ(std::memcmp(info->uniqueId, "ZTW5", 4), 0);
  const char name[16] = "ZentrelFx";
  EXPECT_EQ(std::memcmp(info->name, name, 16), 0);
  EXPECT_EQ(info->pluginType, PluginTypeEffect);
  const auto* details =
      reinterpret_cast<const DetailsRecord*>(Call(*plugin, HostCall::DetailsQuery));
  EXPECT_EQ(details->versionMajor, 1u);
  EXPECT_EQ(details->versionMinor, 0u);
#if UINTPTR_MAX == 0xFFFFFFFFu
  EXPECT_STREQ(details->description, "Pass the input color into a sinus function. Version 1.5_32 ");
#else
  EXPECT_STREQ(details->description, "Pass the input color into a sinus function. Version 1.5_64 ");
#endif
  ASSERT_NE(details->about, nullptr);
  EXPECT_EQ(details->extraSize, 0u);
  EXPECT_EQ(details->extraData, nullptr);

  const char* names[] = {"Speed",     "Phase", "Frequence", "Saturation",   "RGBDecal",
                         "Amplitude", "Range", "Threshold", "Process Alpha"};
  const float defaults[] = {0.5f, 0.5f, 0.2f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f, 0.0f};
  for (std::uint32_t i = 0; i < 9; ++i) {
    const auto* paramName =
        reinterpret_cast<const char*>(Call(*plugin, HostCall::ParamNameQuery, i));
    ASSERT_NE(paramName, nullptr) << i;
    char expected[16] = {};
    std::memcpy(expected, names[i], std::strlen(names[i]));
    EXPECT_EQ(std::memcmp(paramName, expected, 16), 0) << names[i];
    EXPECT_EQ(Call(*plugin, HostCall::ParamDefaultQuery, i), MixedValue{Bits(defaults[i])})
        << names[i];
    EXPECT_EQ(Call(*plugin, HostCall::ParamTypeQuery, i),
              MixedValue{i == 8 ? ParamTypeBoolean : ParamTypeStandard});
    EXPECT_EQ(Call(*plugin, HostCall::ParamExtraAQuery, i), MixedValue{1});
    EXPECT_EQ(Call(*plugin, HostCall::ParamExtraBQuery, i), MixedValue{0});
  }
  EXPECT_EQ(Bits(0.2f), 0x3E4CCCCDu);

  const std::vector<Row> rows = {
      {"speed default", HostCall::ParamDefaultQuery, 0, 0x3F000000},
      {"name with upper input bits", HostCall::ParamNameQuery, WithUpperBits(9), 0},
      {"type with upper input bits", HostCall::ParamTypeQuery, WithUpperBits(0), ParamTypeStandard},
      {"name of index 9", HostCall::ParamNameQuery, 9, 0},
      {"name of index 2^32-1", HostCall::ParamNameQuery, 0xFFFFFFFFu, 0},
      {"default of index 9", HostCall::ParamDefaultQuery, 9, failure32},
      {"type of index 9", HostCall::ParamTypeQuery, 9, failure32},
      {"extra A of index 9", HostCall::ParamExtraAQuery, 9, failure32},
      {"extra B of index 2^32-1", HostCall::ParamExtraBQuery, 0xFFFFFFFFu, failure32},
      {"capability GL", HostCall::CapabilityQuery, CapabilityGL, 1},
      {"capability host time", HostCall::CapabilityQuery, CapabilityHostTime, 0},
      {"capability min inputs", HostCall::CapabilityQuery, CapabilityMinInputs, 1},
      {"capability max inputs", HostCall::CapabilityQuery, CapabilityMaxInputs, 1},
      {"capability 0", HostCall::CapabilityQuery, 0, 0},
      {"capability 2^32-1", HostCall::CapabilityQuery, 0xFFFFFFFFu, 0},
      {"plug-in extra", HostCall::PluginExtraQuery, 0, 0},
      {"library open", HostCall::LibraryOpen, 0, success},
      {"library open again", HostCall::LibraryOpen, 0, success},
  };
  CheckRows(*plugin, rows, nullptr);

  // After code 2 the next query makes a fresh description instance.
  EXPECT_EQ(Call(*plugin, HostCall::LibraryClose), success);
  EXPECT_EQ(Call(*plugin, HostCall::LibraryClose), success);
  EXPECT_EQ(Call(*plugin, HostCall::ParamCountQuery), MixedValue{9});
  EXPECT_EQ(Call(*plugin, HostCall::LibraryClose), success);
}

TEST(CallTable, UnknownCodesAndNullHandlesAnswerTheirFailureWidth) {
  auto plugin = LoadZentrel();
  ASSERT_TRUE(plugin);
  ParamWriteRecord write{};
  double time = 0.0;
  TextureRecord texture{1, 1, 1, 1, 1};
  TextureRecord* inputs[] = {&texture};
  FrameRecord frame{1, inputs};
  ViewportRecord viewport{0, 0, 1, 1};

  std::vector<Row> rows = {
      {"readout, null handle: all bits", HostCall::ParamReadoutQuery, 0, ResultFailureAllBits},
      {"write, null handle", HostCall::ParamWrite, MixedFromPointer(&write), failure32},
      {"read, null handle", HostCall::ParamRead, 0, failure32},
      {"input status, null handle", HostCall::InputStatusQuery, 0, failure32},
      {"frame, null handle", HostCall::FrameRender, MixedFromPointer(&frame), failure32},
      {"destroy, null handle", HostCall::InstanceDestroy, 0, failure32},
      {"host time, null handle", HostCall::HostTimeSet, MixedFromPointer(&time), failure32},
      {"attach, null handle", HostCall::ContextAttach, 0, failure32},
      {"detach, null handle", HostCall::ContextDetach, 0, failure32},
      {"resize, null handle", HostCall::ViewportResize, MixedFromPointer(&viewport), failure32},
      {"create, null viewport", HostCall::InstanceCreate, 0, ResultFailureAllBits},
  };
  for (std::uint32_t code : {3u, 11u, 12u, 14u, 24u, 25u, 26u, 27u, 28u, 29u, 30u, 34u, 35u, 1000u,
                             0x80000000u, 0xFFFFFFFFu}) {
    rows.push_back({"unknown code", static_cast<HostCall>(code), 0, failure32});
  }
  CheckRows(*plugin, rows, nullptr);
}

class CallTableWithInstance : public GLTestContext {};

TEST_F(CallTableWithInstance, PerInstanceCallsAnswerAsTheTableSays) {
  auto plugin = LoadZentrel();
  ASSERT_TRUE(plugin);
  ViewportRecord viewport{0, 0, 16, 16};
  const MixedValue handle = Call(*plugin, HostCall::InstanceCreate, MixedFromPointer(&viewport));
  ASSERT_NE(handle, ResultFailureAllBits);
  ASSERT_NE(handle, MixedValue{0});
  void* instance = AsHandle(handle);

  // A new instance holds exactly the registered defaults.
  const float defaults[] = {0.5f, 0.5f, 0.2f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f, 0.0f};
  for (std::uint32_t i = 0; i < 9; ++i) {
    EXPECT_EQ(Call(*plugin, HostCall::ParamRead, i, instance), MixedValue{Bits(defaults[i])}) << i;
  }
  EXPECT_STREQ(
      reinterpret_cast<const char*>(Call(*plugin, HostCall::ParamReadoutQuery, 2, instance)),
      "0.200000");
  EXPECT_STREQ(
      reinterpret_cast<const char*>(Call(*plugin, HostCall::ParamReadoutQuery, 0, instance)),
      "0.500000");

  ParamWriteRecord outOfRange{};
  outOfRange.index = 9;
  outOfRange.value.number = 0.3f;
  ParamWriteRecord speed{};
  speed.index = 0;
  speed.value.number = 2.0f;
  ParamWriteRecord processAlpha{};
  processAlpha.index = 8;
  processAlpha.value.number = 0.5f;
  double time = 3.0;
  TextureRecord* noTextures[] = {nullptr};
  FrameRecord noInputs{0, nullptr};
  FrameRecord nullArray{1, nullptr};
  FrameRecord nullFirst{1, noTextures};

  const std::vector<Row> rows = {
      {"write without record", HostCall::ParamWrite, 0, failure32},
      {"write index 9", HostCall::ParamWrite, MixedFromPointer(&outOfRange), failure32},
      {"write Speed 2.0, stored unclamped", HostCall::ParamWrite, MixedFromPointer(&speed),
       success},
      {"read Speed back", HostCall::ParamRead, 0, Bits(2.0f)},
      {"write Process Alpha 0.5", HostCall::ParamWrite, MixedFromPointer(&processAlpha), success},
      {"read Process Alpha back", HostCall::ParamRead, 8, Bits(0.5f)},
      {"read index 9 answers 0.0", HostCall::ParamRead, 9, 0},
      {"readout of index 9", HostCall::ParamReadoutQuery, 9, 0},
      {"input 0 in use", HostCall::InputStatusQuery, 0, InputInUse},
      {"input 1", HostCall::InputStatusQuery, 1, failure32},
      {"input 2^32-1", HostCall::InputStatusQuery, 0xFFFFFFFFu, failure32},
      {"frame without record", HostCall::FrameRender, 0, failure32},
      {"frame with no inputs", HostCall::FrameRender, MixedFromPointer(&noInputs), failure32},
      {"frame with null array", HostCall::FrameRender, MixedFromPointer(&nullArray), failure32},
      {"frame with null texture", HostCall::FrameRender, MixedFromPointer(&nullFirst), failure32},
      {"host time without pointer", HostCall::HostTimeSet, 0, failure32},
      {"host time refused", HostCall::HostTimeSet, MixedFromPointer(&time), failure32},
      {"attach", HostCall::ContextAttach, 0, success},
      {"detach", HostCall::ContextDetach, 0, success},
      {"resize, null viewport passed on", HostCall::ViewportResize, 0, success},
      {"resize", HostCall::ViewportResize, MixedFromPointer(&viewport), success},
  };
  CheckRows(*plugin, rows, instance);

  EXPECT_EQ(Call(*plugin, HostCall::InstanceDestroy, 0, instance), success);
  EXPECT_EQ(Call(*plugin, HostCall::LibraryClose), success);
}

}  // namespace
