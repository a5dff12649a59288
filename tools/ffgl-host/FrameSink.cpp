#include "FrameSink.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "AtomicFile.h"
#include "ImageCodec.h"

namespace {

// Files already committed by this run, removed again if the run fails.
class WrittenFiles {
 public:
  void Add(const std::string& name) { names.push_back(name); }
  void RemoveAll() {
    for (const std::string& name : names) RemoveFile(name);
    names.clear();
  }

 private:
  std::vector<std::string> names;
};

std::string OneFileError(const FramePattern& pattern) {
  return "output '" + pattern.Name(0) +
         "' names one file but there is more than one frame; use a pattern such as out%04d.png";
}

class PngSink final : public FrameSink {
 public:
  PngSink(const FramePattern& pattern, int width, int height)
      : pattern(pattern), width(width), height(height) {}

  bool Write(const FrameBuffer& frame, long number, std::string& error) override {
    if (!pattern.IsSequence() && frame.index > 0) {
      error = OneFileError(pattern);
      return false;
    }
    const std::string name = pattern.Name(number);
    if (!EncodePng(frame.bytes.data(), width, height, png)) {
      error = "cannot encode '" + name + "' as PNG";
      return false;
    }
    AtomicFile file;
    if (!file.Open(name, error) || !file.Write(png.data(), png.size(), error) ||
        !file.Commit(error)) {
      return false;
    }
    written.Add(name);
    return true;
  }
  bool Finish(std::string&) override { return true; }
  void Abandon() override { written.RemoveAll(); }

 private:
  FramePattern pattern;
  int width;
  int height;
  std::vector<std::uint8_t> png;
  WrittenFiles written;
};

class RawFileSink final : public FrameSink {
 public:
  explicit RawFileSink(const FramePattern& pattern) : pattern(pattern) {}

  bool Write(const FrameBuffer& frame, long number, std::string& error) override {
    if (pattern.IsSequence()) {
      const std::string name = pattern.Name(number);
      AtomicFile file;
      if (!file.Open(name, error) || !file.Write(frame.bytes.data(), frame.bytes.size(), error) ||
          !file.Commit(error)) {
        return false;
      }
      written.Add(name);
      return true;
    }
    if (!single.IsOpen() && !single.Open(pattern.Name(0), error)) return false;
    return single.Write(frame.bytes.data(), frame.bytes.size(), error);
  }
  bool Finish(std::string& error) override {
    if (pattern.IsSequence() || !single.IsOpen()) return true;
    return single.Commit(error);
  }
  void Abandon() override {
    single.Abandon();
    written.RemoveAll();
  }

 private:
  FramePattern pattern;
  AtomicFile single;
  WrittenFiles written;
};

class RawStreamSink final : public FrameSink {
 public:
  explicit RawStreamSink(std::FILE* stream) : stream(stream) {}

  bool Write(const FrameBuffer& frame, long, std::string& error) override {
    if (std::fwrite(frame.bytes.data(), 1, frame.bytes.size(), stream) != frame.bytes.size()) {
      error = std::string("cannot write raw output: ") + std::strerror(errno);
      return false;
    }
    return true;
  }
  bool Finish(std::string& error) override {
    if (std::fflush(stream) != 0) {
      error = std::string("cannot write raw output: ") + std::strerror(errno);
      return false;
    }
    return true;
  }
  void Abandon() override { std::fflush(stream); }

 private:
  std::FILE* stream;
};

}  // namespace

std::unique_ptr<FrameSink> MakePngSink(const FramePattern& pattern, int width, int height) {
  return std::make_unique<PngSink>(pattern, width, height);
}
std::unique_ptr<FrameSink> MakeRawFileSink(const FramePattern& pattern) {
  return std::make_unique<RawFileSink>(pattern);
}
std::unique_ptr<FrameSink> MakeRawStreamSink(std::FILE* stream) {
  return std::make_unique<RawStreamSink>(stream);
}
