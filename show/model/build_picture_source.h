#pragma once

#include <memory>
#include <vector>

#include "build/picture_cache.h"
#include "player/picture_source.h"

// The pictures of a build in memory, by page: LoadPicture finds the picture the build was made
// from, not a PNG file. A picture the build refused is missing.
class BuildPictureSource : public PictureSource {
 public:
  explicit BuildPictureSource(std::vector<std::shared_ptr<const DecodedPicture>> pictures);
  std::optional<IndexedPicture> Load(int page, const std::string& name) override;

 private:
  std::vector<std::shared_ptr<const DecodedPicture>> pictures_;
};
