#pragma once

#include <string>

class BitmapFile;

// Writes `image` (a loaded picture of at most 8 bits per pixel) to `path` (a file-system path,
// UTF-8) as a palette PNG file through libpng: bit depth = the picture's bit count, its whole
// palette as PLTE, its rows top row first, no interlace; the file holds only the IHDR, PLTE, IDAT
// and IEND chunks. Returns true when the whole file was written.
//
// The file is written through a FileReplacement and put in place only when libpng finished
// without error and the file was closed cleanly; on any failure an existing file at `path` is
// left as it was, and `why` (when given) receives the reason (Japanese, UTF-8). A picture of more
// than 8 bits prints "フルカラーBMPは扱えません" (UTF-8) and a line end to the standard output and
// returns false without creating a file. libpng reports its own errors and warnings on the standard
// error.
//
// A `path` that is a symbolic link is written through only when its target lies in the path's
// folder (FileReplacement::Links::kWithinFolder); otherwise nothing is written and
// `link_refused` (when given) is set.
bool WritePng(const std::string& path, const BitmapFile& image, std::string* why = nullptr,
              bool* link_refused = nullptr);
