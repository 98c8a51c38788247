#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "errors/error.h"

// One picture read from a Windows BMP file: its palette (blue, green, red, reserved entries) and
// its pixel rows as the file stores them (palette indices, packed with the leftmost pixel in the
// most significant bits at 1, 2 and 4 bits per pixel; every row padded to a multiple of 4 bytes).
//
// Load accepts uncompressed pictures of 1, 2, 4 and 8 bits per pixel, bottom-up or top-down, and
// run-length encoded 8-bit pictures (decoded into plain rows). A picture of 16, 24 or 32 bits
// loads its headers only: BitCount() tells, and the caller rejects it before using Row() or
// Palette(). Everything else, and every file shorter than its headers promise, fails the load.
class BitmapFile {
 public:
  // Largest width and largest height accepted, in pixels.
  static constexpr int32_t kMaxSide = 16384;

  BitmapFile() = default;
  BitmapFile(const BitmapFile&) = delete;
  BitmapFile& operator=(const BitmapFile&) = delete;
  BitmapFile(BitmapFile&&) = default;
  BitmapFile& operator=(BitmapFile&&) = default;

  // Reads the BMP file at `path` (a file-system path, UTF-8). Returns false, and sets
  // ErrorText(), when the file cannot be opened or read, is not a regular file, or holds no
  // picture this reader accepts. After a failed load the image holds no picture (BitCount() 0).
  // Never reads more of the file than the picture needs. Loading again reuses the pixel buffer
  // of the picture before when it is large enough: a caller that loads many pictures keeps one
  // BitmapFile and saves the allocation (and the kernel's fresh pages) for each.
  bool Load(const std::string& path);

  // Reads and judges the headers and colour table as Load does, but no pixel: BitCount(),
  // Width(), Height() and Palette() are set, Row() is null. For a caller that decides from the
  // size whether to load the picture at all.
  bool LoadHeaders(const std::string& path);

  // The stored rows of a picture (Stride() bytes each, in the file's order: the bottom row first
  // in a bottom-up file); returns false to stop reading.
  using RowBlock = std::function<bool(const uint8_t* rows, int32_t count)>;

  // Reads the file as Load does and judges it the same way, but hands the stored rows of an
  // uncompressed picture of up to 8 bits to `rows` a block at a time, through one small buffer,
  // and reads no further once `rows` returns false: for a caller that needs to see the pixels
  // once, perhaps not all of them. Afterwards Row() is null (for a run-length encoded picture,
  // which is decoded whole and handed over in one block, it is set). The rest of the file is
  // not read, so a read error there goes unnoticed; a file too short for its pixels is refused
  // before any row is handed over.
  bool Scan(const std::string& path, const RowBlock& rows);

  // The same as Load for the bytes of a whole BMP file held in memory.
  bool LoadFromMemory(std::span<const uint8_t> file);

  // Why the last Load failed (Japanese, UTF-8); empty after a successful one.
  const std::string& ErrorText() const { return error_; }
  // The error behind ErrorText(); null after a successful load. A FileReadError when the file
  // could not be opened or read (its message names the path; SystemReason() is the errno value
  // behind it: ENOENT for a missing file, EISDIR for a folder; 0 for a named pipe or device),
  // a BmpFormatError when it holds no picture this reader accepts (its message without the
  // path), a VwrdError when memory ran out.
  const VwrdError* Failure() const { return failure_.get(); }

  // Bits per pixel of the info header (1, 2, 4, 8, 16, 24 or 32 after a successful load).
  uint16_t BitCount() const { return bit_count_; }
  // Width and number of rows in pixels, both positive after a successful load (a top-down
  // file's negative height field is reported as its row count).
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Bytes per stored row: ((width x bit count + 31) div 32) x 4.
  int32_t Stride() const { return stride_; }
  // The first byte of row y, 0 = top row, 0 <= y < Height(). Only for up to 8 bits per pixel.
  const uint8_t* Row(int32_t y) const;
  // ColorCount() entries of 4 bytes each: blue, green, red, reserved. Entries the file does not
  // give are black (0, 0, 0, 0). Only for up to 8 bits per pixel (null otherwise).
  const uint8_t* Palette() const { return palette_.empty() ? nullptr : palette_.data(); }
  // 2 to the power of BitCount() (256 at 8 bits); above 8 bits only its size matters, and it is
  // capped at the largest int for 32 bits.
  int ColorCount() const;

 private:
  // Copies `size` bytes at file offset `offset` to `to`; throws BmpFormatError when it cannot.
  using ReadBytes = std::function<void(uint64_t offset, uint8_t* to, size_t size)>;

  // Loads from `head`, the first bytes of a file of `file_size` bytes that hold at least its
  // headers and colour table (BmpHeadBytes), reading the pixel data through `read`.
  // With `rows`, uncompressed pixels are handed over a block at a time (see Scan).
  bool LoadParsed(std::span<const uint8_t> head, uint64_t file_size, const ReadBytes& read,
                  const RowBlock* rows = nullptr);
  bool LoadFile(const std::string& path, const RowBlock* rows);
  // Reads the stored rows through `read` in blocks and hands them to `rows`.
  void ScanRows(uint64_t offset, uint64_t available, int32_t height, size_t stride,
                const ReadBytes& read, const RowBlock& rows);
  // Clears the image and keeps `error` (of its own type) as the failure; returns false.
  template <typename Error>
  bool Fail(const Error& error);
  void Clear();
  // The pixel buffer of `size` bytes for the picture being loaded (contents undefined).
  uint8_t* AllocatePixels(size_t size);

  uint16_t bit_count_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t stride_ = 0;
  bool bottom_up_ = true;
  std::vector<uint8_t> palette_;
  std::unique_ptr<uint8_t[]> pixels_;  // rows in the file's order, Stride() bytes each
  size_t pixels_size_ = 0;
  std::unique_ptr<uint8_t[]> spare_;  // the buffer of the picture before, for the next load
  size_t spare_size_ = 0;
  std::string error_;
  std::unique_ptr<VwrdError> failure_;
  bool headers_only_ = false;  // LoadHeaders: stop before the pixels
};
