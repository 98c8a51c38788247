#include "editing/song_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "files/file_errors.h"

namespace {

constexpr char kOpenElsewhere[] = "この曲は別のウィンドウで開かれています";

flock WholeFile(short type) {
  flock lock{};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  return lock;  // start 0, length 0: the whole file
}

// The process id the file holds; 0 when it holds none.
pid_t ReadHolder(int fd) {
  char text[32] = {};
  const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
  pid_t pid = 0;
  if (got > 0) std::from_chars(text, text + got, pid);
  return pid > 0 ? pid : 0;
}

}  // namespace

SongLock::SongLock(std::filesystem::path lock_file, std::string project_path)
    : file_(std::move(lock_file)), project_path_(std::move(project_path)) {
  Take();
}

std::unique_ptr<SongLock> SongLock::Unavailable(std::string project_path, std::string why) {
  std::unique_ptr<SongLock> lock(new SongLock());
  lock->project_path_ = std::move(project_path);
  lock->message_ = std::move(why);
  return lock;
}

void SongLock::Take() {
  const auto unavailable = [&](int error) {
    status_ = Status::kUnavailable;
    message_ =
        "この曲を開いていることを記録できません: " + file_.string() + " (" + ErrnoText(error) + ")";
  };
  // A holder that is releasing removes the file while this one may have it open: the lock is
  // good only on the file that still stands at the name.
  for (int attempt = 0; attempt < 20; ++attempt) {
    const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return unavailable(errno);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      ::close(fd);
      return unavailable(EINVAL);
    }
    flock lock = WholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
      const int error = errno;
      if (error != EAGAIN && error != EACCES) {
        ::close(fd);
        return unavailable(error);
      }
      status_ = Status::kHeldElsewhere;
      holder_ = ReadHolder(fd);
      ::close(fd);
      message_ = holder_ != 0
                     ? std::string(kOpenElsewhere) + " (プロセス " + std::to_string(holder_) + ")"
                     : std::string(kOpenElsewhere);
      return;
    }
    struct stat named {};
    if (::lstat(file_.c_str(), &named) != 0 || named.st_ino != opened.st_ino ||
        named.st_dev != opened.st_dev) {
      ::close(fd);
      continue;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    // Without the id the lock still holds; only another window's message would lack it.
    [[maybe_unused]] const bool pidWritten =
        ::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) > 0;
    fd_ = fd;
    status_ = Status::kHeld;
    message_.clear();
    return;
  }
  unavailable(EAGAIN);
}

SongLock::~SongLock() {
  if (fd_ < 0) return;
  // Removed while still locked, so that no one takes a file that is going.
  ::unlink(file_.c_str());
  ::close(fd_);
}

bool SongLock::IsHeld(const std::filesystem::path& lock_file) {
  const int fd = ::open(lock_file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  flock lock = WholeFile(F_WRLCK);
  const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  ::close(fd);
  return held;
}
