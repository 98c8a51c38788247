#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "editing/recovery_copy.h"

// The folder of recovery copies, one file per project, named after the project's file name and
// a hash of its path. Nothing is ever written beside the user's files.
class RecoveryStore {
 public:
  explicit RecoveryStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // $XDG_STATE_HOME/varnel-wrd-maker, or ~/.local/state/varnel-wrd-maker when the variable is
  // unset, empty or not an absolute path (as the XDG base directory rules say).
  static std::filesystem::path DefaultFolder();

  const std::filesystem::path& Folder() const { return folder_; }
  // The file that holds the recovery copy of the project file `project_path` (CP932).
  std::filesystem::path FileFor(const std::string& project_path) const;

  // Writes the copy atomically, making the folder (readable by the user only) when needed.
  // Throws FileWriteError.
  void Write(const RecoveryCopy& copy) const;
  // The recovery copy of the project, or nothing when there is none, it cannot be read, it is
  // damaged or it belongs to another project. Never throws for what the file holds.
  std::optional<RecoveryCopy> Read(const std::string& project_path) const;
  // Whether a file stands where the project's recovery copy would be.
  bool Exists(const std::string& project_path) const;
  // Removes the project's recovery copy, if any. False when it exists and cannot be removed.
  bool Remove(const std::string& project_path) const;

 private:
  std::filesystem::path folder_;
};
