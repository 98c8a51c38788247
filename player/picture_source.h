#pragma once

#include <optional>
#include <string>
#include <vector>

#include "player/screen.h"

// A picture as LoadPicture puts it into a page and a palette: one index per pixel, row-major,
// and the palette (entries the picture file does not give are black).
struct IndexedPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  Palette palette{};
};

// Where LoadPicture finds its pictures.
class PictureSource {
 public:
  virtual ~PictureSource() = default;
  // The picture for LoadPicture(page, ..., name) (name: the CP932 bytes of the record); nullopt
  // when missing or unreadable.
  virtual std::optional<IndexedPicture> Load(int page, const std::string& name) = 0;
};
