#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One BMP file as the build reads it, decoded once: what the collection needs (size, free
// index, palette) and the indices the player draws.
struct DecodedPicture {
  // False when the build refuses the file (unreadable, not 8 bits per pixel, empty, too large
  // for the memory left); Reason then says why (Japanese, UTF-8, the path first, as the build's
  // log says it) and the rest is empty.
  bool Usable = false;
  std::string Reason;
  // Refused only for the memory left (see PictureRoom): Width and Height are set, and the
  // picture may be loaded when there is more room.
  bool TooLarge = false;
  int BitCount = 0;  // bits per pixel; 0 when the file is no BMP this reader accepts
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t FreeIndex = -1;                     // highest palette index no pixel uses, or -1
  std::array<uint8_t, 256 * 4> BmpPalette{};  // blue, green, red, reserved
  std::vector<uint8_t> Pixels;                // Width x Height indices, top row first
};

// The memory a picture's pixels (one byte each) may take, out of a budget: a picture beyond it
// is refused before its pixels are read.
struct PictureRoom {
  uint64_t Bytes = UINT64_MAX;  // what is left
  uint64_t Budget = 0;          // the whole, for the reason
};

// Decoded pictures by file, shared by whoever builds from the same pictures: a file is read
// again only when its size or modification time has changed since it was read (or it has
// gone). Not thread-safe: one owner at a time.
class PictureCache {
 public:
  // The picture at a CP932 path as the build resolves it. Never null; a missing file is an
  // unusable picture, and so is one whose pixels take more than `room` (it is then not kept).
  std::shared_ptr<const DecodedPicture> Get(const std::string& cp932Path,
                                            const PictureRoom& room = {});
  // Forgets every picture but those at `cp932Paths`, so that what a show no longer uses does
  // not stay in memory.
  void Retain(const std::vector<std::string>& cp932Paths);

  // How many times a file was read (decoded or refused) since construction.
  int Reads() const { return reads_; }
  // Forgets every picture.
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    int64_t size = -1;
    int64_t modified = 0;  // nanoseconds of the file clock
    std::shared_ptr<const DecodedPicture> picture;
  };
  std::unordered_map<std::string, Entry> entries_;
  int reads_ = 0;
};

// Reads a BMP file (UTF-8 path) the way the build does; a picture whose pixels would take more
// than `room` is refused (TooLarge) before they are read.
DecodedPicture DecodePicture(const std::string& utf8Path, const PictureRoom& room = {});

// Why a picture of width x height is refused for the memory (Japanese, UTF-8).
std::string TooLargeReason(const std::string& utf8Path, int32_t width, int32_t height,
                           uint64_t budget);
