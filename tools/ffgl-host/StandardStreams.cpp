#include "StandardStreams.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace {
constexpr std::size_t streamBuffer = 1 << 20;
}

int RawStdin() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  return _fileno(stdin);
#else
  return STDIN_FILENO;
#endif
}

std::FILE* TakeStdoutForFrames() {
  std::fflush(stdout);
#if defined(_WIN32)
  const int frames = _dup(_fileno(stdout));
  if (frames < 0) return nullptr;
  _dup2(_fileno(stderr), _fileno(stdout));
  _setmode(frames, _O_BINARY);
  std::FILE* stream = _fdopen(frames, "wb");
#else
  signal(SIGPIPE, SIG_IGN);
  const int frames = dup(STDOUT_FILENO);
  if (frames < 0) return nullptr;
  dup2(STDERR_FILENO, STDOUT_FILENO);
  std::FILE* stream = fdopen(frames, "wb");
#endif
  if (stream != nullptr) std::setvbuf(stream, nullptr, _IOFBF, streamBuffer);
  return stream;
}
