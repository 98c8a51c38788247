#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>

#include "errors/error.h"

// Why a BMP file cannot be read (Japanese, UTF-8); Offset() is the byte of the file where that
// was found (the field judged, or where the file ends too early), where known.
class BmpFormatError : public VwrdError {
 public:
  explicit BmpFormatError(const std::string& message, uint64_t offset = kNoOffset)
      : VwrdError(message) {
    WithOffset(offset);
  }
};

// The fields of a BMP file's two headers that the reader uses, already checked.
struct BmpHeader {
  static constexpr uint32_t kFileHeaderSize = 14;
  static constexpr uint32_t kRgb = 0;   // uncompressed
  static constexpr uint32_t kRle8 = 1;  // run-length encoded, 8 bits per pixel

  uint32_t pixel_offset = 0;  // from the start of the file
  uint32_t header_size = 0;   // of the info header: 40, 52, 56, 64, 108, 124...
  int32_t width = 0;          // positive
  int32_t rows = 0;           // positive: the number of rows
  bool bottom_up = true;      // false when the height field was negative
  uint16_t bit_count = 0;
  uint32_t compression = 0;
  uint32_t colours_used = 0;

  // Whether the picture has a palette (up to 8 bits per pixel) and so pixels this reader loads.
  bool Paletted() const { return bit_count <= 8; }
  // ((width x bit count + 31) div 32) x 4.
  int32_t Stride() const;
  // Bytes of a row that hold pixels: (width x bit count + 7) div 8.
  int32_t RowBytes() const;
  // Bytes of uncompressed pixel data the picture needs: all rows, the last without its padding.
  uint64_t PixelBytesNeeded() const;
  // File offset of the colour table: directly after the info header.
  uint32_t PaletteOffset() const { return kFileHeaderSize + header_size; }
  // Number of colour table entries the file holds: the colours-used count when it is between
  // 1 and 2^bits, else 2^bits, but never reaching into the pixel data.
  uint32_t FilePaletteEntries() const;
};

// Reads and checks the headers at the start of `file`. Throws BmpFormatError when the file is
// too short for them or they describe no picture this reader accepts.
BmpHeader ReadBmpHeader(std::span<const uint8_t> file);

// How many bytes from the start of a file of `file_size` bytes its headers and colour table
// take, judged from `head`, the file's first bytes (at least the first 54, or the whole file when
// it is shorter). A reader that has fewer asks again with that many; one that has that many (or
// the whole file) holds everything ReadBmpHeader and the colour table need.
uint64_t BmpHeadBytes(std::span<const uint8_t> head, uint64_t file_size);

// The most bytes of run-length data that a valid stream for `header` can take: a delta of one
// pixel (4 bytes) for every pixel, an end of line for every row and the end mark. Data beyond
// this is never read.
uint64_t MaxRle8Bytes(const BmpHeader& header);

// The most pixels one byte of RLE8 data can paint: a run of 255 pixels takes two bytes.
inline constexpr uint64_t kMaxRle8PixelsPerByte = 128;

// Throws BmpFormatError when `data_bytes` of run-length data cannot paint the picture `header`
// claims even as runs of 255 pixels: such a file is mostly skipped pixels, and would make the
// reader allocate a buffer out of all proportion to the file.
void CheckRle8Covers(const BmpHeader& header, uint64_t data_bytes);
