#pragma once

// The two sources of the colour-wave program, shared read-only by every
// instance. GLSL 1.10 with the compatibility built-ins, hence no #version.
extern const char colourWaveVertexSource[];
extern const char colourWaveFragmentSource[];
