#pragma once

#include <string>

#include "wrdplayer/picture_source.h"

// Pictures read from palette PNG files in one folder, as a player finds them beside a VNL file.
// The name is the file name as the VNL file holds it (CP932 bytes); names with a folder part
// (as the file-name rules of the document find it) are not looked up, so a file cannot reach
// outside its folder. Files are read through the regular-file reader: a named pipe is refused.
class PngFolderSource : public PictureSource {
 public:
  explicit PngFolderSource(std::string folder);
  std::optional<IndexedPicture> Load(int page, const std::string& name) override;

 private:
  std::string folder_;
};
