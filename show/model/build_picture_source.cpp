#include "show/model/build_picture_source.h"
#include "build/picture_cache.h"

BuildPictureSource::BuildPictureSource(std::vector<std::shared_ptr<const DecodedPicture>> pictures)
    : pictures_(std::move(pictures)) {}

std::optional<IndexedPicture> BuildPictureSource::Load(int page, const std::string& /*name*/) {
  if (page < 0 || static_cast<size_t>(page) >= pictures_.size()) return std::nullopt;
  const DecodedPicture& source = *pictures_[static_cast<size_t>(page)];
  if (!source.Usable) return std::nullopt;
  IndexedPicture picture;
  picture.width = source.Width;
  picture.height = source.Height;
  picture.pixels = source.Pixels;
  // The PNG the build writes carries the BMP's whole palette, blue-green-red turned around.
  for (size_t i = 0; i < picture.palette.size(); ++i) {
    picture.palette[i] = {source.BmpPalette[i * 4 + 2], source.BmpPalette[i * 4 + 1],
                          source.BmpPalette[i * 4]};
  }
  return picture;
}
