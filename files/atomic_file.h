#pragma once

#include <ext/stdio_filebuf.h>

#include <memory>
#include <ostream>
#include <string>

#include "files/file_errors.h"
#include "files/file_replacement.h"

// Writes a file so that a reader never sees it half-written: a stream over a FileReplacement.
// Commit() puts the written file in place of the target; a file destroyed without a successful
// Commit() leaves the target as it was and nothing behind.
class AtomicFile {
 public:
  using Durability = FileReplacement::Durability;
  using Links = FileReplacement::Links;

  // `path` is a file-system path (UTF-8). Throws FileWriteError when the file cannot be made.
  explicit AtomicFile(
      const std::string& path, Durability durability = Durability::kSynced,
      FileReplacement::Temporary temporary = FileReplacement::Temporary::kUnnamedWhereOffered,
      Links links = Links::kFollowed);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Gives the new file `mode` (see FileReplacement::SetMode).
  void SetMode(mode_t mode) { file_.SetMode(mode); }

  // The stream to write to (binary: no translation).
  std::ostream& Stream() { return stream_; }

  // Flushes the stream and closes it, so that every write has been tried: a caller replacing
  // several files together sees each one's failure before it replaces any. Throws
  // FileWriteError when any write failed.
  void Close();
  // Closes (unless done) and replaces the target. Throws FileWriteError when any write failed.
  void Commit();

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  FileReplacement file_;
  std::unique_ptr<__gnu_cxx::stdio_filebuf<char>> buffer_;
  std::ostream stream_{nullptr};
  bool closed_ = false;
  std::string failure_;  // why the writes failed; empty when they did not
};

// Writes `bytes` to `path` through an AtomicFile. Throws FileWriteError.
void WriteFileAtomically(const std::string& path, const std::string& bytes,
                         AtomicFile::Durability durability = AtomicFile::Durability::kSynced,
                         AtomicFile::Links links = AtomicFile::Links::kFollowed);
