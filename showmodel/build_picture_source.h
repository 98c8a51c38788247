#pragma once

#include <memory>
#include <vector>

#include "make/picture_cache.h"
#include "wrdplayer/picture_source.h"

// The pictures of a build in memory, by page: LoadPicture finds the picture the build was made
// from, not a PNG file. A picture the build refused is missing. The pictures are shared with
// every player that loads them.
class BuildPictureSource : public PictureSource {
 public:
  // Each picture is turned into the player's when it is first loaded.
  explicit BuildPictureSource(std::vector<std::shared_ptr<const DecodedPicture>> pictures);
  // Pictures already turned into the player's (see ToIndexedPicture), by page.
  explicit BuildPictureSource(std::vector<std::shared_ptr<const IndexedPicture>> pictures);
  std::optional<IndexedPicture> Load(int page, const std::string& name) override;
  std::shared_ptr<const IndexedPicture> LoadShared(int page, const std::string& name) override;

 private:
  std::vector<std::shared_ptr<const DecodedPicture>> decoded_;  // by page; empty: all converted
  std::vector<std::shared_ptr<const IndexedPicture>> pictures_;
};

// The picture the player loads for a decoded one; nullptr when the build refuses it.
std::shared_ptr<const IndexedPicture> ToIndexedPicture(const DecodedPicture& source);
