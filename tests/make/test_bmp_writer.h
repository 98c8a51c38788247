#pragma once

// Small BMP files for the build tests, written on the fly: 8-bit palette pictures and a 24-bit
// one (which the build rejects).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace test_bmp {

inline void PutU16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

inline void PutU32(std::string& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

// Palette entry i of the default palette: a grey ramp (blue = green = red = i).
inline uint32_t GreyEntry(int i) { return static_cast<uint32_t>(i) * 0x010101u; }

// The bytes of a bottom-up 8-bit BMP. pixel(x, y) gives the index at column x of row y (0 = top);
// palette(i) gives entry i as 0x00RRGGBB.
inline std::string Bmp8(int width, int height, const std::function<uint8_t(int, int)>& pixel,
                        const std::function<uint32_t(int)>& palette = GreyEntry) {
  const int stride = (width + 3) / 4 * 4;
  const uint32_t dataOffset = 14 + 40 + 256 * 4;
  std::string out = "BM";
  PutU32(out, dataOffset + static_cast<uint32_t>(stride * height));
  PutU32(out, 0);
  PutU32(out, dataOffset);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, 8);
  PutU32(out, 0);
  PutU32(out, static_cast<uint32_t>(stride * height));
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, 256);
  PutU32(out, 0);
  for (int i = 0; i < 256; ++i) PutU32(out, palette(i));
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < stride; ++x) out += static_cast<char>(x < width ? pixel(x, y) : 0xEE);
  }
  return out;
}

// A 24-bit BMP of one colour.
inline std::string Bmp24(int width, int height) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string out = "BM";
  PutU32(out, 54 + static_cast<uint32_t>(stride * height));
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(width));
  PutU32(out, static_cast<uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);
  PutU32(out, static_cast<uint32_t>(stride * height));
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  out += std::string(static_cast<size_t>(stride * height), '\x40');
  return out;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A picture of one palette index.
inline void WritePlainBmp(const std::filesystem::path& path, int width, int height,
                          uint8_t index = 0) {
  WriteFile(path, Bmp8(width, height, [index](int, int) { return index; }));
}

}  // namespace test_bmp
