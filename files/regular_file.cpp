#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::string KindText(mode_t mode) {
  if (S_ISDIR(mode)) return "フォルダ";
  if (S_ISFIFO(mode)) return "名前付きパイプ";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "デバイス";
  if (S_ISSOCK(mode)) return "ソケット";
  return "特殊ファイル";
}

}  // namespace

RegularFile::RegularFile(const std::string& path, FollowLinks links) : path_(path) {
  if (const size_t nul = path.find('\0'); nul != std::string::npos) {
    // Named up to the NUL: a message is read as a C string, which would end there anyway.
    throw FileReadError(path.substr(0, nul), "名前にNULバイトが含まれています");
  }
  // O_NONBLOCK: opening a named pipe would otherwise wait for a writer for ever.
  const int noFollow = links == FollowLinks::kNo ? O_NOFOLLOW : 0;
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | noFollow);
  if (fd_ < 0) {
    const int error = errno;
    throw FileReadError(path_, "開けません (" + ErrnoText(error) + ")", error);
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    const int error = errno;
    ::close(fd_);
    throw FileReadError(path_, "調べられません (" + ErrnoText(error) + ")", error);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd_);
    // A folder's reason is the one reading it would give.
    throw FileReadError(path_, "通常のファイルではありません (" + KindText(info.st_mode) + ")",
                        S_ISDIR(info.st_mode) ? EISDIR : 0);
  }
  size_ = static_cast<uint64_t>(info.st_size);
}

RegularFile::~RegularFile() { ::close(fd_); }

size_t RegularFile::ReadAt(uint64_t offset, uint8_t* to, size_t size) const {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd_, to + done, size - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      throw FileReadError(path_, "読み取れません (" + ErrnoText(error) + ")", error);
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

std::string ReadRegularFile(const std::string& path, uint64_t limit,
                            RegularFile::FollowLinks links) {
  const RegularFile file(path, links);
  const auto too_large = [&] {
    return FileReadError(path, "ファイルが大きすぎます (" + SizeText(limit) + "まで)");
  };
  if (file.Size() > limit) throw too_large();
  // One byte more than the limit tells a file that grew past it.
  std::string bytes(static_cast<size_t>(file.Size()) + 1, '\0');
  size_t have = 0;
  while (true) {
    have += file.ReadAt(have, reinterpret_cast<uint8_t*>(bytes.data()) + have, bytes.size() - have);
    if (have < bytes.size()) break;
    if (have > limit) throw too_large();
    bytes.resize(std::min<uint64_t>(bytes.size() * 2, limit + 1));
  }
  bytes.resize(have);
  return bytes;
}

bool FileHolds(const std::string& path, std::string_view bytes) {
  try {
    const RegularFile file(path);
    if (file.Size() != bytes.size()) return false;
    std::vector<uint8_t> chunk(std::min<size_t>(bytes.size() + 1, 256 * 1024));
    for (size_t at = 0; at < bytes.size();) {
      const size_t want = std::min(chunk.size(), bytes.size() - at);
      if (file.ReadAt(at, chunk.data(), want) != want ||
          std::memcmp(chunk.data(), bytes.data() + at, want) != 0) {
        return false;
      }
      at += want;
    }
    // A file that grew since it was opened holds more.
    return file.ReadAt(bytes.size(), chunk.data(), 1) == 0;
  } catch (const FileReadError&) {
    return false;
  }
}

std::string SizeText(uint64_t bytes) {
  if (bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " バイト";
}
