#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "FramePattern.h"
#include "FrameQueue.h"

// Where output frames go. Frames arrive top row first. A sink that fails or
// is abandoned takes back every file it wrote, so a failed run leaves no
// output behind (a stream cannot be taken back).
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // `number` is the frame's number for file patterns.
  virtual bool Write(const FrameBuffer& frame, long number, std::string& error) = 0;
  virtual bool Finish(std::string& error) = 0;
  virtual void Abandon() = 0;
};

// PNG files: one file, or one per frame through a pattern. RGBA8 only.
std::unique_ptr<FrameSink> MakePngSink(const FramePattern& pattern, int width, int height);
// Raw frames: all into one file, or one file per frame through a pattern.
std::unique_ptr<FrameSink> MakeRawFileSink(const FramePattern& pattern);
// Raw frames into a stream the sink does not own.
std::unique_ptr<FrameSink> MakeRawStreamSink(std::FILE* stream);
