#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "validate/ChildProcess.h"

namespace {

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

std::string SignalName(int number) {
  const char* description = strsignal(number);
  return "signal " + std::to_string(number) + " (" +
         (description != nullptr ? description : "unknown") + ")";
}

}  // namespace

ChildOutcome RunInChildProcess(const std::function<std::string()>& work, double timeoutSeconds) {
  ChildOutcome outcome;
  int channel[2];
  if (pipe(channel) != 0) {
    outcome.detail = std::string("pipe: ") + std::strerror(errno);
    return outcome;
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    outcome.detail = std::string("fork: ") + std::strerror(errno);
    close(channel[0]);
    close(channel[1]);
    return outcome;
  }
  if (child == 0) {
    close(channel[0]);
    // Its own process group, so that a hang can be ended together with
    // anything the plug-in started.
    setpgid(0, 0);
    std::string answer;
    try {
      answer = work();
    } catch (...) {
      answer = "failed\tthe validator itself threw while running the test";
    }
    WriteAll(channel[1], answer);
    close(channel[1]);
    std::fflush(nullptr);
    std::exit(0);
  }
  close(channel[1]);
  setpgid(child, child);

  const double deadline = Now() + timeoutSeconds;
  bool timedOut = false;
  for (;;) {
    const double left = deadline - Now();
    if (left <= 0) {
      timedOut = true;
      break;
    }
    pollfd readable{channel[0], POLLIN, 0};
    const int ready = poll(&readable, 1, static_cast<int>(left * 1000) + 1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buffer[4096];
    const ssize_t got = read(channel[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the child closed its end: it is finishing
    outcome.output.append(buffer, static_cast<std::size_t>(got));
  }
  int status = 0;
  if (!timedOut) {
    // The answer is in; what remains is the child's exit. Give it the rest
    // of the time (at least a few seconds: exit handlers and leak checkers
    // run now).
    const double exitDeadline = std::max(deadline, Now() + 5.0);
    for (;;) {
      const pid_t done = waitpid(child, &status, WNOHANG);
      if (done == child) break;
      if (Now() > exitDeadline) {
        timedOut = true;
        break;
      }
      usleep(5000);
    }
  }
  close(channel[0]);
  if (timedOut) {
    kill(-child, SIGKILL);
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    outcome.kind = ChildOutcome::Kind::TimedOut;
    return outcome;
  }
  if (WIFSIGNALED(status)) {
    outcome.kind = ChildOutcome::Kind::Crashed;
    outcome.detail = SignalName(WTERMSIG(status));
  } else {
    outcome.kind = ChildOutcome::Kind::Exited;
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return outcome;
}
