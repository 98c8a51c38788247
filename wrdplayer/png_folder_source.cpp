#include "wrdplayer/png_folder_source.h"

#include <algorithm>
#include <cerrno>

#include "document/names.h"
#include "files/file_errors.h"
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
  const std::string path = folder_ + Cp932ToUtf8(name);
  std::optional<PalettePng> png;
  try {
    png = LoadPalettePng(path);
  } catch (const FileReadError& error) {
    // A missing picture is a show without it, as a player shows it; anything else has a reason.
    if (error.SystemReason() != ENOENT && error.SystemReason() != ENOTDIR)
      Record(path, std::make_shared<FileReadError>(error));
    return std::nullopt;
  } catch (const PngFormatError& error) {
    Record(path, std::make_shared<PngFormatError>(error));
    return std::nullopt;
  }
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

void PngFolderSource::Record(const std::string& path, std::shared_ptr<const VwrdError> error) {
  for (const Failure& failure : failures_) {
    if (failure.path == path) return;
  }
  failures_.push_back({path, std::move(error)});
}
