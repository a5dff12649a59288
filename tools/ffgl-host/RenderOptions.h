#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Command.h"

// Everything `ffgl-host render` was asked to do, checked for form. Whether
// parameters exist and files open is decided later, against the plug-in and
// the file system.
struct RenderOptions {
  std::string plugin;
  std::string input;   // empty: built-in test picture; "-": raw RGBA8 on stdin
  std::string output;  // "-": raw frames on stdout
  std::vector<std::pair<std::string, std::string>> parameters;  // NAME, VALUE as given
  int width = 0;  // 0: from the input, or the test picture's default
  int height = 0;
  long frames = 0;  // 0: one frame, or every frame of a sequence or a pipe
  double fps = 30.0;
  bool realtime = false;
  bool powerOfTwo = false;
  bool floatOutput = false;
  bool quiet = false;
  bool help = false;
};

constexpr int defaultPictureWidth = 640;
constexpr int defaultPictureHeight = 360;
// Keeps width * height * 16 bytes well inside size_t and GL's limits.
constexpr int maxImageSide = 16384;

// False with a one-line reason in `error` for anything malformed.
bool ParseRenderOptions(const CommandArgs& args, RenderOptions& out, std::string& error);

// Strict: the whole text must be a finite number ("1", "-0.5", "1e-3");
// rejects "", "abc", "1.2x", " 1", "nan", "inf".
bool ParseNumber(const std::string& text, double& value);

extern const char renderUsage[];
