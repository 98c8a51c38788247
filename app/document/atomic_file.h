#pragma once

#include <fstream>
#include <stdexcept>
#include <string>

// Thrown when an output file cannot be written; the message (UTF-8) names the path and the
// reason, and Code() is the system's errno value for it (0 when there was none).
class FileWriteError : public std::runtime_error {
 public:
  explicit FileWriteError(const std::string& message, int code = 0)
      : std::runtime_error(message), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

// Writes a file so that a reader never sees it half-written: the bytes go to a temporary file
// beside the target, which Commit() flushes to disk and renames over the target. A file that is
// destroyed without a successful Commit() removes its temporary file and leaves the target as it
// was.
class AtomicFile {
 public:
  // Whether Commit() waits until the bytes are on the disk before the rename. Files that can be
  // made again (the build's outputs) may skip it; the user's own data does not.
  enum class Durability { kSynced, kUnsynced };

  // `path` is a file-system path (UTF-8). Throws FileWriteError when the temporary file cannot
  // be created.
  explicit AtomicFile(const std::string& path, Durability durability = Durability::kSynced);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // The stream to write to (binary: no translation).
  std::ostream& Stream() { return stream_; }

  // Closes, syncs and renames the temporary file over the target. Throws FileWriteError (and
  // removes the temporary file) when any write failed.
  void Commit();

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::string temporary_;
  std::ofstream stream_;
  Durability durability_;
  bool committed_ = false;
};

// Writes `bytes` to `path` through an AtomicFile. Throws FileWriteError.
void WriteFileAtomically(const std::string& path, const std::string& bytes,
                         AtomicFile::Durability durability = AtomicFile::Durability::kSynced);
