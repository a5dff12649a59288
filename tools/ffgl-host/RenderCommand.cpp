#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

#include "Command.h"
#include "FrameClock.h"
#include "FramePattern.h"
#include "FrameQueue.h"
#include "FrameSink.h"
#include "FrameSource.h"
#include "GLTarget.h"
#include "KeptContext.h"
#include "PluginDescription.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"
#include "Progress.h"
#include "RenderOptions.h"
#include "StandardStreams.h"
#include "glcontext/HostGL.h"
#include "glcontext/OffscreenContext.h"
#include "host/HostCall.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "ffgl-host render: %s\n", message.c_str());
  return 1;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& ending) {
  if (text.size() < ending.size()) return false;
  for (std::size_t i = 0; i < ending.size(); ++i) {
    const char c = text[text.size() - ending.size() + i];
    if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != ending[i]) return false;
  }
  return true;
}

enum class OutputKind { Png, RawFile, RawStream };

bool ClassifyOutput(const RenderOptions& options, OutputKind& kind, std::string& error) {
  if (options.output == "-") {
    kind = OutputKind::RawStream;
  } else if (EndsWithIgnoringCase(options.output, ".png")) {
    kind = OutputKind::Png;
  } else if (EndsWithIgnoringCase(options.output, ".raw")) {
    kind = OutputKind::RawFile;
  } else {
    error = "cannot tell the output format of '" + options.output +
            "': name a .png or .raw file, or '-' for raw frames on stdout";
    return false;
  }
  if (kind == OutputKind::Png && options.floatOutput) {
    error =
        "--float writes raw float32 RGBA: name a .raw file or '-', not '" + options.output + "'";
    return false;
  }
  return true;
}

struct ParameterSetting {
  const ParameterDescription* param;
  std::string value;
};

bool ResolveParameters(const RenderOptions& options, const PluginDescription& description,
                       std::vector<ParameterSetting>& out, std::string& error) {
  for (const auto& [name, value] : options.parameters) {
    const ParameterDescription* param = description.FindParameter(name);
    if (param == nullptr) {
      error = "unknown parameter '" + name + "'";
      return false;
    }
    double number = 0.0;
    if (param->type != ParamTypeText && !ParseNumber(value, number)) {
      error = "value '" + value + "' of parameter '" + param->name + "' is not a number";
      return false;
    }
    out.push_back({param, value});
  }
  return true;
}

std::unique_ptr<FrameSource> MakeSource(const RenderOptions& options,
                                        const FramePattern& inputPattern) {
  if (options.input.empty()) {
    return MakeTestPictureSource(options.width > 0 ? options.width : defaultPictureWidth,
                                 options.height > 0 ? options.height : defaultPictureHeight);
  }
  if (options.input == "-") return MakeRawSource(RawStdin(), options.width, options.height);
  if (inputPattern.IsSequence()) return MakeImageSequenceSource(inputPattern);
  return MakeImageFileSource(options.input);
}

// What the reader, the GL thread and the writer share. Held by shared
// pointer so that a reader still blocked on its input when the run fails
// can be left behind safely.
struct Pipeline {
  static constexpr int inputBuffers = 3;
  static constexpr int outputBuffers = 3;

  std::unique_ptr<FrameSource> source;
  std::unique_ptr<FrameSink> sink;
  long firstNumber = 0;
  FrameBuffer inputs[inputBuffers];
  FrameBuffer outputs[outputBuffers];
  FrameQueue freeInputs{inputBuffers};
  FrameQueue readyInputs{inputBuffers};
  FrameQueue freeOutputs{outputBuffers};
  FrameQueue readyOutputs{outputBuffers};
  std::atomic<bool> failed{false};
  std::mutex errorMutex;
  std::string error;

  void Abort(const std::string& message) {
    {
      std::lock_guard<std::mutex> lock(errorMutex);
      if (!failed.load()) error = message;
      failed.store(true);
    }
    freeInputs.Close();
    readyInputs.Close();
    freeOutputs.Close();
    readyOutputs.Close();
  }

  // Reader thread: fills free input buffers in frame order.
  void ReadFrames(long limit) {
    for (long index = 0; limit == 0 || index < limit; ++index) {
      FrameBuffer* frame = freeInputs.Pop();
      if (frame == nullptr) return;
      frame->index = index;
      std::string message;
      const FrameSource::Result result = source->Read(index, *frame, message);
      if (result == FrameSource::Result::Failed) return Abort(message);
      if (result == FrameSource::Result::End) break;
      if (!readyInputs.Push(frame)) return;
    }
    readyInputs.Close();
  }

