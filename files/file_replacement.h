#pragma once

#include <sys/types.h>
#include <string>

#include "files/file_errors.h"

// A new version of a file, written beside it and put in its place whole by Commit(), so that
// neither a reader nor a crash ever meets it half-written.
//
// The bytes go to an unnamed file in the target's folder (O_TMPFILE) where the file system offers
// one: a process killed while writing leaves nothing behind. Elsewhere they go to a hidden
// temporary file ".NAME.vwrd-tmp-XXXXXX", locked while in use; every new replacement first removes
// such files of the folder whose writer has gone (their lock is free).
//
// A symbolic link is written through (its target is replaced, the link stays), only within the
// link's folder, or not at all, as the caller asks (Links). A replaced file keeps its mode, and
// its owner and group where the process may set them.
class FileReplacement {
 public:
  // Whether Commit() waits until the bytes are on the disk. Files that can be made again (the
  // build's outputs) may skip it; the user's own data does not.
  enum class Durability { kSynced, kUnsynced };
  // kNamed forces the named temporary file (the path taken where O_TMPFILE is missing).
  enum class Temporary { kUnnamedWhereOffered, kNamed };
  // What a path that is a symbolic link (or a chain of them) gets. kWithinFolder: written
  // through only when the last target lies in the path's folder or below it, so that a folder
  // from someone else's archive cannot aim a write anywhere else; kRefused: never written.
  // Both throw LinkRefusedError otherwise.
  enum class Links { kFollowed, kWithinFolder, kRefused };

  // `path` is a file-system path (UTF-8). Throws FileWriteError when no temporary file can be
  // made or the path names something other than a regular file (a folder, a pipe, a device).
  explicit FileReplacement(const std::string& path, Durability durability = Durability::kSynced,
                           Temporary temporary = Temporary::kUnnamedWhereOffered,
                           Links links = Links::kFollowed);
  // Discards the new version unless it was committed.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Why a replacement of `path` would be refused for where its links lead (Japanese, UTF-8, as
  // LinkRefusedError says it), or empty when it would not: for a caller that decides from the
  // file at `path` whether to write it at all.
  static std::string LinkRefusal(const std::string& path, Links links);

  // Where to write the new version (open for writing; owned by this object).
  int Descriptor() const { return fd_; }
  // The file that Commit() replaces: the path, or where its symbolic links lead.
  const std::string& Target() const { return target_; }

  // Gives the new file `mode` instead of the mode of the file it replaces (or the default).
  void SetMode(mode_t mode) {
    mode_ = mode;
    modeSet_ = true;
  }

  // Puts the written file in place of the target. Throws FileWriteError (the target then stays
  // as it was, and the written file is discarded).
  void Commit();

 private:
  void ResolveTarget(const std::string& path);
  void CheckLinkTarget(const std::string& path, Links links) const;
  [[noreturn]] void Fail(const std::string& what, int error);
  void Discard();

  std::string target_;
  std::string folder_;
  Durability durability_;
  int fd_ = -1;
  std::string temporary_;  // the named temporary file; empty while the file has no name
  bool replaces_ = false;  // whether a file exists at the target
  bool linked_ = false;    // whether the path is a symbolic link
  mode_t mode_ = 0;
  bool modeSet_ = false;  // SetMode was called
  uid_t owner_ = 0;
  gid_t group_ = 0;
};

// Removes the hidden temporary files that a killed writer left in `folder` (see FileReplacement).
void RemoveStaleTemporaries(const std::string& folder);
