#include "Progress.h"

#include <cstdio>

#include "FrameClock.h"

#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

bool StderrIsTerminal() { return isatty(fileno(stderr)) != 0; }

Progress::Progress(bool enabled, long total)
    : enabled(enabled && StderrIsTerminal()), total(total), start(WallSeconds()) {}

void Progress::Update(long framesDone) {
  frames = framesDone;
  if (!enabled) return;
  const double now = WallSeconds();
  if (lastDrawn >= 0.0 && now - lastDrawn < 0.25) return;
  lastDrawn = now;
  const double elapsed = now - start;
  const double fps = elapsed > 0.0 ? static_cast<double>(frames) / elapsed : 0.0;
  if (total > 0) {
    std::fprintf(stderr, "\rffgl-host render: frame %ld/%ld, %.1f fps ", frames, total, fps);
  } else {
    std::fprintf(stderr, "\rffgl-host render: frame %ld, %.1f fps ", frames, fps);
  }
  drawn = true;
}

void Progress::Done() {
  if (!drawn) return;
  lastDrawn = -1.0;
  Update(frames);
  std::fputc('\n', stderr);
  drawn = false;
}
