#include <gtest/gtest.h>

#include <cstring>

#include "RecordingEffect.h"
#include "host/HostCall.h"
#include "host/PlugMain.h"

namespace {

using Log = std::vector<std::string>;

MixedValue Call(HostCall code, MixedValue input = 0, void* instance = nullptr) {
  return plugMain(static_cast<std::uint32_t>(code), input, instance);
}

class Lifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    script = RecordingScript{};
    Call(HostCall::LibraryClose);
    Call(HostCall::LibraryOpen);
    slotLog.clear();
  }
  void TearDown() override {
    Call(HostCall::LibraryClose);
    EXPECT_EQ(liveEffects, 0) << "an instance was left behind";
  }

  void* Create() { return reinterpret_cast<void*>(Call(HostCall::InstanceCreate, viewportArg)); }

  ViewportRecord viewport{0, 0, 64, 64};
  MixedValue viewportArg = MixedFromPointer(&viewport);
  TextureRecord texture{4, 4, 4, 4, 1};
  TextureRecord* inputs[1] = {&texture};
  FrameRecord frame{1, inputs};
  MixedValue frameArg = MixedFromPointer(&frame);
};

TEST_F(Lifecycle, CreationAppliesEveryDefaultInIndexOrderThenSetsUp) {
  void* instance = Create();
  ASSERT_NE(reinterpret_cast<MixedValue>(instance), ResultFailureAllBits);
  EXPECT_EQ(slotLog,
            (Log{"construct", "SetParamValue 0", "SetParamValue 1", "SetParamText 2", "SetupGL"}));
  auto* effect = static_cast<RecordingEffect*>(instance);
  EXPECT_EQ(effect->values[0], 0.25f);
  EXPECT_EQ(effect->values[1], 0.75f);
  EXPECT_EQ(effect->text, nullptr) << "a text default is the registry's null text";
  EXPECT_EQ(effect->displaySource, effect);

  slotLog.clear();
  EXPECT_EQ(Call(HostCall::InstanceDestroy, 0, instance), MixedValue{ResultSuccess});
  EXPECT_EQ(slotLog, (Log{"ReleaseGL", "destroy"})) << "never attached: no DetachContext";
}

TEST_F(Lifecycle, FailedCreationLeavesNothingBehind) {
  struct Case {
    const char* what;
    RecordingScript script;
    Log expected;
  };
  RecordingScript setupOne;
  setupOne.setupAnswer = 1;
  RecordingScript setupFails;
  setupFails.setupAnswer = ResultFailure;
  RecordingScript defaultFails;
  defaultFails.defaultIndexToAnswer = 1;
  defaultFails.defaultAnswer = ResultFailure;
  RecordingScript factoryFails;
  factoryFails.factory = RecordingScript::Factory::Fail;
  RecordingScript factoryStoresNothing;
  factoryStoresNothing.factory = RecordingScript::Factory::SucceedWithoutInstance;
  RecordingScript factoryFailsButStores;
  factoryFailsButStores.factory = RecordingScript::Factory::FailButStoreInstance;

  const Log defaultsThenSetup = {"construct",      "SetParamValue 0", "SetParamValue 1",
                                 "SetParamText 2", "SetupGL",         "ReleaseGL",
                                 "destroy"};
  const Case cases[] = {
      {"SetupGL answering 1", setupOne, defaultsThenSetup},
      {"SetupGL answering ResultFailure", setupFails, defaultsThenSetup},
      {"a default that fails",
       defaultFails,
       {"construct", "SetParamValue 0", "SetParamValue 1", "destroy"}},
      {"factory failing", factoryFails, {}},
      {"factory storing no instance", factoryStoresNothing, {}},
      {"factory failing after storing an instance",
       factoryFailsButStores,
       {"construct", "destroy"}},
  };
  for (const Case& c : cases) {
    script = c.script;
    slotLog.clear();
    EXPECT_EQ(Call(HostCall::InstanceCreate, viewportArg), ResultFailureAllBits) << c.what;
    EXPECT_EQ(slotLog, c.expected) << c.what;
    EXPECT_EQ(liveEffects, 1) << c.what << ": only the description instance may be alive";
  }
}

TEST_F(Lifecycle, DefaultAnsweringOneStillCountsAsSuccess) {
  script.defaultIndexToAnswer = 0;
  script.defaultAnswer = 1;
  void* instance = Create();
  ASSERT_NE(reinterpret_cast<MixedValue>(instance), ResultFailureAllBits);
  Call(HostCall::InstanceDestroy, 0, instance);
}

TEST_F(Lifecycle, NullViewportConstructsNothingNotEvenTheDescription) {
  Call(HostCall::LibraryClose);
  slotLog.clear();
  EXPECT_EQ(Call(HostCall::InstanceCreate, 0), ResultFailureAllBits);
  EXPECT_TRUE(slotLog.empty());
  EXPECT_EQ(liveEffects, 0);
}

