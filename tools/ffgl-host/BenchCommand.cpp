#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "BenchPassThrough.h"
#include "Command.h"
#include "FrameClock.h"
#include "GLTarget.h"
#include "ImageCodec.h"
#include "KeptContext.h"
#include "PluginDescription.h"
#include "PluginInstance.h"
#include "PluginLibrary.h"
#include "RenderOptions.h"
#include "glcontext/HostGL.h"
#include "glcontext/OffscreenContext.h"
#include "host/HostCall.h"
#include "validate/AllocationCounter.h"

namespace {

const char* const benchUsage =
    "usage: ffgl-host bench PLUGIN [--size WxH]... [--frames N] [--warm-up N]\n"
    "Times the plug-in's frames against a pass-through shader on the same GL\n"
    "context, texture and framebuffer. Default sizes 1280x720, 1920x1080 and\n"
    "3840x2160; 60 timed frames after 5 warm-up frames, the two alternating.\n"
    "Figures are medians.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "ffgl-host bench: %s\n", message.c_str());
  return 1;
}

struct Size {
  int width;
  int height;
};

bool ParseSize(const std::string& text, Size& size) {
  int width = 0;
  int height = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &tail) != 2) return false;
  if (width < 1 || height < 1 || width > 16384 || height > 16384) return false;
  size = {width, height};
  return true;
}

bool ParseCount(const std::string& text, long low, long& value) {
  double number = 0.0;
  if (!ParseNumber(text, number) || number < low || number > 1e6 ||
      number != static_cast<long>(number)) {
    return false;
  }
  value = static_cast<long>(number);
  return true;
}

struct BenchOptions {
  std::string plugin;
  std::vector<Size> sizes;
  long frames = 60;
  long warmUp = 5;
  bool help = false;
};

bool ParseBenchOptions(const CommandArgs& args, BenchOptions& options, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--size" && hasValue) {
      Size size{};
      if (!ParseSize(args[++i], size)) {
        error = "size '" + args[i] + "' is not WxH between 1x1 and 16384x16384";
        return false;
      }
      options.sizes.push_back(size);
    } else if (arg == "--frames" && hasValue) {
      if (!ParseCount(args[++i], 1, options.frames)) {
        error = "frame count '" + args[i] + "' is not a whole number from 1";
        return false;
      }
    } else if (arg == "--warm-up" && hasValue) {
      if (!ParseCount(args[++i], 1, options.warmUp)) {
        error = "warm-up count '" + args[i] + "' is not a whole number from 1";
        return false;
      }
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option or missing value: '" + arg + "'";
      return false;
    } else if (options.plugin.empty()) {
      options.plugin = arg;
    } else {
      error = "more than one plug-in named: '" + arg + "'";
      return false;
    }
  }
  if (options.help) return true;
  if (options.plugin.empty()) {
    error = "no plug-in named";
    return false;
  }
  if (options.sizes.empty()) options.sizes = {{1280, 720}, {1920, 1080}, {3840, 2160}};
  return true;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Per-frame figures of one way of drawing, in seconds.
struct Timing {
  std::vector<double> frame;  // from a finished GL to a finished GL
  std::vector<double> call;   // the draw call alone, GL work not awaited
  std::vector<double> gpu;    // GL_TIME_ELAPSED, where the context has it
};

using Draw = std::function<bool(bool timed)>;

// One frame of `draw`; answers false when `draw` does.
bool TimeFrame(const HostGL& gl, RenderTarget& target, InputTexture& input, GLuint query,
               const Draw& draw, bool timed, Timing& timing) {
  target.Prepare();
  input.Prepare();
  glFinish();
  const double start = WallSeconds();
  if (query != 0) gl.BeginQuery(GL_TIME_ELAPSED, query);
  const double callStart = WallSeconds();
  const bool ok = draw(timed);
  const double callEnd = WallSeconds();
  if (query != 0) gl.EndQuery(GL_TIME_ELAPSED);
  glFinish();
  const double end = WallSeconds();
  if (!timed) return ok;
  timing.frame.push_back(end - start);
  timing.call.push_back(callEnd - callStart);
  if (query != 0) {
    GLuint64 elapsed = 0;
    gl.GetQueryObjectui64v(query, GL_QUERY_RESULT, &elapsed);
    timing.gpu.push_back(static_cast<double>(elapsed) * 1e-9);
  }
  return ok;
}

// Warm-up plus timed frames of both ways of drawing, alternating frame by
// frame so that both see the same load from whatever else the machine runs.
bool TimeFrames(const HostGL& gl, RenderTarget& target, InputTexture& input,
                const BenchOptions& options, const Draw& effect, const Draw& pass,
                Timing& effectTiming, Timing& passTiming) {
  const bool queries = gl.GenQueries && gl.BeginQuery && gl.EndQuery && gl.GetQueryObjectui64v;
  GLuint query = 0;
  if (queries) gl.GenQueries(1, &query);
  for (Timing* timing : {&effectTiming, &passTiming}) {
    timing->frame.reserve(options.frames);
    timing->call.reserve(options.frames);
    timing->gpu.reserve(options.frames);
  }
  bool ok = true;
  for (long i = 0; ok && i < options.warmUp + options.frames; ++i) {
    const bool timed = i >= options.warmUp;
    ok = TimeFrame(gl, target, input, query, effect, timed, effectTiming) &&
         TimeFrame(gl, target, input, query, pass, timed, passTiming);
  }
  if (queries) gl.DeleteQueries(1, &query);
  return ok;
}

