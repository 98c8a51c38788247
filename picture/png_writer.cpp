#include "picture/png_writer.h"

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "files/file_replacement.h"
#include "picture/bitmap_file.h"

namespace {

// Everything libpng needs, as plain data, so that the frame that sets libpng's recovery point
// holds no object with a destructor (a longjmp out of libpng must not skip one).
struct PngJob {
  std::FILE* file;
  png_uint_32 width;
  png_uint_32 height;
  int bit_depth;
  const png_color* palette;
  int palette_entries;
  const png_byte* rows;  // height rows of row_bytes bytes, top row first
  size_t row_bytes;
};

// Writes the PNG stream to job.file. Returns false when libpng reported an error. Only plain
// data lives in this frame: libpng's default error handler prints the message and longjmps back
// here, across libpng's own C frames only.
bool EncodePng(const PngJob& job) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  png_infop end_info = png_create_info_struct(png);
  if (info == nullptr || end_info == nullptr) {
    png_destroy_info_struct(png, &end_info);
    png_destroy_write_struct(&png, &info);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_info_struct(png, &end_info);
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, job.file);
  png_set_IHDR(png, info, job.width, job.height, job.bit_depth, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_set_PLTE(png, info, job.palette, job.palette_entries);
  png_write_info(png, info);
  for (png_uint_32 y = 0; y < job.height; ++y) {
    png_write_row(png, job.rows + y * job.row_bytes);
  }
  png_write_end(png, end_info);
  png_destroy_info_struct(png, &end_info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

PngWriteResult WritePng(const std::string& path, const BitmapFile& image) {
  static constexpr char kTrueColour[] = "フルカラーBMPは扱えません";
  if (image.BitCount() > 8) {
    std::fputs(kTrueColour, stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
    return PngWriteResult(std::make_shared<VwrdError>(kTrueColour));
  }
  const int32_t width = image.Width();
  const int32_t height = image.Height();
  const int bits = image.BitCount();
  const int colours = image.ColorCount();
  if (bits == 0 || width <= 0 || height <= 0 || colours > 256)
    return PngWriteResult(std::make_shared<VwrdError>("画像が読み込まれていません"));

  // The whole picture top row first, each row without its BMP padding.
  const size_t row_bytes = (static_cast<size_t>(width) * bits + 7) / 8;
  std::vector<png_byte> rows(row_bytes * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(rows.data() + static_cast<size_t>(y) * row_bytes, image.Row(y), row_bytes);
  }
  // libpng keeps a reference to the palette until the image data is written.
  std::vector<png_color> palette(static_cast<size_t>(colours));
  const uint8_t* entry = image.Palette();
  for (png_color& colour : palette) {
    colour = png_color{entry[2], entry[1], entry[0]};
    entry += 4;
  }

  try {
    // Synced: a PNG emptied by a crash would look up to date for ever.
    FileReplacement replacement(path, FileReplacement::Durability::kSynced,
                                FileReplacement::Temporary::kUnnamedWhereOffered,
                                FileReplacement::Links::kWithinFolder);
    const int fd = ::dup(replacement.Descriptor());
    std::FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "wb");
    if (file == nullptr) {
      const int error = errno;
      if (fd >= 0) ::close(fd);
      throw FileWriteError(path + ": 書き込めません (" + ErrnoText(error) + ")", error);
    }
    const PngJob job{file,
                     static_cast<png_uint_32>(width),
                     static_cast<png_uint_32>(height),
                     bits,
                     palette.data(),
                     colours,
                     rows.data(),
                     row_bytes};
    const bool encoded = EncodePng(job);
    const bool flushed = std::fflush(file) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    // Only a complete file replaces the target: a truncated PNG would look up to date.
    if (!encoded) throw FileWriteError(path + ": libpngがエラーを報告しました");
    if (!flushed || !closed)
      throw FileWriteError(path + ": 書き込めません (" + ErrnoText(error) + ")", error);
    replacement.Commit();
    return {};
  } catch (const LinkRefusedError& failure) {
    return PngWriteResult(std::make_shared<LinkRefusedError>(failure));
  } catch (const FileWriteError& failure) {
    return PngWriteResult(std::make_shared<FileWriteError>(failure));
  }
}
