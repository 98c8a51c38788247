#include "make/picture_cache.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "files/regular_file.h"
#include "make/free_colour.h"
#include "make/picture_table.h"
#include "picture/bitmap_file.h"
#include "text/cp932.h"

namespace {

DecodedPicture Refused(std::string reason) {
  DecodedPicture picture;
  picture.Reason = std::move(reason);
  return picture;
}

uint64_t PixelBytes(int32_t width, int32_t height) {
  return static_cast<uint64_t>(std::max(width, 0)) * static_cast<uint64_t>(std::max(height, 0));
}

DecodedPicture TooLarge(const std::string& utf8Path, int32_t width, int32_t height,
                        uint64_t budget) {
  DecodedPicture picture = Refused(TooLargeReason(utf8Path, width, height, budget));
  picture.TooLarge = true;
  picture.BitCount = 8;
  picture.Width = width;
  picture.Height = height;
  return picture;
}

}  // namespace

std::string TooLargeReason(const std::string& utf8Path, int32_t width, int32_t height,
                           uint64_t budget) {
  return utf8Path + ": 画像が大きすぎます (" + std::to_string(width) + " x " +
         std::to_string(height) + "、ほかの画像と合わせて表示に使えるメモリ " + SizeText(budget) +
         " を超えます)";
}

DecodedPicture DecodePicture(const std::string& utf8Path, const PictureRoom& room) {
  BitmapFile image;
  const auto refusedForDepth = [&] {
    DecodedPicture refused =
        Refused(image.BitCount() != 8 ? NotEightBitReason(utf8Path, image.BitCount())
                                      : utf8Path + ": 画像が空です");
    refused.BitCount = image.BitCount();
    return refused;
  };
  if (room.Bytes != UINT64_MAX) {
    // The size first: pixels that would not fit are never read.
    if (!image.LoadHeaders(utf8Path)) return Refused(image.ErrorText());
    if (image.BitCount() != 8 || image.Width() <= 0 || image.Height() <= 0) {
      return refusedForDepth();
    }
    if (PixelBytes(image.Width(), image.Height()) > room.Bytes) {
      return TooLarge(utf8Path, image.Width(), image.Height(), room.Budget);
    }
  }
  if (!image.Load(utf8Path)) return Refused(image.ErrorText());
  if (image.BitCount() != 8 || image.Width() <= 0 || image.Height() <= 0) return refusedForDepth();
  DecodedPicture picture;
  picture.BitCount = 8;
  picture.Usable = true;
  picture.Width = image.Width();
  picture.Height = image.Height();
  picture.FreeIndex = FindFreeIndex(image);
  if (image.Palette() != nullptr) {
    std::memcpy(picture.BmpPalette.data(), image.Palette(),
                static_cast<size_t>(std::min(image.ColorCount(), 256)) * 4);
  }
  const auto width = static_cast<size_t>(picture.Width);
  picture.Pixels.resize(width * static_cast<size_t>(picture.Height));
  for (int32_t y = 0; y < picture.Height; ++y) {
    std::memcpy(picture.Pixels.data() + width * static_cast<size_t>(y), image.Row(y), width);
  }
  return picture;
}

std::shared_ptr<const DecodedPicture> PictureCache::Get(const std::string& cp932Path,
                                                        const PictureRoom& room) {
  const std::string path = Cp932ToUtf8(cp932Path);
  // Looked at without opening: a named pipe is judged by the reader, which never waits.
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  const int64_t knownSize = exists ? static_cast<int64_t>(info.st_size) : -1;
  const int64_t modified =
      exists ? int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec : 0;
  Entry& entry = entries_[cp932Path];
  if (entry.picture != nullptr && entry.size == knownSize && entry.modified == modified) {
    const DecodedPicture& known = *entry.picture;
    const bool fits = PixelBytes(known.Width, known.Height) <= room.Bytes;
    if (known.TooLarge ? !fits : (!known.Usable || fits)) return entry.picture;
    if (known.Usable) {
      // It no longer fits: its pixels go, until there is room again.
      entry.picture = std::make_shared<const DecodedPicture>(
          TooLarge(path, known.Width, known.Height, room.Budget));
      return entry.picture;
    }
  }
  ++reads_;
  entry.size = knownSize;
  entry.modified = modified;
  entry.picture = std::make_shared<const DecodedPicture>(DecodePicture(path, room));
  return entry.picture;
}

void PictureCache::Retain(const std::vector<std::string>& cp932Paths) {
  std::erase_if(entries_, [&](const auto& entry) {
    return std::find(cp932Paths.begin(), cp932Paths.end(), entry.first) == cp932Paths.end();
  });
}
