#pragma once

#include <memory>
#include <string>

#include "PluginDescription.h"
#include "PluginLibrary.h"
#include "host/HostRecords.h"

// One instance of a plug-in, made with code 18 in the GL context that is
// current and destroyed with code 19 in the same context. Every answer is
// checked; none is trusted.
class PluginInstance {
 public:
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  // Null with a one-line reason in `error` when code 18 fails.
  static std::unique_ptr<PluginInstance> Create(const PluginLibrary& plugin,
                                                const ViewportRecord& viewport, std::string& error);

  // `value` is the text for text parameters, a number otherwise; false with
  // a reason when it is not a number or the plug-in refuses it.
  bool SetParameter(const ParameterDescription& param, const std::string& value,
                    std::string& error);
  // Code 17 with one input, or none when `input` is null; `frameIndex`
  // only names the frame in `error`.
  bool RenderFrame(TextureRecord* input, long frameIndex, std::string& error);
  // Code 7; false when the plug-in answers no text.
  bool DisplayText(std::uint32_t index, std::string& text) const;

 private:
  PluginInstance(const PluginLibrary& plugin, void* handle) : plugin(plugin), handle(handle) {}

  const PluginLibrary& plugin;
  void* handle;
};
