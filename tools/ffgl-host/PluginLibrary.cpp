#include "PluginLibrary.h"

#include "HostClock.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#if defined(_WIN32)

namespace {
std::string LastWindowsError() {
  char text[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 GetLastError(), 0, text, sizeof text - 1, nullptr);
  std::string message(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  return message;
}
}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, std::string& error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    error = "cannot load plug-in '" + path + "': " + LastWindowsError();
    return nullptr;
  }
  // Through a generic function pointer: FARPROC's own type says nothing.
  auto entry =
      reinterpret_cast<PlugMain>(reinterpret_cast<void (*)()>(GetProcAddress(module, "plugMain")));
  if (entry == nullptr) {
    error = "plug-in '" + path + "' has no plugMain export";
    FreeLibrary(module);
    return nullptr;
  }
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(module, entry, path));
}

PluginLibrary::~PluginLibrary() { FreeLibrary(static_cast<HMODULE>(handle)); }

#else

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, std::string& error) {
  // dlopen searches the library path for a bare name; a host loads a file.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = "cannot load plug-in '" + path + "': " + (reason != nullptr ? reason : "unknown error");
    return nullptr;
  }
  auto entry = reinterpret_cast<PlugMain>(dlsym(handle, "plugMain"));
  if (entry == nullptr) {
    error = "plug-in '" + path + "' has no plugMain export";
    dlclose(handle);
    return nullptr;
  }
  // A fixed host time (hostclock::SetFixed) reaches the plug-in loaded last.
  hostclock::ApplyTo(reinterpret_cast<const void*>(entry));
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle, entry, path));
}

PluginLibrary::~PluginLibrary() { dlclose(handle); }

#endif
