#pragma once

// Reads a PNG file back for the writer's tests: its chunk names in file order, and through
// libpng its header, palette and rows (packed as stored, no transformations).

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "picture_test_support.h"

namespace picture_test {

struct PngContents {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bit_depth = 0;
  int color_type = -1;
  int interlace = -1;
  int compression = -1;
  int filter = -1;
  std::vector<png_color> palette;
  std::vector<Bytes> rows;
};

// The chunk names of a PNG file in order; empty when the signature is wrong.
inline std::vector<std::string> ChunkNames(const Bytes& file) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::string> names;
  if (file.size() < 8 || !std::equal(kSignature, kSignature + 8, file.begin())) return names;
  size_t at = 8;
  while (file.size() - at >= 12) {
    const uint32_t length = uint32_t{file[at]} << 24 | uint32_t{file[at + 1]} << 16 |
                            uint32_t{file[at + 2]} << 8 | file[at + 3];
    names.emplace_back(file.begin() + at + 4, file.begin() + at + 8);
    at += 12 + length;
    if (at > file.size()) {
      names.emplace_back("<cut>");
      break;
    }
  }
  if (at != file.size()) names.emplace_back("<trailing bytes>");
  return names;
}

// Reads `path` into `out`; false on any libpng error. Only plain data lives in this frame, so
// libpng's longjmp skips no destructor.
inline bool ReadPng(const std::string& path, PngContents& out) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  png_get_IHDR(png, info, &out.width, &out.height, &out.bit_depth, &out.color_type, &out.interlace,
               &out.compression, &out.filter);
  png_colorp palette = nullptr;
  int entries = 0;
  if (png_get_PLTE(png, info, &palette, &entries) != 0)
    out.palette.assign(palette, palette + entries);
  const size_t row_bytes = png_get_rowbytes(png, info);
  out.rows.assign(out.height, Bytes(row_bytes));
  for (png_uint_32 y = 0; y < out.height; ++y) png_read_row(png, out.rows[y].data(), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return true;
}

}  // namespace picture_test
