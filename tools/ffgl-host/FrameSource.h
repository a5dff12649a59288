#pragma once

#include <memory>
#include <string>
#include <vector>

#include "FramePattern.h"
#include "FrameQueue.h"

// Where input pictures come from. Frames are RGBA8, bottom row first (GL's
// order), Width() x Height(), known once Open has succeeded.
class FrameSource {
 public:
  enum class Result { Frame, End, Failed };

  virtual ~FrameSource() = default;
  virtual bool Open(std::string& error) = 0;
  // Fills `frame.bytes` (already Width() * Height() * 4 long) with frame
  // `index`; frames are read in order from 0.
  virtual Result Read(long index, FrameBuffer& frame, std::string& error) = 0;
  // True when every frame is the same picture: it is read and uploaded once.
  virtual bool IsStill() const { return false; }
  // The number of the first file of a sequence, which output sequences
  // follow; 0 otherwise.
  virtual long FirstNumber() const { return 0; }

  int Width() const { return width; }
  int Height() const { return height; }

 protected:
  int width = 0;
  int height = 0;
};

// The built-in test picture, or one picture file, or a numbered sequence of
// picture files, or raw RGBA8 frames from a stream.
std::unique_ptr<FrameSource> MakeTestPictureSource(int width, int height);
std::unique_ptr<FrameSource> MakeImageFileSource(const std::string& path);
std::unique_ptr<FrameSource> MakeImageSequenceSource(const FramePattern& pattern);
// Reads the file descriptor, which it does not own.
std::unique_ptr<FrameSource> MakeRawSource(int descriptor, int width, int height);
