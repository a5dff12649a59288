#pragma once

#include "host/HostRecords.h"

class CFreeFrameGLPlugin;

// Call code 18: a new instance with every registered default applied and its
// GL set up in the host's current context; ResultFailureAllBits on any
// failure, with nothing left behind.
MixedValue CreateInstance(const ViewportRecord* viewport);

// Call code 19: detach if attached, release GL, delete. Always completes.
void DestroyInstance(CFreeFrameGLPlugin* instance);
