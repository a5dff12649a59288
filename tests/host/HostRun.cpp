#include "HostRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path FreshDirectory() {
  static std::atomic<int> counter{0};
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    const auto candidate =
        base / ("ffgl-host-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directory(candidate)) return candidate;
  }
}

}  // namespace

std::vector<std::string> HostResult::ErrLines() const {
  std::vector<std::string> lines;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

HostResult RunShell(const std::string& command) {
  const ScratchDir capture;
  const std::string outPath = capture / "stdout";
  const std::string errPath = capture / "stderr";
  const std::string line = "(" + command + ") >" + Quote(outPath) + " 2>" + Quote(errPath);
  const int status = std::system(line.c_str());
  HostResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadText(outPath);
  result.err = ReadText(errPath);
  return result;
}

HostResult RunHost(const std::string& arguments, const std::string& stdinFile) {
  std::string command = Quote(FFGL_HOST) + " " + arguments;
  command += stdinFile.empty() ? " </dev/null" : " <" + Quote(stdinFile);
  return RunShell(command);
}

ScratchDir::ScratchDir() : path(FreshDirectory()) {}
ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

std::vector<std::string> ScratchDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}
