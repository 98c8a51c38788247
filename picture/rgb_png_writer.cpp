#include "picture/rgb_png_writer.h"

#include <png.h>

#include <stdexcept>

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}
void IgnoreWarning(png_structp, png_const_charp) {}
void FailOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Only plain data lives in this frame, so libpng's longjmp skips no destructor.
bool Encode(png_structp png, png_infop info, int width, int height, const uint8_t* rgb,
            std::string* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendToString, NoFlush);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // Speed over size: a render is looked at, not archived.
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, rgb + size_t(y) * size_t(width) * 3);
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

std::string EncodeRgbPng(int width, int height, const uint8_t* rgb) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, FailOnError, IgnoreWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::string bytes;
  const bool ok = info != nullptr && Encode(png, info, width, height, rgb, &bytes);
  png_destroy_write_struct(&png, &info);
  if (!ok) throw std::runtime_error("PNG encoding failed");
  return bytes;
}
