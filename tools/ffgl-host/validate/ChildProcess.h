#pragma once

#include <functional>
#include <string>

// Runs one piece of work in a process of its own, so that a crash or a hang
// in a plug-in ends only that process. On Linux the child is a fork of the
// validator; a Windows version would start ffgl-host again with a hidden
// "--run-one TEST" mode through CreateProcess.
struct ChildOutcome {
  enum class Kind { Exited, Crashed, TimedOut, Unavailable };
  Kind kind = Kind::Unavailable;
  int exitCode = 0;    // Exited
  std::string detail;  // Crashed: the signal; Unavailable: why
  std::string output;  // what the work answered, if it got that far
};

// `work` runs in the child and answers the text handed back as `output`.
// The child ends through exit(), so the plug-in's and the runtime's
// at-exit work (static destructors, leak checkers) runs there too.
ChildOutcome RunInChildProcess(const std::function<std::string()>& work, double timeoutSeconds);
