#include "FrameSource.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "ImageCodec.h"

namespace {

std::string SizeText(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

class TestPictureSource final : public FrameSource {
 public:
  TestPictureSource(int w, int h) {
    width = w;
    height = h;
  }
  bool Open(std::string&) override { return true; }
  Result Read(long, FrameBuffer& frame, std::string&) override {
    MakeTestPicture(width, height, frame.bytes.data());
    return Result::Frame;
  }
  bool IsStill() const override { return true; }
};

class ImageFileSource final : public FrameSource {
 public:
  explicit ImageFileSource(std::string path) : path(std::move(path)) {}
  bool Open(std::string& error) override {
    return DecodeImageFile(path, pixels, width, height, error);
  }
  Result Read(long, FrameBuffer& frame, std::string&) override {
    std::memcpy(frame.bytes.data(), pixels.data(), pixels.size());
    return Result::Frame;
  }
  bool IsStill() const override { return true; }

 private:
  std::string path;
  std::vector<std::uint8_t> pixels;
};

// Reads until `size` bytes or end of input; plain reads rather than stdio,
// so that a reader left blocked at exit holds no stdio lock.
std::size_t ReadFully(int descriptor, std::uint8_t* into, std::size_t size, bool& failed) {
  std::size_t got = 0;
  while (got < size) {
#if defined(_WIN32)
    const int n = _read(descriptor, into + got, static_cast<unsigned>(size - got));
#else
    const ssize_t n = read(descriptor, into + got, size - got);
    if (n < 0 && errno == EINTR) continue;
#endif
    if (n < 0) {
      failed = true;
      return got;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

class ImageSequenceSource final : public FrameSource {
 public:
  explicit ImageSequenceSource(const FramePattern& pattern) : pattern(pattern) {}

  bool Open(std::string& error) override {
    // Numbered sequences start at 0 or at 1, depending on who wrote them.
    first = FileExists(pattern.Name(0)) ? 0 : 1;
    if (!DecodeImageFile(pattern.Name(first), firstPixels, width, height, error)) return false;
    return true;
  }

  Result Read(long index, FrameBuffer& frame, std::string& error) override {
    if (index == 0) {
      std::memcpy(frame.bytes.data(), firstPixels.data(), firstPixels.size());
      firstPixels.clear();
      firstPixels.shrink_to_fit();
      return Result::Frame;
    }
    const std::string name = pattern.Name(first + index);
    if (!FileExists(name)) return Result::End;
    int w = 0;
    int h = 0;
    if (!DecodeImageFile(name, pixels, w, h, error)) return Result::Failed;
    if (w != width || h != height) {
      error = "image '" + name + "' is " + SizeText(w, h) + ", the sequence started at " +
              SizeText(width, height);
      return Result::Failed;
    }
    std::memcpy(frame.bytes.data(), pixels.data(), pixels.size());
    return Result::Frame;
  }

  long FirstNumber() const override { return first; }

 private:
  FramePattern pattern;
  long first = 0;
  std::vector<std::uint8_t> firstPixels;
  std::vector<std::uint8_t> pixels;
};

class RawSource final : public FrameSource {
 public:
  RawSource(int descriptor, int w, int h) : descriptor(descriptor) {
    width = w;
    height = h;
  }
  bool Open(std::string&) override { return true; }

  Result Read(long index, FrameBuffer& frame, std::string& error) override {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    const std::size_t frameBytes = rowBytes * static_cast<std::size_t>(height);
    std::size_t got = 0;
    // Rows arrive top first; GL wants the bottom row first.
    for (int y = 0; y < height; ++y) {
      std::uint8_t* row = frame.bytes.data() + rowBytes * static_cast<std::size_t>(height - 1 - y);
      bool failed = false;
      const std::size_t n = ReadFully(descriptor, row, rowBytes, failed);
      got += n;
      if (failed) {
        error = std::string("cannot read raw input: ") + std::strerror(errno);
        return Result::Failed;
      }
      if (n < rowBytes) break;
    }
    if (got == frameBytes) return Result::Frame;
    if (got == 0) return Result::End;
    error = "raw input has the wrong length: frame " + std::to_string(index) + " ends after " +
            std::to_string(got) + " of " + std::to_string(frameBytes) + " bytes (" +
            SizeText(width, height) + " RGBA8)";
    return Result::Failed;
  }

 private:
  int descriptor;
};

}  // namespace

std::unique_ptr<FrameSource> MakeTestPictureSource(int width, int height) {
  return std::make_unique<TestPictureSource>(width, height);
}
std::unique_ptr<FrameSource> MakeImageFileSource(const std::string& path) {
  return std::make_unique<ImageFileSource>(path);
}
std::unique_ptr<FrameSource> MakeImageSequenceSource(const FramePattern& pattern) {
  return std::make_unique<ImageSequenceSource>(pattern);
}
std::unique_ptr<FrameSource> MakeRawSource(int descriptor, int width, int height) {
  return std::make_unique<RawSource>(descriptor, width, height);
}
