#include "make/picture_cache.h"

#include <cstring>
#include <filesystem>

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

}  // namespace

DecodedPicture DecodePicture(const std::string& utf8Path) {
  BitmapFile image;
  if (!image.Load(utf8Path)) return Refused(image.ErrorText());
  if (image.BitCount() != 8 || image.Width() <= 0 || image.Height() <= 0) {
    DecodedPicture refused =
        Refused(image.BitCount() != 8 ? "not a 256-colour BMP (" +
                                            std::to_string(image.BitCount()) + " bits per pixel)"
                                      : "empty picture");
    refused.BitCount = image.BitCount();
    return refused;
  }
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

std::shared_ptr<const DecodedPicture> PictureCache::Get(const std::string& cp932Path) {
  namespace fs = std::filesystem;
  const fs::path path(Cp932ToUtf8(cp932Path));
  std::error_code error;
  const auto size = fs::file_size(path, error);
  const int64_t knownSize = error ? -1 : static_cast<int64_t>(size);
  const auto time = fs::last_write_time(path, error);
  const int64_t modified = error ? 0 : time.time_since_epoch().count();
  Entry& entry = entries_[cp932Path];
  if (entry.picture != nullptr && entry.size == knownSize && entry.modified == modified) {
    return entry.picture;
  }
  ++reads_;
  entry.size = knownSize;
  entry.modified = modified;
  entry.picture = std::make_shared<const DecodedPicture>(
      knownSize < 0 ? Refused("file not found") : DecodePicture(path.string()));
  return entry.picture;
}
