#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "editing/recovery_copy.h"

class SongLock;

// The folder of recovery copies, one file per project, named after the project's file name and
// a hash of its path. Nothing is ever written beside the user's files.
//
// The folder and the copies hold the user's unsaved work: the folder is used only when it is a
// real folder (not a symbolic link) of the user's own, readable by the user only (0700), and the
// copies are never read or written through a link and are readable by the user only (0600).
//
// A song open in a window is locked (SongLock, beside the copies): its copy is that window's,
// live, and is neither offered nor removed by another. The calls without a lock treat a copy
// whose song some window holds as not theirs; the calls with one work on the copy of the song
// that lock holds.
class RecoveryStore {
 public:
  explicit RecoveryStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // $XDG_STATE_HOME/varnel-wrd-maker, or ~/.local/state/varnel-wrd-maker when the variable is
  // unset, empty or not an absolute path (as the XDG base directory rules say).
  static std::filesystem::path DefaultFolder();

  const std::filesystem::path& Folder() const { return folder_; }
  // The file that holds the recovery copy of the project file `project_path` (CP932).
  std::filesystem::path FileFor(const std::string& project_path) const;
  // The lock file of the project (see SongLock).
  std::filesystem::path LockFileFor(const std::string& project_path) const;

  // Takes the lock that says the project's song is open in this window (see SongLock); the
  // window keeps it while the song is open and hands it to the calls below.
  std::unique_ptr<SongLock> Lock(const std::string& project_path) const;

  // Makes the folder (0700) when it is missing. Why copies cannot be kept in it (Japanese,
  // UTF-8, for the status line), or empty when they can.
  std::string PrepareFolder() const;

  // Writes the copy atomically (0600), making the folder when needed. Throws FileWriteError,
  // whose message (Japanese) says why: the folder is unusable (see PrepareFolder), the copy is a
  // link, another window holds the song, the disk is full...
  void Write(const RecoveryCopy& copy) const;
  void Write(const RecoveryCopy& copy, const SongLock& lock) const;
  // The recovery copy of the project, or nothing when there is none, it cannot be read, it is
  // damaged, it belongs to another project, the folder is unusable or another window holds the
  // song. Never throws for what the file holds.
  std::optional<RecoveryCopy> Read(const std::string& project_path) const;
  std::optional<RecoveryCopy> Read(const std::string& project_path, const SongLock& lock) const;
  // Whether a file stands where the project's recovery copy would be.
  bool Exists(const std::string& project_path) const;
  // Removes the project's recovery copy, if any. False when it exists and cannot be removed, or
  // another window holds the song (its copy is live).
  bool Remove(const std::string& project_path) const;
  bool Remove(const std::string& project_path, const SongLock& lock) const;

 private:
  // Whether this call may use the project's copy: `lock` holds its song, or (without one) no
  // window does.
  bool MayUse(const std::string& project_path, const SongLock* lock) const;
  void WriteCopy(const RecoveryCopy& copy) const;
  std::optional<RecoveryCopy> ReadCopy(const std::string& project_path) const;
  bool RemoveCopy(const std::string& project_path) const;

  std::filesystem::path folder_;
};
