#pragma once

#include <cstdio>

// Standard input's file descriptor for raw frames, in binary mode on Windows.
int RawStdin();

// Takes standard output for raw frames and points file descriptor 1 at
// standard error, so that whatever the plug-in prints (shader logs) cannot
// corrupt the frame stream. Also keeps a closed downstream pipe from
// killing the process with SIGPIPE, so the write error is reported instead.
std::FILE* TakeStdoutForFrames();
