#include "RecordingEffect.h"

#include "framework/PluginRegistration.h"

RecordingScript script;
std::vector<std::string> slotLog;
int liveEffects = 0;

RecordingEffect::RecordingEffect() {
  SetMinInputs(1);
  SetMaxInputs(1);
  AddParam(0, "Zero", ParamTypeStandard, 0.25f);
  AddParam(1, "One", ParamTypeBoolean, 0.75f);
  AddParam(2, "Words", ParamTypeText, 0.0f);
  ++liveEffects;
  slotLog.push_back("construct");
}

RecordingEffect::~RecordingEffect() {
  --liveEffects;
  slotLog.push_back("destroy");
}

std::uint32_t RecordingEffect::SetupGL(const ViewportRecord*) {
  slotLog.push_back("SetupGL");
  return script.setupAnswer;
}

std::uint32_t RecordingEffect::ReleaseGL() {
  slotLog.push_back("ReleaseGL");
  return script.releaseAnswer;
}

std::uint32_t RecordingEffect::SetParamValue(std::uint32_t index, float value) {
  slotLog.push_back("SetParamValue " + std::to_string(index));
  if (index < 2) values[index] = value;
  return index == script.defaultIndexToAnswer ? script.defaultAnswer : ResultSuccess;
}

std::uint32_t RecordingEffect::SetParamText(std::uint32_t index, const char* newText) {
  slotLog.push_back("SetParamText " + std::to_string(index));
  if (index == 2) text = newText;
  return index == script.defaultIndexToAnswer ? script.defaultAnswer : ResultSuccess;
}

float RecordingEffect::GetParamValue(std::uint32_t index) {
  return index < 2 ? values[index] : 0.0f;
}

const char* RecordingEffect::GetParamText(std::uint32_t index) {
  return index == 2 ? text : CFreeFrameGLPlugin::GetParamText(index);
}

std::uint32_t RecordingEffect::RenderFrame(const FrameRecord*) {
  slotLog.push_back("RenderFrame");
  return script.renderAnswer;
}

std::uint32_t RecordingEffect::AttachContext() {
  slotLog.push_back("AttachContext");
  return script.attachAnswer;
}

std::uint32_t RecordingEffect::DetachContext() {
  slotLog.push_back("DetachContext");
  return script.detachAnswer;
}

namespace {

std::uint32_t CreateRecordingEffect(CFreeFrameGLPlugin** slot) {
  switch (script.factory) {
    case RecordingScript::Factory::Fail: return ResultFailure;
    case RecordingScript::Factory::SucceedWithoutInstance: *slot = nullptr; return ResultSuccess;
    case RecordingScript::Factory::FailButStoreInstance:
      *slot = new RecordingEffect;
      return ResultFailure;
    case RecordingScript::Factory::Succeed: break;
  }
  *slot = new RecordingEffect;
  return ResultSuccess;
}

PluginRegistration registration(CreateRecordingEffect, "RCRD", "Recording", 1, 500, 1, 0,
                                PluginTypeEffect, "records slot calls", "test effect", 0, nullptr);

}  // namespace
