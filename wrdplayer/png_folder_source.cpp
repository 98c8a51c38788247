#include "wrdplayer/png_folder_source.h"

#include <algorithm>

#include "document/names.h"
#include "picture/png_reader.h"
#include "text/cp932.h"

PngFolderSource::PngFolderSource(std::string folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

std::optional<IndexedPicture> PngFolderSource::Load(int /*page*/, const std::string& name) {
  // A bare file name only: a player looks beside the VNL file and nowhere else. The name is
  // CP932: a byte 0x5C after a lead byte (表, ソ, 能) is part of the character, not a folder
  // separator.
  if (name.empty() || HasFolderPart(name) || name == "." || name == "..") {
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
