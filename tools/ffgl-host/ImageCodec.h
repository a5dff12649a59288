#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pictures in files. In memory every input picture is RGBA8 with its bottom
// row first, the order GL textures take; every output picture arrives with
// its top row first, the order files and pipes use.

// Reads any picture stb_image understands (PNG, JPEG, BMP, ...) as RGBA8,
// bottom row first. False with a one-line reason in `error`.
bool DecodeImageFile(const std::string& path, std::vector<std::uint8_t>& pixels, int& width,
                     int& height, std::string& error);

// Encodes top-row-first RGBA8 as PNG into `png`.
bool EncodePng(const std::uint8_t* pixels, int width, int height, std::vector<std::uint8_t>& png);

// Fills `pixels` (width * height * 4 bytes, bottom row first) with the
// built-in test picture: colour bars over a hue sweep over a grey ramp.
void MakeTestPicture(int width, int height, std::uint8_t* pixels);
