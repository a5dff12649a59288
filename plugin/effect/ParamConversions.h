#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// How two stored parameter values become what the clock and the program
// use. Inline so the tests compute exactly what the plug-in computes.

// Radians of wave phase per second: ((Speed * 2 - 1) * 4)^3. The bracket is
// taken in double and narrowed; the cube is single precision in 64-bit
// builds and double precision (then narrowed) in 32-bit builds, so the two
// builds may differ in the factor's last bit.
inline float SpeedFactor(float speed) {
  const auto bracket = static_cast<float>((static_cast<double>(speed) * 2.0 - 1.0) * 4.0);
#if UINTPTR_MAX == 0xFFFFFFFFu
  return static_cast<float>(std::pow(static_cast<double>(bracket), 3.0));
#else
  return std::pow(bracket, 3.0f);
#endif
}

// Process Alpha truncated toward zero, as the program's int `mode`. A value
// the host may send that has no int (NaN, or beyond int's range) saturates
// instead of being undefined behaviour.
inline std::int32_t ModeFromProcessAlpha(float processAlpha) {
  if (std::isnan(processAlpha)) return 0;
  if (processAlpha >= 2147483648.0f) return std::numeric_limits<std::int32_t>::max();
  if (processAlpha <= -2147483648.0f) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(processAlpha);
}

// The part of the texture the image covers, from the unsigned sizes in
// double precision. A texture size of 0 says nothing usable; the whole
// texture is taken rather than dividing by zero.
inline float TextureExtent(std::uint32_t imageSize, std::uint32_t textureSize) {
  if (textureSize == 0) return 1.0f;
  return static_cast<float>(static_cast<double>(imageSize) / static_cast<double>(textureSize));
}
