#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// A file that appears under its name only when it is complete: bytes go to a
// temporary file in the same directory, which Commit renames over the
// target. Destroyed without Commit, it leaves nothing behind.
class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile() { Abandon(); }
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  bool Open(const std::string& path, std::string& error);
  bool Write(const void* data, std::size_t size, std::string& error);
  bool Commit(std::string& error);
  void Abandon();
  bool IsOpen() const { return file != nullptr; }

 private:
  std::FILE* file = nullptr;
  std::string target;
  std::string temporary;
};

// Removes `path` if it exists; used to take back files already committed
// when a later step of the same run fails.
void RemoveFile(const std::string& path);
