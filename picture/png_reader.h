#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "errors/error.h"

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

// Why a PNG file is no palette PNG this reader takes (Japanese, UTF-8, without the path);
// Offset() is the byte of the file where that was found, where known.
class PngFormatError : public VwrdError {
 public:
  explicit PngFormatError(const std::string& message, uint64_t offset = kNoOffset)
      : VwrdError(message) {
    WithOffset(offset);
  }
};

// Reads a palette PNG (colour type 3, any bit depth, interlaced or not) from memory through
// libpng. Throws PngFormatError for any other kind of PNG, a damaged file, or one larger than
// kMaxPngPixels.
PalettePng DecodePalettePng(std::span<const uint8_t> bytes);
// The same for the file at `path` (a file-system path), read through the regular-file reader:
// throws FileReadError when it cannot be read or is no regular file (a named pipe or a device
// is refused without waiting or reading).
PalettePng LoadPalettePng(const std::string& path);

// As DecodePalettePng and LoadPalettePng, for callers that need no reason: nullopt where those
// throw; never throws for bad input.
std::optional<PalettePng> ReadPalettePng(std::span<const uint8_t> bytes);
std::optional<PalettePng> ReadPalettePngFile(const std::string& path);