TEST_F(Lifecycle, FirstFrameAttachesOnceAndDestructionDetachesFirst) {
  void* instance = Create();
  slotLog.clear();
  script.renderAnswer = ResultFailure;
  EXPECT_EQ(Call(HostCall::FrameRender, frameArg, instance), MixedValue{ResultFailure});
  script.renderAnswer = ResultSuccess;
  script.attachAnswer = ResultFailure;  // ignored by code 17
  EXPECT_EQ(Call(HostCall::FrameRender, frameArg, instance), MixedValue{ResultSuccess});
  EXPECT_EQ(slotLog, (Log{"AttachContext", "RenderFrame", "RenderFrame"}));

  slotLog.clear();
  script.releaseAnswer = ResultFailure;
  script.detachAnswer = ResultFailure;
  EXPECT_EQ(Call(HostCall::InstanceDestroy, 0, instance), MixedValue{ResultSuccess});
  EXPECT_EQ(slotLog, (Log{"DetachContext", "ReleaseGL", "destroy"}));
}

TEST_F(Lifecycle, AttachAndDetachChangeTheFlagOnlyOnSuccess) {
  void* instance = Create();
  auto* effect = static_cast<RecordingEffect*>(instance);

  script.attachAnswer = 7;
  EXPECT_EQ(Call(HostCall::ContextAttach, 0, instance), MixedValue{7});
  EXPECT_FALSE(effect->contextAttached);
  script.attachAnswer = ResultSuccess;
  EXPECT_EQ(Call(HostCall::ContextAttach, 0, instance), MixedValue{ResultSuccess});
  EXPECT_TRUE(effect->contextAttached);

  script.detachAnswer = ResultFailure;
  EXPECT_EQ(Call(HostCall::ContextDetach, 0, instance), MixedValue{ResultFailure});
  EXPECT_TRUE(effect->contextAttached);
  script.detachAnswer = ResultSuccess;
  EXPECT_EQ(Call(HostCall::ContextDetach, 0, instance), MixedValue{ResultSuccess});
  EXPECT_FALSE(effect->contextAttached);

  // Detached again: the next frame attaches again.
  slotLog.clear();
  Call(HostCall::FrameRender, frameArg, instance);
  Call(HostCall::FrameRender, frameArg, instance);
  EXPECT_EQ(slotLog, (Log{"AttachContext", "RenderFrame", "RenderFrame"}));
  Call(HostCall::InstanceDestroy, 0, instance);
}

TEST_F(Lifecycle, TextParametersTakeThePointerPathBothWays) {
  void* instance = Create();
  ParamWriteRecord write{};
  write.index = 2;
  write.value.text = "hello";
  EXPECT_EQ(Call(HostCall::ParamWrite, MixedFromPointer(&write), instance),
            MixedValue{ResultSuccess});
  EXPECT_EQ(Call(HostCall::ParamRead, 2, instance), MixedFromPointer(write.value.text));
  // The display text of a text parameter is the getter's pointer, unchanged.
  EXPECT_EQ(Call(HostCall::ParamReadoutQuery, 2, instance), MixedFromPointer(write.value.text));

  write.index = 1;
  write.value.number = 0.5f;
  EXPECT_EQ(Call(HostCall::ParamWrite, MixedFromPointer(&write), instance),
            MixedValue{ResultSuccess});
  EXPECT_EQ(Call(HostCall::ParamRead, 1, instance), MixedFromFloat(0.5f));
  Call(HostCall::InstanceDestroy, 0, instance);
}

TEST_F(Lifecycle, DisplayTextsShareOneBufferAcrossInstances) {
  void* first = Create();
  void* second = Create();
  ParamWriteRecord write{};
  write.index = 0;
  write.value.number = 0.2f;
  Call(HostCall::ParamWrite, MixedFromPointer(&write), first);
  write.value.number = 1.0f;
  Call(HostCall::ParamWrite, MixedFromPointer(&write), second);

  const MixedValue firstText = Call(HostCall::ParamReadoutQuery, 0, first);
  EXPECT_STREQ(reinterpret_cast<const char*>(firstText), "0.200000");
  const MixedValue secondText = Call(HostCall::ParamReadoutQuery, 0, second);
  EXPECT_EQ(firstText, secondText);
  EXPECT_STREQ(reinterpret_cast<const char*>(firstText), "1.000000");
  EXPECT_EQ(Call(HostCall::ParamReadoutQuery, 9, first), MixedValue{0});

  Call(HostCall::InstanceDestroy, 0, first);
  Call(HostCall::InstanceDestroy, 0, second);
}

TEST_F(Lifecycle, BaseSlotsKeepTheirDefaultAnswers) {
  void* instance = Create();
  double time = 1.0;
  EXPECT_EQ(Call(HostCall::HostTimeSet, MixedFromPointer(&time), instance),
            MixedValue{ResultFailure});
  EXPECT_EQ(Call(HostCall::InputStatusQuery, 0, instance), MixedValue{InputInUse});
  EXPECT_EQ(Call(HostCall::InputStatusQuery, 1, instance), MixedValue{ResultFailure});
  EXPECT_EQ(Call(HostCall::ViewportResize, viewportArg, instance), MixedValue{ResultSuccess});
  EXPECT_EQ(Call(HostCall::PluginExtraQuery), MixedValue{0});
  Call(HostCall::InstanceDestroy, 0, instance);
}

}  // namespace
