#pragma once

#include <cstdint>

#include "host/HostRecords.h"
#include "platform/Export.h"

// The plug-in's one export. Plug-in-wide calls ignore `instance`; the others
// take a handle that code 18 returned and code 19 has not yet consumed. It
// never throws and never lets an exception through.
FFGL_EXPORT MixedValue FFGL_CALL plugMain(std::uint32_t code, MixedValue input, void* instance);
