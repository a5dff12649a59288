#pragma once

// The one place that knows how plugMain crosses the library boundary.
//
// 32-bit Windows hosts call plugMain with the Windows API convention: the
// callee pops its three 4-byte arguments. The .def file then exports it
// under its undecorated name. Everywhere else the platform's single C
// convention applies, which is what Linux hosts (i386 included) expect.
#if defined(_WIN32) && !defined(_WIN64)
#define FFGL_CALL __stdcall
#else
#define FFGL_CALL
#endif

// On ELF the linker version script decides what is exported; the attribute
// only has to undo -fvisibility=hidden. On Windows the .def file exports.
#if defined(_WIN32)
#define FFGL_EXPORT extern "C"
#else
#define FFGL_EXPORT extern "C" __attribute__((visibility("default")))
#endif