  // Writer thread: hands finished frames to the sink.
  void WriteFrames() {
    while (FrameBuffer* frame = readyOutputs.Pop()) {
      if (failed.load()) return;
      std::string message;
      if (!sink->Write(*frame, firstNumber + frame->index, message)) return Abort(message);
      if (!freeOutputs.Push(frame)) return;
    }
  }
};

bool CollectFrame(Pipeline& pipeline, RenderTarget& target, long index) {
  FrameBuffer* out = pipeline.freeOutputs.Pop();
  if (out == nullptr) return false;
  out->index = index;
  if (!target.FinishReadback(out->bytes.data())) {
    pipeline.Abort("cannot read back frame " + std::to_string(index));
    return false;
  }
  return pipeline.readyOutputs.Push(out);
}

// The GL thread's loop: upload, render, start the readback of this frame
// and collect the one before, so that the reader, the GL work and the
// writer overlap. Answers false once the pipeline has failed.
bool RenderFrames(const RenderOptions& options, const std::shared_ptr<Pipeline>& pipeline,
                  FrameClock& clock, PluginInstance& instance, InputTexture* input,
                  RenderTarget& target) {
  FrameSource& source = *pipeline->source;
  const bool still = source.IsStill();
  const long limit = still ? (options.frames > 0 ? options.frames : 1) : options.frames;
  Progress progress(!options.quiet, limit);

  std::thread reader;
  if (still) {
    std::string message;
    FrameBuffer& picture = pipeline->inputs[0];
    if (source.Read(0, picture, message) != FrameSource::Result::Frame) {
      pipeline->Abort(message);
      return false;
    }
    if (input != nullptr) input->Upload(picture.bytes.data());
  } else {
    for (FrameBuffer& buffer : pipeline->inputs) pipeline->freeInputs.Push(&buffer);
    reader = std::thread([pipeline, limit] { pipeline->ReadFrames(limit); });
  }
  for (FrameBuffer& buffer : pipeline->outputs) pipeline->freeOutputs.Push(&buffer);
  std::thread writer([pipeline] { pipeline->WriteFrames(); });

  long collected = 0;
  for (long index = 0; limit == 0 || index < limit; ++index) {
    if (pipeline->failed.load()) break;
    if (!still) {
      FrameBuffer* frame = pipeline->readyInputs.Pop();
      if (frame == nullptr) break;  // end of input, or a failure
      if (input != nullptr) input->Upload(frame->bytes.data());
      pipeline->freeInputs.Push(frame);
    }
    clock.BeforeFrame(index);
    target.Prepare();
    if (input != nullptr) input->Prepare();
    std::string message;
    if (!instance.RenderFrame(input != nullptr ? &input->Record() : nullptr, index, message)) {
      pipeline->Abort(message);
      break;
    }
    if (target.Pending() == target.Depth() && !CollectFrame(*pipeline, target, collected++)) {
      break;
    }
    target.StartReadback();
    progress.Update(index + 1);
  }
  while (!pipeline->failed.load() && target.Pending() > 0) {
    if (!CollectFrame(*pipeline, target, collected++)) break;
  }
  // An empty pipe would otherwise "succeed" without writing anything.
  if (collected == 0 && !pipeline->failed.load()) pipeline->Abort("the input holds no frame");
  pipeline->readyOutputs.Close();
  writer.join();
  progress.Done();
  if (reader.joinable()) {
    if (pipeline->failed.load()) {
      // The reader may sit in a read that only its producer can end; it
      // holds the pipeline alive by itself and dies with the process.
      pipeline->freeInputs.Close();
      pipeline->readyInputs.Close();
      reader.detach();
    } else {
      pipeline->freeInputs.Close();
      pipeline->readyInputs.Close();
      reader.join();
    }
  }
  return !pipeline->failed.load();
}

bool CheckFrameCount(const RenderOptions& options, OutputKind kind,
                     const FramePattern& outputPattern, const FrameSource& source,
                     std::string& error) {
  if (kind != OutputKind::Png || outputPattern.IsSequence()) return true;
  const bool several = source.IsStill() ? options.frames > 1 : options.frames != 1;
  if (several && !(options.input == "-" && options.frames == 0)) {
    error = "output '" + options.output +
            "' names one file but there is more than one frame; use a pattern such as "
            "out%04d.png";
    return false;
  }
  return true;
}

}  // namespace

