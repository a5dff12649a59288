#pragma once

namespace platform {

// Resolves one GL entry point in the context current on this thread, through
// the platform's own lookup; null when the platform offers none.
using GLProc = void (*)();
GLProc LookupGLProc(const char* name);

}  // namespace platform
