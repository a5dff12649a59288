#pragma once

#include <algorithm>
#include <array>
#include <cmath>

// The colour wave computed on the CPU in double precision, step by step as
// the effect defines it, for comparing every pixel the GL renders.
struct WaveParams {
  double speed = 0.5, phase = 0.5, frequence = 0.2, saturation = 0.5, rgbDecal = 0.0,
         amplitude = 0.5, range = 0.5, threshold = 0.0, processAlpha = 0.0;
};

using Rgba = std::array<double, 4>;

inline double Mix(double x, double y, double a) { return x * (1.0 - a) + y * a; }

inline double SmoothStep(double edge0, double edge1, double x) {
  const double u = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return u * u * (3.0 - 2.0 * u);
}

inline Rgba ColourWave(const Rgba& texel, const WaveParams& p, double time, int mode) {
  const double t = p.phase * 3.1415 * 2.0;
  const double fq = p.frequence * 10.0;
  const double sat = p.saturation;
  const double d = p.rgbDecal;
  const double ampli = p.amplitude * 2.0;
  const double range = p.range * 2.0 - 1.0;
  const double thresh = p.threshold;

  const double luminance = 0.2125 * texel[0] + 0.7154 * texel[1] + 0.0721 * texel[2];
  Rgba img = texel;
  for (int c = 0; c < 3; ++c) img[c] = Mix(luminance, texel[c], sat * 2.0);

  const auto sinCol = [&](double x) {
    return std::sin(fq * x * 3.1415 + t + time) * ampli + range;
  };
  const double alpha = mode == 1 ? sinCol(img[3]) : img[3];
  const Rgba c = {sinCol(img[0] - d), sinCol(img[1]), sinCol(img[2] + d), alpha};

  const double v = std::max({img[0], img[1], img[2]});
  const double mask = thresh >= 0.01 ? SmoothStep(thresh - 0.25, thresh + 0.25, v) : 1.0;

  Rgba out{};
  for (int i = 0; i < 4; ++i) {
    const double inner = Mix(texel[i], c[i] * mask, mask);
    out[i] = Mix(inner, c[i] * mask, static_cast<double>(mode));
  }
  return out;
}
