#include "showmodel/build_picture_source.h"

std::shared_ptr<const IndexedPicture> ToIndexedPicture(const DecodedPicture& source) {
  if (!source.Usable) return nullptr;
  auto picture = std::make_shared<IndexedPicture>();
  picture->width = source.Width;
  picture->height = source.Height;
  picture->pixels = source.Pixels;
  // The PNG the build writes carries the BMP's whole palette, blue-green-red turned around.
  for (size_t i = 0; i < picture->palette.size(); ++i) {
    picture->palette[i] = {source.BmpPalette[i * 4 + 2], source.BmpPalette[i * 4 + 1],
                           source.BmpPalette[i * 4]};
  }
  return picture;
}

BuildPictureSource::BuildPictureSource(std::vector<std::shared_ptr<const DecodedPicture>> pictures)
    : decoded_(std::move(pictures)), pictures_(decoded_.size()) {}

BuildPictureSource::BuildPictureSource(std::vector<std::shared_ptr<const IndexedPicture>> pictures)
    : pictures_(std::move(pictures)) {}

std::shared_ptr<const IndexedPicture> BuildPictureSource::LoadShared(int page,
                                                                     const std::string& /*name*/) {
  if (page < 0 || static_cast<size_t>(page) >= pictures_.size()) return nullptr;
  const auto at = static_cast<size_t>(page);
  if (pictures_[at] == nullptr && at < decoded_.size())
    pictures_[at] = ToIndexedPicture(*decoded_[at]);
  return pictures_[at];
}

std::optional<IndexedPicture> BuildPictureSource::Load(int page, const std::string& name) {
  std::shared_ptr<const IndexedPicture> picture = LoadShared(page, name);
  if (picture == nullptr) return std::nullopt;
  return *picture;
}
