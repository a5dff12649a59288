#pragma once

// A progress line on standard error ("frame 120/300, 58.2 fps"), drawn over
// itself, only when standard error is a terminal.
class Progress {
 public:
  explicit Progress(bool enabled, long total);
  ~Progress() { Done(); }
  void Update(long framesDone);
  // Ends the line; safe to call more than once.
  void Done();

 private:
  bool enabled;
  long total;
  double start = 0.0;
  double lastDrawn = -1.0;
  long frames = 0;
  bool drawn = false;
};

bool StderrIsTerminal();
