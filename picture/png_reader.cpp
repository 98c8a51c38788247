#include "picture/png_reader.h"

#include <png.h>

#include <cstring>

#include "files/regular_file.h"

namespace {

constexpr size_t kMaxPngFileSize = size_t{64} << 20;

// Why a decode failed, as plain data: it is filled inside libpng's frames.
struct Trouble {
  enum Kind { kNone, kDamaged, kNotPalette, kTooLarge, kNoPalette, kRowSize } kind = kNone;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int colour_type = 0;
};

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
void FailOnError(png_structp png, png_const_charp) {
  static_cast<Trouble*>(png_get_error_ptr(png))->kind = Trouble::kDamaged;
  png_longjmp(png, 1);
}

// Runs libpng. Only plain data lives in this frame (the output buffers are allocated by the
// caller-owned `out` before rows are read and never reallocated after), so libpng's longjmp
// skips no destructor.
bool Decode(png_structp png, png_infop info, MemoryInput* input, PalettePng* out,
            Trouble* trouble) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, input, ReadFromMemory);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
  trouble->width = width;
  trouble->height = height;
  trouble->colour_type = colourType;
  if (colourType != PNG_COLOR_TYPE_PALETTE) {
    trouble->kind = Trouble::kNotPalette;
    return false;
  }
  if (width == 0 || height == 0 || int64_t{width} * height > kMaxPngPixels) {
    trouble->kind = Trouble::kTooLarge;
    return false;
  }
  png_colorp entries = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &entries, &count) == 0) {
    trouble->kind = Trouble::kNoPalette;
    return false;
  }
  if (depth < 8) png_set_packing(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != width) {
    trouble->kind = Trouble::kRowSize;
    return false;
  }
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

PngFormatError ErrorOf(const Trouble& trouble, size_t read) {
  switch (trouble.kind) {
    case Trouble::kNotPalette:
      return PngFormatError("パレット形式の PNG ではありません (カラータイプ " +
                                std::to_string(trouble.colour_type) + ")",
                            25);  // the colour type's byte in IHDR
    case Trouble::kTooLarge:
      return PngFormatError("画像の大きさ " + std::to_string(trouble.width) + " x " +
                                std::to_string(trouble.height) + " は読めません (" +
                                std::to_string(kMaxPngPixels) + " ピクセルまで)",
                            16);  // the width in IHDR
    case Trouble::kNoPalette:
      return PngFormatError("パレット (PLTE) がありません", read);
    case Trouble::kRowSize:
      return PngFormatError("1 ピクセル 1 バイトの行に展開できません", read);
    default:
      return PngFormatError(
          "PNG ファイルが壊れているか、途中で切れています (位置 " + std::to_string(read) + ")",
          read);
  }
}

}  // namespace

PalettePng DecodePalettePng(std::span<const uint8_t> bytes) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) {
    throw PngFormatError("PNG ファイルではありません", 0);
  }
  Trouble trouble;
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, &trouble, FailOnError, IgnoreWarning);
  if (png == nullptr) throw PngFormatError("PNG を読む準備ができません");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    throw PngFormatError("PNG を読む準備ができません");
  }
  png_set_user_limits(png, 65535, 65535);
#ifdef PNG_IGNORE_ADLER32
  // The chunk CRCs already guard the data; the zlib checksum costs a tenth of the decoding.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  MemoryInput input{bytes.data(), bytes.size(), 0};
  PalettePng out;
  const bool ok = Decode(png, info, &input, &out, &trouble);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) throw ErrorOf(trouble, input.at);
  return out;
}

PalettePng LoadPalettePng(const std::string& path) {
  const std::string bytes = ReadRegularFile(path, kMaxPngFileSize);
  return DecodePalettePng({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

std::optional<PalettePng> ReadPalettePng(std::span<const uint8_t> bytes) {
  try {
    return DecodePalettePng(bytes);
  } catch (const PngFormatError&) {
    return std::nullopt;
  }
}

std::optional<PalettePng> ReadPalettePngFile(const std::string& path) {
  try {
    return LoadPalettePng(path);
  } catch (const VwrdError&) {
    return std::nullopt;
  }
}
