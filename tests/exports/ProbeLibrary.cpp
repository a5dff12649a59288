// A deliberately wrong plug-in library: plugMain is exported the compiler's
// default way (decorated on 32-bit Windows) and a second symbol is exported
// next to it. The export check must reject it, which proves the check reads
// the tables it claims to read.
#include <cstdint>

#if defined(_WIN32)
#define PROBE_EXPORT extern "C" __declspec(dllexport)
#else
#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define PROBE_CALL __stdcall
#else
#define PROBE_CALL
#endif

PROBE_EXPORT std::uintptr_t PROBE_CALL plugMain(std::uint32_t, std::uintptr_t, void*) { return 0; }

PROBE_EXPORT int probeExtraExport() { return 1; }
