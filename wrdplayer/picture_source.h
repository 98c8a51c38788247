#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wrdplayer/page.h"
#include "wrdplayer/screen.h"

// A picture as LoadPicture puts it into a page and a palette: the page (one index per pixel,
// row-major) and the palette (entries the picture file does not give are black).
struct IndexedPicture : Page {
  Palette palette{};
};

// Where LoadPicture finds its pictures.
class PictureSource {
 public:
  virtual ~PictureSource() = default;
  // The picture for LoadPicture(page, ..., name) (name: the CP932 bytes of the record); nullopt
  // when missing or unreadable.
  virtual std::optional<IndexedPicture> Load(int page, const std::string& name) = 0;
  // The same picture, shared instead of copied: a source that keeps its pictures gives every
  // player the one it keeps, and a player copies the page only to draw on it. nullptr when
  // missing or unreadable.
  virtual std::shared_ptr<const IndexedPicture> LoadShared(int page, const std::string& name) {
    std::optional<IndexedPicture> picture = Load(page, name);
    if (!picture) return nullptr;
    return std::make_shared<IndexedPicture>(std::move(*picture));
  }
};
