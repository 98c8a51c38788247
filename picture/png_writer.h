#pragma once

#include <memory>
#include <string>

#include "errors/error.h"

class BitmapFile;

// What WritePng did: true when the whole file was written; otherwise Failure() says why.
class PngWriteResult {
 public:
  PngWriteResult() = default;  // written
  explicit PngWriteResult(std::shared_ptr<const VwrdError> failure)
      : failure_(std::move(failure)) {}

  explicit operator bool() const { return failure_ == nullptr; }
  bool Written() const { return failure_ == nullptr; }
  // Null when written. A FileWriteError when the file could not be written (a LinkRefusedError
  // when the path is a link that may not be written through); a VwrdError when the picture
  // cannot be written as a palette PNG at all.
  const VwrdError* Failure() const { return failure_.get(); }

 private:
  std::shared_ptr<const VwrdError> failure_;
};

// Writes `image` (a loaded picture of at most 8 bits per pixel) to `path` (a file-system path,
// UTF-8) as a palette PNG file through libpng: bit depth = the picture's bit count, its whole
// palette as PLTE, its rows top row first, no interlace; the file holds only the IHDR, PLTE, IDAT
// and IEND chunks. The result is true when the whole file was written.
//
// The file is written through a FileReplacement and put in place only when libpng finished
// without error and the file was closed cleanly; on any failure an existing file at `path` is
// left as it was, and the result carries the reason. A picture of more than 8 bits prints
// "フルカラーBMPは扱えません" (UTF-8) and a line end to the standard output and fails without
// creating a file. libpng reports its own errors and warnings on the standard error.
//
// A `path` that is a symbolic link is written through only when its target lies in the path's
// folder (FileReplacement::Links::kWithinFolder); otherwise nothing is written and the failure
// is a LinkRefusedError.
PngWriteResult WritePng(const std::string& path, const BitmapFile& image);
