#include "picture/png_reader.h"

#include <png.h>

#include <cstring>

#include "files/regular_file.h"

namespace {

constexpr size_t kMaxPngFileSize = size_t{64} << 20;

struct MemoryInput {
  const uint8_t* data;
  size_t size;
  size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (length > in->size - in->at) png_error(png, "file ends early");
  std::memcpy(out, in->data + in->at, length);
  in->at += length;
}

void IgnoreWarning(png_structp, png_const_charp) {}
void FailOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Runs libpng. Only plain data lives in this frame (the output buffers are allocated by the
// caller-owned `out` before rows are read and never reallocated after), so libpng's longjmp
// skips no destructor.
bool Decode(png_structp png, png_infop info, MemoryInput* input, PalettePng* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, input, ReadFromMemory);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
  if (colourType != PNG_COLOR_TYPE_PALETTE) return false;
  if (width == 0 || height == 0 || int64_t{width} * height > kMaxPngPixels) return false;
  png_colorp entries = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &entries, &count) == 0) return false;
  if (depth < 8) png_set_packing(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != width) return false;
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->palette.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    out->palette[size_t(i)] = {entries[i].red, entries[i].green, entries[i].blue};
  }
  out->indices.resize(size_t{width} * height);
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) {
      png_read_row(png, out->indices.data() + size_t{y} * width, nullptr);
    }
  }
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

std::optional<PalettePng> ReadPalettePng(std::span<const uint8_t> bytes) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return std::nullopt;
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailOnError, IgnoreWarning);
  if (png == nullptr) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return std::nullopt;
  }
  png_set_user_limits(png, 65535, 65535);
#ifdef PNG_IGNORE_ADLER32
  // The chunk CRCs already guard the data; the zlib checksum costs a tenth of the decoding.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  MemoryInput input{bytes.data(), bytes.size(), 0};
  PalettePng out;
  const bool ok = Decode(png, info, &input, &out);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return std::nullopt;
  return out;
}

std::optional<PalettePng> ReadPalettePngFile(const std::string& path) {
  std::string bytes;
  try {
    bytes = ReadRegularFile(path, kMaxPngFileSize);
  } catch (const FileReadError&) {
    return std::nullopt;
  }
  return ReadPalettePng({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}
