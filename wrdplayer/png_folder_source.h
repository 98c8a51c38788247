#pragma once

#include <memory>
#include <string>
#include <vector>

#include "errors/error.h"
#include "wrdplayer/picture_source.h"

// Pictures read from palette PNG files in one folder, as a player finds them beside a VNL file.
// The name is the file name as the VNL file holds it (CP932 bytes); names with a folder part
// (as the file-name rules of the document find it) are not looked up, so a file cannot reach
// outside its folder. Files are read through the regular-file reader: a named pipe is refused.
class PngFolderSource : public PictureSource {
 public:
  // A picture file that was there to read but could not be read, once per file.
  struct Failure {
    std::string path;                        // the file-system path (UTF-8)
    std::shared_ptr<const VwrdError> error;  // a FileReadError or a PngFormatError
  };

  explicit PngFolderSource(std::string folder);
  std::optional<IndexedPicture> Load(int page, const std::string& name) override;
  // Every picture that failed so far, in the order first asked for; a missing file is none.
  const std::vector<Failure>& Failures() const { return failures_; }

 private:
  void Record(const std::string& path, std::shared_ptr<const VwrdError> error);

  std::string folder_;
  std::vector<Failure> failures_;
};
