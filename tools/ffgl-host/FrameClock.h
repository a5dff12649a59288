#pragma once

#include <cstdint>

// Seconds from an arbitrary start, from a clock the fixed plug-in time does
// not reach (the monotonic clock is fixed for the whole process while a
// fixed time is set; see hostclock).
double WallSeconds();

// The time the plug-in sees. Fixed (the default): the monotonic clock is
// set to a start time before the instance is created and to exactly
// index / fps seconds after it before frame `index`, so every run gives the
// same frames. Real: the plug-in reads the real clock and frames are paced
// to fps by the wall clock.
class FrameClock {
 public:
  FrameClock(double fps, bool realtime) : fps(fps), realtime(realtime) {}
  ~FrameClock();

  // False where the host cannot fix the plug-in's clock (not Linux).
  static bool CanFix();

  void BeforeSetup();
  void BeforeFrame(long index);

 private:
  double fps;
  bool realtime;
  double start = 0.0;
};
