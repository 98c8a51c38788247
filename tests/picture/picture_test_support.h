#pragma once

#include "tests/support/temp_folder.h"

// Helpers of the picture tests: building BMP files byte by byte, temporary folders, reading the
// fixtures' source pictures and unpacking pixel indices.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture/bitmap_file.h"

namespace picture_test {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline void Put32(Bytes& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A BMP file to build: the headers' fields, the colour table and the pixel data as stored.
struct BmpLayout {
  uint32_t header_size = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bit_count = 8;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
  Bytes palette = {};  // 4 bytes an entry: blue, green, red, reserved
  Bytes pixels = {};   // the pixel data as the file holds it
  std::optional<uint32_t> pixel_offset = std::nullopt;  // default: right after the colour table
};

inline Bytes MakeBmp(const BmpLayout& layout) {
  const uint32_t offset = layout.pixel_offset.value_or(
      14 + layout.header_size + static_cast<uint32_t>(layout.palette.size()));
  Bytes bytes(14 + layout.header_size, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 10, offset);
  Put32(bytes, 14, layout.header_size);
  Put32(bytes, 18, static_cast<uint32_t>(layout.width));
  Put32(bytes, 22, static_cast<uint32_t>(layout.height));
  Put16(bytes, 26, 1);
  Put16(bytes, 28, layout.bit_count);
  Put32(bytes, 30, layout.compression);
  Put32(bytes, 34, static_cast<uint32_t>(layout.pixels.size()));
  Put32(bytes, 46, layout.colours_used);
  bytes.insert(bytes.end(), layout.palette.begin(), layout.palette.end());
  if (bytes.size() < offset) bytes.resize(offset, 0);
  bytes.resize(offset);
  bytes.insert(bytes.end(), layout.pixels.begin(), layout.pixels.end());
  Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
  return bytes;
}

// A grey ramp of `entries` palette entries: entry i is (i, i, i) plus red i + 1.
inline Bytes RampPalette(int entries) {
  Bytes palette;
  for (int i = 0; i < entries; ++i) {
    const auto v = static_cast<uint8_t>(i);
    palette.insert(palette.end(), {v, v, static_cast<uint8_t>(v + 1), 0});
  }
  return palette;
}

using TempDir = TempFolder;

inline void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string FixturePath(const std::string& name) {
  return std::string(VWRD_TEST_DATA_DIR) + "/picture/" + name;
}

// A binary PPM (P6, maxval 255) as written by the fixtures' make_sources.py.
struct Ppm {
  int width = 0;
  int height = 0;
  Bytes rgb;

  static Ppm Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    Ppm ppm;
    in >> magic >> ppm.width >> ppm.height >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255) throw std::runtime_error("not a P6 file: " + path);
    ppm.rgb.resize(static_cast<size_t>(ppm.width) * ppm.height * 3);
    in.read(reinterpret_cast<char*>(ppm.rgb.data()), static_cast<std::streamsize>(ppm.rgb.size()));
    if (!in) throw std::runtime_error("short PPM file: " + path);
    return ppm;
  }
  // Red, green, blue of pixel (x, y), y = 0 at the top.
  const uint8_t* At(int x, int y) const {
    return rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
  }
};

// The palette index of pixel (x, y) of a loaded picture (1 to 8 bits, leftmost pixel in the
// most significant bits).
inline int IndexAt(const BitmapFile& image, int x, int y) {
  const int bits = image.BitCount();
  const uint8_t byte = image.Row(y)[x * bits / 8];
  const int shift = 8 - bits - (x * bits) % 8;
  return (byte >> shift) & ((1 << bits) - 1);
}

}  // namespace picture_test