int RunRender(const CommandArgs& args) {
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(args, options, error)) {
    return Fail(error + " (ffgl-host render --help lists the options)");
  }
  if (options.help) {
    std::fputs(renderUsage, stdout);
    return 0;
  }
  OutputKind kind = OutputKind::Png;
  FramePattern inputPattern;
  FramePattern outputPattern;
  if (!ClassifyOutput(options, kind, error)) return Fail(error);
  if (kind != OutputKind::RawStream && !outputPattern.Parse(options.output, error)) {
    return Fail(error);
  }
  if (!options.input.empty() && options.input != "-" && !inputPattern.Parse(options.input, error)) {
    return Fail(error);
  }

  auto plugin = PluginLibrary::Open(options.plugin, error);
  if (!plugin) return Fail(error);
  // Code 2 on every way out, after the instance is gone and before the
  // library is unloaded; harmless even if code 1 never succeeded.
  const LibraryCloser closer{*plugin};
  PluginDescription description;
  if (!ReadPluginDescription(*plugin, description, error)) return Fail(error);
  std::vector<ParameterSetting> settings;
  if (!ResolveParameters(options, description, settings, error)) return Fail(error);
  if (description.minInputs > 1) {
    return Fail("plug-in needs " + std::to_string(description.minInputs) +
                " inputs; render supplies one");
  }

  auto pipeline = std::make_shared<Pipeline>();
  pipeline->source = MakeSource(options, inputPattern);
  if (!pipeline->source->Open(error)) return Fail(error);
  FrameSource& source = *pipeline->source;
  pipeline->firstNumber = source.FirstNumber();
  if (!CheckFrameCount(options, kind, outputPattern, source, error)) return Fail(error);
  const int width = options.width > 0 ? options.width : source.Width();
  const int height = options.height > 0 ? options.height : source.Height();

  auto context = OffscreenContext::Create(error);
  if (!context) return Fail("no GL context: " + error);
  const KeepContextAtScopeEnd keepContext{context};
  HostGL gl;
  if (!gl.Load(*context)) return Fail("the GL context lacks framebuffer or shader entry points");

  const bool feedsInput = description.maxInputs >= 1;
  InputTexture input(gl);
  if (feedsInput && !input.Create(source.Width(), source.Height(), options.powerOfTwo, error)) {
    return Fail(error);
  }
  RenderTarget target(gl);
  if (!target.Create(width, height, options.floatOutput, error)) return Fail(error);
  const std::size_t inputBytes = static_cast<std::size_t>(source.Width()) * source.Height() * 4;
  for (FrameBuffer& buffer : pipeline->inputs) buffer.bytes.resize(inputBytes);
  for (FrameBuffer& buffer : pipeline->outputs) buffer.bytes.resize(target.FrameBytes());

  switch (kind) {
    case OutputKind::Png: pipeline->sink = MakePngSink(outputPattern, width, height); break;
    case OutputKind::RawFile: pipeline->sink = MakeRawFileSink(outputPattern); break;
    case OutputKind::RawStream: {
      std::FILE* stream = TakeStdoutForFrames();
      if (stream == nullptr) return Fail("cannot take standard output for frames");
      pipeline->sink = MakeRawStreamSink(stream);
      break;
    }
  }

  bool succeeded = false;
  {
    FrameClock clock(options.fps, options.realtime);
    if (!options.realtime && !FrameClock::CanFix() && !options.quiet && StderrIsTerminal()) {
      std::fprintf(stderr,
                   "ffgl-host render: warning: this platform cannot fix the plug-in's clock\n");
    }
    clock.BeforeSetup();
    target.Prepare();
    ViewportRecord viewport{0, 0, static_cast<std::uint32_t>(width),
                            static_cast<std::uint32_t>(height)};
    auto instance = PluginInstance::Create(*plugin, viewport, error);
    if (!instance) return Fail(error);
    for (const ParameterSetting& setting : settings) {
      if (!instance->SetParameter(*setting.param, setting.value, error)) return Fail(error);
    }
    succeeded =
        RenderFrames(options, pipeline, clock, *instance, feedsInput ? &input : nullptr, target);
  }
  if (succeeded && !pipeline->sink->Finish(error)) pipeline->Abort(error);
  if (pipeline->failed.load()) {
    pipeline->sink->Abandon();
    return Fail(pipeline->error);
  }
  return 0;
}
