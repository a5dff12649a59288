#include "AtomicFile.h"

#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::string TemporaryNameFor(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
#if defined(_WIN32)
  const int pid = _getpid();
#else
  const int pid = static_cast<int>(getpid());
#endif
  return directory + "." + base + ".part-" + std::to_string(pid);
}

}  // namespace

bool AtomicFile::Open(const std::string& path, std::string& error) {
  Abandon();
  target = path;
  temporary = TemporaryNameFor(path);
  file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot write '" + path + "': " + std::strerror(errno);
    return false;
  }
  return true;
}

bool AtomicFile::Write(const void* data, std::size_t size, std::string& error) {
  if (std::fwrite(data, 1, size, file) != size) {
    error = "cannot write '" + target + "': " + std::strerror(errno);
    return false;
  }
  return true;
}

bool AtomicFile::Commit(std::string& error) {
  const bool flushed = std::fflush(file) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(file) == 0;
  file = nullptr;
  if (!flushed || !closed) {
    error = "cannot write '" + target + "': " + std::strerror(flushed ? errno : flushError);
    std::remove(temporary.c_str());
    return false;
  }
#if defined(_WIN32)
  const bool renamed =
      MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  const bool renamed = std::rename(temporary.c_str(), target.c_str()) == 0;
#endif
  if (!renamed) {
    error = "cannot write '" + target + "': " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

void AtomicFile::Abandon() {
  if (file == nullptr) return;
  std::fclose(file);
  file = nullptr;
  std::remove(temporary.c_str());
}

void RemoveFile(const std::string& path) { std::remove(path.c_str()); }
