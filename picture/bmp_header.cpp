#include "picture/bmp_header.h"

#include <algorithm>
#include <string>

#include "picture/bitmap_file.h"

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kMinInfoHeaderSize = 40;
// The longest header in use has 124 bytes; the limit only bounds what a reader reads in.
constexpr uint32_t kMaxInfoHeaderSize = 4096;
constexpr size_t kFixedPartSize = BmpHeader::kFileHeaderSize + kMinInfoHeaderSize;  // 54

uint16_t U16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t U32(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
         static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

int32_t S32(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<int32_t>(U32(bytes, at));
}

bool KnownBitCount(uint16_t bits) {
  return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

int32_t BmpHeader::Stride() const {
  // Width and bit count are bounded (16384 x 32 bits), so this cannot overflow.
  return (width * bit_count + 31) / 32 * 4;
}

int32_t BmpHeader::RowBytes() const { return (width * bit_count + 7) / 8; }

uint64_t BmpHeader::PixelBytesNeeded() const {
  return static_cast<uint64_t>(Stride()) * static_cast<uint64_t>(rows - 1) +
         static_cast<uint64_t>(RowBytes());
}

uint32_t BmpHeader::FilePaletteEntries() const {
  if (!Paletted()) return 0;
  const uint32_t full = 1u << bit_count;
  uint32_t entries = colours_used >= 1 && colours_used <= full ? colours_used : full;
  // Some writers count no colours but store a shorter table: the pixel data then begins where
  // the table ends, and its bytes are no colours.
  if (pixel_offset >= PaletteOffset()) {
    entries = std::min(entries, (pixel_offset - PaletteOffset()) / 4);
  }
  return entries;
}

BmpHeader ReadBmpHeader(std::span<const uint8_t> file) {
  if (file.size() < BmpHeader::kFileHeaderSize + 4) {
    throw BmpFormatError("BMPのファイルヘッダより短いファイルです", file.size());
  }
  BmpHeader h;
  h.pixel_offset = U32(file, 10);
  h.header_size = U32(file, 14);
  if (h.header_size == kCoreHeaderSize) {
    throw BmpFormatError("OS/2 1.x形式のBMPファイル (12バイトのヘッダ) は扱えません", 14);
  }
  if (h.header_size < kMinInfoHeaderSize || h.header_size > kMaxInfoHeaderSize) {
    throw BmpFormatError("情報ヘッダの大きさ " + std::to_string(h.header_size) + " は扱えません",
                         14);
  }
  if (file.size() < kFixedPartSize || file.size() - BmpHeader::kFileHeaderSize < h.header_size) {
    throw BmpFormatError("情報ヘッダより短いファイルです", file.size());
  }
  const int32_t width = S32(file, 18);
  const int32_t height = S32(file, 22);
  h.bit_count = U16(file, 28);
  h.compression = U32(file, 30);
  h.colours_used = U32(file, 46);
  if (!KnownBitCount(h.bit_count)) {
    throw BmpFormatError("1ピクセル " + std::to_string(h.bit_count) + " ビットの画像は扱えません",
                         28);
  }
  if (width <= 0 || height == 0) {
    throw BmpFormatError("画像の大きさ " + std::to_string(width) + " x " + std::to_string(height) +
                             " にはピクセルがありません",
                         18);
  }
  const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
  if (width > BitmapFile::kMaxSide || rows > BitmapFile::kMaxSide) {
    throw BmpFormatError("画像の大きさ " + std::to_string(width) + " x " + std::to_string(rows) +
                             " が上限の " + std::to_string(BitmapFile::kMaxSide) + " x " +
                             std::to_string(BitmapFile::kMaxSide) + " を超えています",
                         18);
  }
  h.width = width;
  h.rows = static_cast<int32_t>(rows);
  h.bottom_up = height > 0;
  if (!h.Paletted()) {
    return h;  // headers only: the caller rejects it by its bit count
  }
  if (h.compression == BmpHeader::kRle8) {
    if (h.bit_count != 8) {
      throw BmpFormatError(std::to_string(h.bit_count) + "ビットの画像にRLE8圧縮が使われています",
                           30);
    }
    if (!h.bottom_up) {
      throw BmpFormatError("上から下へ並ぶ画像はランレングス圧縮できません", 22);
    }
  } else if (h.compression != BmpHeader::kRgb) {
    throw BmpFormatError(std::to_string(h.bit_count) + "ビットの画像の圧縮形式 " +
                             std::to_string(h.compression) + " は扱えません",
                         30);
  }
  if (h.pixel_offset < h.PaletteOffset()) {
    throw BmpFormatError(
        "ピクセルデータの位置 " + std::to_string(h.pixel_offset) + " がヘッダの中です", 10);
  }
  return h;
}

uint64_t BmpHeadBytes(std::span<const uint8_t> head, uint64_t file_size) {
  if (head.size() < kFixedPartSize) {
    return file_size;  // a file this short fails whatever it holds
  }
  const uint32_t header_size = U32(head, 14);
  if (header_size >= kMinInfoHeaderSize && header_size <= kMaxInfoHeaderSize &&
      head.size() - BmpHeader::kFileHeaderSize < header_size) {
    return std::min<uint64_t>(file_size, uint64_t{BmpHeader::kFileHeaderSize} + header_size);
  }
  BmpHeader h;
  try {
    h = ReadBmpHeader(head);
  } catch (const BmpFormatError&) {
    return head.size();  // the headers alone fail the load
  }
  uint64_t needed = h.PaletteOffset();
  if (h.Paletted()) needed += uint64_t{4} * h.FilePaletteEntries();
  return std::min(needed, file_size);
}

uint64_t MaxRle8Bytes(const BmpHeader& header) {
  const auto rows = static_cast<uint64_t>(header.rows);
  return 4 * static_cast<uint64_t>(header.width) * rows + 2 * rows + 2;
}

void CheckRle8Covers(const BmpHeader& header, uint64_t data_bytes) {
  const uint64_t pixels = static_cast<uint64_t>(header.width) * static_cast<uint64_t>(header.rows);
  if (pixels > kMaxRle8PixelsPerByte * data_bytes) {
    throw BmpFormatError("ランレングスデータ (" + std::to_string(data_bytes) + " バイト) では " +
                         std::to_string(header.width) + " x " + std::to_string(header.rows) +
                         " の画像を埋められません");
  }
}
