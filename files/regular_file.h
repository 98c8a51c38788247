#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/file_errors.h"

// A regular file open for reading. Opening never waits: a named pipe or a device (which would
// block in open, or never end) is refused before a byte is read, and so is a folder.
class RegularFile {
 public:
  // Whether a path that is a symbolic link is opened where it leads (kNo: refused, for files
  // the program keeps for itself, which no one else should redirect).
  enum class FollowLinks { kYes, kNo };

  // Opens `path` (a file-system path, UTF-8). Throws FileReadError when it cannot be opened or
  // is not a regular file.
  explicit RegularFile(const std::string& path, FollowLinks links = FollowLinks::kYes);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  int Descriptor() const { return fd_; }
  // The size when it was opened.
  uint64_t Size() const { return size_; }
  // Reads up to `size` bytes at `offset`; returns how many it got (fewer only at the end of the
  // file). Throws FileReadError on a read error.
  size_t ReadAt(uint64_t offset, uint8_t* to, size_t size) const;

 private:
  std::string path_;
  int fd_ = -1;
  uint64_t size_ = 0;
};

// Reads the whole regular file at `path`, refusing one larger than `limit` bytes (checked before
// reading, and again while reading, since the file may grow). Throws FileReadError.
std::string ReadRegularFile(const std::string& path, uint64_t limit,
                            RegularFile::FollowLinks links = RegularFile::FollowLinks::kYes);

// Whether the regular file at `path` holds exactly `bytes`; false when it differs, is missing
// or cannot be read.
bool FileHolds(const std::string& path, std::string_view bytes);

// The text of a refused size, as "64 MiB" or "1000 バイト".
std::string SizeText(uint64_t bytes);
