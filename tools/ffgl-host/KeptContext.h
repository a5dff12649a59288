#pragma once

#include <memory>
#include <vector>

#include "glcontext/OffscreenContext.h"

// Keeps a GL context alive until the process ends instead of destroying it.
// Destroying the last context unloads the GL driver, and leak checkers can
// then no longer name the driver's own allocations (its shader compiler
// keeps some for the process's lifetime), so suppressions by library name
// would not apply. The context stays reachable through a global.
inline void KeepUntilExit(std::unique_ptr<OffscreenContext> context) {
  static auto* kept = new std::vector<OffscreenContext*>();
  if (!context) return;
  context->ReleaseCurrent();
  kept->push_back(context.release());
}

// Hands `context` to KeepUntilExit when the scope ends, after everything
// declared later (instances, textures, framebuffers) is gone.
struct KeepContextAtScopeEnd {
  std::unique_ptr<OffscreenContext>& context;
  ~KeepContextAtScopeEnd() { KeepUntilExit(std::move(context)); }
};
