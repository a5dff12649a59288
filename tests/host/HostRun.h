#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Runs the built ffgl-host as a user would, through the shell, and keeps
// what it printed.
struct HostResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  std::vector<std::string> ErrLines() const;
};

// `arguments` are shell words (quote them yourself); `stdinFile`, if not
// empty, is fed to standard input.
HostResult RunHost(const std::string& arguments, const std::string& stdinFile = "");
// Any shell command line; standard output and error are kept.
HostResult RunShell(const std::string& command);

// A fresh, empty directory, removed again at destruction.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string operator/(const std::string& name) const { return (path / name).string(); }
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path path;
};

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string Quote(const std::string& word);