struct SizeResult {
  Size size;
  Timing effect;
  Timing pass;
  std::uint64_t allocations = 0;
};

bool BenchSize(const PluginLibrary& plugin, const HostGL& gl, const PassThrough& passThrough,
               const BenchOptions& options, SizeResult& result, std::string& error) {
  const Size size = result.size;
  InputTexture input(gl);
  if (!input.Create(size.width, size.height, false, error)) return false;
  std::vector<std::uint8_t> picture(static_cast<std::size_t>(size.width) * size.height * 4);
  MakeTestPicture(size.width, size.height, picture.data());
  input.Upload(picture.data());
  RenderTarget target(gl);
  if (!target.Create(size.width, size.height, false, error)) return false;

  target.Prepare();
  const ViewportRecord viewport{0, 0, static_cast<std::uint32_t>(size.width),
                                static_cast<std::uint32_t>(size.height)};
  auto instance = PluginInstance::Create(plugin, viewport, error);
  if (!instance) return false;
  TextureRecord& record = input.Record();
  long index = 0;
  const Draw effect = [&](bool timed) {
    // Armed only around the plug-in's own call: the first frames (context
    // attachment, driver warm-up) are not steady state.
    const std::uint64_t before = allocations::Count();
    allocations::Arm(timed);
    const bool ok = instance->RenderFrame(&record, index++, error);
    allocations::Arm(false);
    result.allocations += allocations::Count() - before;
    return ok;
  };
  const Draw pass = [&](bool) {
    passThrough.Draw(record.textureId, 1.0f, 1.0f);
    return true;
  };
  return TimeFrames(gl, target, input, options, effect, pass, result.effect, result.pass);
}

double Ratio(double a, double b) { return b > 0.0 ? a / b : 0.0; }

void PrintResults(const std::vector<SizeResult>& results, long frames, bool haveGpu) {
  std::printf("%-10s %10s %10s %7s %11s %11s %7s %10s %13s\n", "size", "effect_ms", "pass_ms",
              "ratio", "effect_gpu", "pass_gpu", "gpu_x", "call_us", "allocs/frame");
  for (const SizeResult& r : results) {
    const double effect = Median(r.effect.frame) * 1e3;
    const double pass = Median(r.pass.frame) * 1e3;
    const double effectGpu = Median(r.effect.gpu) * 1e3;
    const double passGpu = Median(r.pass.gpu) * 1e3;
    char size[32];
    std::snprintf(size, sizeof size, "%dx%d", r.size.width, r.size.height);
    std::printf("%-10s %10.3f %10.3f %7.2f ", size, effect, pass, Ratio(effect, pass));
    if (haveGpu) {
      std::printf("%11.3f %11.3f %7.2f ", effectGpu, passGpu, Ratio(effectGpu, passGpu));
    } else {
      std::printf("%11s %11s %7s ", "-", "-", "-");
    }
    std::printf("%10.1f %13.3f\n", Median(r.effect.call) * 1e6,
                static_cast<double>(r.allocations) / static_cast<double>(frames));
  }
}

}  // namespace

int RunBench(const CommandArgs& args) {
  BenchOptions options;
  std::string error;
  if (!ParseBenchOptions(args, options, error)) {
    return Fail(error + " (ffgl-host bench --help lists the options)");
  }
  if (options.help) {
    std::fputs(benchUsage, stdout);
    return 0;
  }
  auto plugin = PluginLibrary::Open(options.plugin, error);
  if (!plugin) return Fail(error);
  const LibraryCloser closer{*plugin};
  PluginDescription description;
  if (!ReadPluginDescription(*plugin, description, error)) return Fail(error);
  if (description.maxInputs < 1) return Fail("plug-in takes no input; bench feeds one");

  auto context = OffscreenContext::Create(error);
  if (!context) return Fail("no GL context: " + error);
  const KeepContextAtScopeEnd keepContext{context};
  HostGL gl;
  if (!gl.Load(*context)) return Fail("the GL context lacks framebuffer or shader entry points");
  PassThrough passThrough(gl);
  if (!passThrough.Build(error)) return Fail(error);

  const bool countAllocations = allocations::Available();
  // Any address inside the plug-in finds its object; its InfoRecord is one.
  if (countAllocations) {
    allocations::WatchObjectOf(reinterpret_cast<const void*>(
        plugin->Call(static_cast<std::uint32_t>(HostCall::InfoQuery))));
  }
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  std::printf("plug-in: %s (%s)\nrenderer: %s\nframes: %ld timed after %ld warm-up, medians\n",
              description.name.c_str(), description.uniqueId.c_str(),
              renderer != nullptr ? renderer : "?", options.frames, options.warmUp);
  if (!countAllocations) std::printf("allocations: not counted in this build\n");

  std::vector<SizeResult> results;
  for (const Size& size : options.sizes) {
    SizeResult result;
    result.size = size;
    if (!BenchSize(*plugin, gl, passThrough, options, result, error)) return Fail(error);
    results.push_back(std::move(result));
  }
  const bool haveGpu = !results.empty() && !results.front().effect.gpu.empty();
  PrintResults(results, options.frames, haveGpu);
  return 0;
}
