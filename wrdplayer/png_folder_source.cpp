#include "wrdplayer/png_folder_source.h"

#include <algorithm>

#include "picture/png_reader.h"
#include "text/cp932.h"

PngFolderSource::PngFolderSource(std::string folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

std::optional<IndexedPicture> PngFolderSource::Load(int /*page*/, const std::string& name) {
  // A bare file name only: a player looks beside the VNL file and nowhere else.
  if (name.empty() || name.find_first_of("/\\:") != std::string::npos || name == "." ||
      name == "..") {
    return std::nullopt;
  }
  std::optional<PalettePng> png = ReadPalettePngFile(folder_ + Cp932ToUtf8(name));
  if (!png) return std::nullopt;
  IndexedPicture picture;
  picture.width = png->width;
  picture.height = png->height;
  picture.pixels = std::move(png->indices);
  const size_t entries = std::min(png->palette.size(), picture.palette.size());
  for (size_t i = 0; i < entries; ++i) {
    picture.palette[i] = {png->palette[i][0], png->palette[i][1], png->palette[i][2]};
  }
  return picture;
}
