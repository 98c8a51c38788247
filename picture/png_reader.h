#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A palette PNG as read back: one palette index per pixel (row-major, top row first) and the
// PLTE entries (red, green, blue) in file order.
struct PalettePng {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;
  std::vector<std::array<uint8_t, 3>> palette;
};

// Pictures larger than this many pixels are not read (a guard against hostile headers).
constexpr int64_t kMaxPngPixels = int64_t{16} << 20;

// Reads a palette PNG (colour type 3, any bit depth, interlaced or not) from memory through
// libpng. Returns nullopt for any other kind of PNG, a damaged file, or one larger than
// kMaxPngPixels; never throws for bad input.
std::optional<PalettePng> ReadPalettePng(std::span<const uint8_t> bytes);
// The same for the file at `path` (a file-system path); nullopt also when it cannot be read or
// is no regular file (a named pipe or a device is refused without waiting or reading).
std::optional<PalettePng> ReadPalettePngFile(const std::string& path);
