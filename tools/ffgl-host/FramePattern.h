#pragma once

#include <string>

// A file name with one printf-style frame number in it ("out%04d.png",
// "f%d.png"); "%%" stands for a literal '%'. A name without one names a
// single file.
class FramePattern {
 public:
  // False with a reason in `error` when the name holds a malformed or a
  // second number field.
  bool Parse(const std::string& name, std::string& error);

  bool IsSequence() const { return hasNumber; }
  // The name of frame `number`; the name itself when it is no sequence.
  std::string Name(long number) const;

 private:
  std::string prefix;
  std::string suffix;
  int width = 0;
  bool hasNumber = false;
};
