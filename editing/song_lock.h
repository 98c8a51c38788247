#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>

// Says that a song is open in a window: a lock file beside the recovery copies, locked while the
// window has the song open, so that another window opening it can say so and leaves the first
// one's recovery copy alone.
//
// The lock is the kernel's (an open file description lock), so it goes with its holder: a window
// that crashed holds nothing, and the next one takes its lock file over. Two windows of one
// process exclude each other as two processes do. The file holds the holder's process id, to
// name it in the message.
class SongLock {
 public:
  enum class Status {
    kHeld,           // this lock holds the song
    kHeldElsewhere,  // another window holds it
    kUnavailable,    // no lock could be taken (Message says why); nothing else is known
  };

  // Tries to take the lock at `lock_file` for the project `project_path` (CP932, as the document
  // names it). Never throws for the file system: a lock that cannot be taken says why.
  SongLock(std::filesystem::path lock_file, std::string project_path);
  // A lock that could not be tried; `why` is Japanese (UTF-8).
  static std::unique_ptr<SongLock> Unavailable(std::string project_path, std::string why);
  // Releases the lock and removes its file.
  ~SongLock();
  SongLock(const SongLock&) = delete;
  SongLock& operator=(const SongLock&) = delete;

  Status State() const { return status_; }
  bool Held() const { return status_ == Status::kHeld; }
  const std::string& ProjectPath() const { return project_path_; }
  // Why the lock is not held (Japanese, UTF-8: the song is open in another window, with its
  // process id when known, or why no lock could be taken); empty when it is held.
  const std::string& Message() const { return message_; }
  // The process holding the song when another one does (0 when unknown).
  pid_t HolderPid() const { return holder_; }

  // Whether some window (of any process, this one's too) holds the lock at `lock_file` now.
  static bool IsHeld(const std::filesystem::path& lock_file);

 private:
  SongLock() = default;
  void Take();

  std::filesystem::path file_;
  std::string project_path_;
  Status status_ = Status::kUnavailable;
  std::string message_;
  pid_t holder_ = 0;
  int fd_ = -1;
};
