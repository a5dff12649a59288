#include "ImageCodec.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "RenderOptions.h"

namespace {

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "cannot read image '" + path + "': " + std::strerror(errno);
    return false;
  }
  bytes.clear();
  std::uint8_t chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    error = "cannot read image '" + path + "': read error";
    return false;
  }
  return true;
}

void AppendToVector(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

bool DecodeImageFile(const std::string& path, std::vector<std::uint8_t>& pixels, int& width,
                     int& height, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) {
    error = "cannot read image '" + path + "': " + (bytes.empty() ? "empty file" : "too large");
    return false;
  }
  int w = 0;
  int h = 0;
  int channels = 0;
  stbi_uc* decoded =
      stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
  if (decoded == nullptr) {
    error = "cannot read image '" + path + "': " + stbi_failure_reason();
    return false;
  }
  if (w < 1 || h < 1 || w > maxImageSide || h > maxImageSide) {
    stbi_image_free(decoded);
    error = "image '" + path + "' is " + std::to_string(w) + "x" + std::to_string(h) +
            ", outside 1 to " + std::to_string(maxImageSide) + " per side";
    return false;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(w) * 4;
  pixels.resize(rowBytes * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    std::memcpy(pixels.data() + rowBytes * static_cast<std::size_t>(h - 1 - y),
                decoded + rowBytes * static_cast<std::size_t>(y), rowBytes);
  }
  stbi_image_free(decoded);
  width = w;
  height = h;
  return true;
}

bool EncodePng(const std::uint8_t* pixels, int width, int height, std::vector<std::uint8_t>& png) {
  png.clear();
  return stbi_write_png_to_func(AppendToVector, &png, width, height, 4, pixels, width * 4) != 0;
}

namespace {

void HueToRgb(double hue, double rgb[3]) {
  // hue in [0, 1): a full-saturation, full-value sweep through the six sectors.
  const double h = hue * 6.0;
  const int sector = static_cast<int>(h) % 6;
  const double f = h - std::floor(h);
  const double table[6][3] = {{1, f, 0},     {1 - f, 1, 0}, {0, 1, f},
                              {0, 1 - f, 1}, {f, 0, 1},     {1, 0, 1 - f}};
  for (int c = 0; c < 3; ++c) rgb[c] = table[sector][c];
}

std::uint8_t ToByte(double value) {
  const double scaled = std::floor(value * 255.0 + 0.5);
  return static_cast<std::uint8_t>(scaled < 0 ? 0 : scaled > 255 ? 255 : scaled);
}

}  // namespace

void MakeTestPicture(int width, int height, std::uint8_t* pixels) {
  // Bars at 75% like broadcast bars, so the wave does not map them all to
  // the same ends of its range.
  static const std::uint8_t bars[8][3] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191},
                                          {0, 191, 0},     {191, 0, 191}, {191, 0, 0},
                                          {0, 0, 191},     {16, 16, 16}};
  const int barsEnd = height * 6 / 10;
  const int hueEnd = height * 8 / 10;
  for (int y = 0; y < height; ++y) {  // y counts from the top
    std::uint8_t* row = pixels + static_cast<std::size_t>(height - 1 - y) * width * 4;
    for (int x = 0; x < width; ++x) {
      std::uint8_t* pixel = row + static_cast<std::size_t>(x) * 4;
      const double across = width > 1 ? static_cast<double>(x) / (width - 1) : 0.0;
      if (y < barsEnd) {
        const int bar = static_cast<int>(static_cast<long>(x) * 8 / width);
        std::memcpy(pixel, bars[bar], 3);
      } else if (y < hueEnd) {
        double rgb[3];
        HueToRgb(static_cast<double>(x) / width, rgb);
        for (int c = 0; c < 3; ++c) pixel[c] = ToByte(rgb[c]);
      } else {
        pixel[0] = pixel[1] = pixel[2] = ToByte(across);
      }
      pixel[3] = 255;
    }
  }
}
