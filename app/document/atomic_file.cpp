#include "app/document/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string Reason(int error) { return std::strerror(error); }

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Makes the file's contents durable before it replaces the target.
bool SyncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& path, Durability durability)
    : path_(path), durability_(durability) {
  const size_t slash = path.rfind('/');
  std::string pattern = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                        "." + path.substr(slash == std::string::npos ? 0 : slash + 1) +
                        ".tmpXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    const int error = errno;
    throw FileWriteError(
        path + ": cannot create a temporary file in " + DirectoryOf(path) + ": " + Reason(error),
        error);
  }
  // mkstemp makes the file private; the result should have the old file's mode, or the usual one.
  struct stat old {};
  ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  ::close(fd);
  temporary_ = name.data();
  stream_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!stream_) {
    const int error = errno;
    std::remove(temporary_.c_str());
    throw FileWriteError(path + ": cannot open a temporary file: " + Reason(error), error);
  }
}

AtomicFile::~AtomicFile() {
  if (!committed_) {
    stream_.close();
    std::remove(temporary_.c_str());
  }
}

void AtomicFile::Commit() {
  stream_.flush();
  const bool written = static_cast<bool>(stream_);
  const int writeError = errno;
  stream_.close();
  if (!written || stream_.fail()) {
    std::remove(temporary_.c_str());
    committed_ = true;
    const int error = writeError != 0 ? writeError : EIO;
    throw FileWriteError(path_ + ": cannot write: " + Reason(error), error);
  }
  if (durability_ == Durability::kSynced && !SyncFile(temporary_)) {
    const int error = errno;
    std::remove(temporary_.c_str());
    committed_ = true;
    throw FileWriteError(path_ + ": cannot write: " + Reason(error), error);
  }
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    std::remove(temporary_.c_str());
    committed_ = true;
    throw FileWriteError(path_ + ": cannot replace the file: " + Reason(error), error);
  }
  committed_ = true;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes,
                         AtomicFile::Durability durability) {
  AtomicFile file(path, durability);
  file.Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.Commit();
}
