#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/HostCall.h"
#include "host/HostRecords.h"
#include "platform/Export.h"

// A FreeFrame GL plug-in loaded the way a host loads it: by path, with
// plugMain resolved by name. Nothing it answers is trusted by this class;
// callers check every answer.
class PluginLibrary {
 public:
  using PlugMain = MixedValue(FFGL_CALL*)(std::uint32_t code, MixedValue input, void* instance);

  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Null with a one-line reason in `error` when the file will not load or
  // has no plugMain.
  static std::unique_ptr<PluginLibrary> Open(const std::string& path, std::string& error);

  MixedValue Call(std::uint32_t code, MixedValue input = 0, void* instance = nullptr) const {
    return plugMain(code, input, instance);
  }
  const std::string& Path() const { return path; }

 private:
  PluginLibrary(void* handle, PlugMain plugMain, std::string path)
      : handle(handle), plugMain(plugMain), path(std::move(path)) {}

  void* handle;
  PlugMain plugMain;
  std::string path;
};

// Closes the plug-in (code 2) on every way out of a host command, so its
// description instance never outlives the command.
struct LibraryCloser {
  const PluginLibrary& plugin;
  ~LibraryCloser() { plugin.Call(static_cast<std::uint32_t>(HostCall::LibraryClose)); }
};
