#include "files/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>

namespace {

constexpr char kMarker[] = ".vwrd-tmp-";
constexpr size_t kMarkerLength = sizeof kMarker - 1;
constexpr size_t kRandomLength = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".NAME.vwrd-tmp-XXXXXX" with six random letters or digits.
std::string TemporaryName(const std::string& target) {
  thread_local std::mt19937 random{std::random_device{}()};
  std::string name = "." + NameOf(target) + kMarker;
  for (size_t i = 0; i < kRandomLength; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return FolderOf(target) + "/" + name;
}

bool IsTemporaryName(const std::string& name) {
  const size_t tail = kMarkerLength + kRandomLength;
  if (name.size() < 2 + tail || name[0] != '.') return false;
  if (name.compare(name.size() - tail, kMarkerLength, kMarker) != 0) return false;
  for (size_t i = name.size() - kRandomLength; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) {
      return false;
    }
  }
  return true;
}

// Whether the open() error says that the file system has no unnamed files.
bool NoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// Where the links at `path` lead: the first name that is no link, or does not exist. `linked`
// tells whether there was a link; `error` (errno) is set when one cannot be read, ELOOP after
// too many.
std::string LastTarget(const std::string& path, bool& linked, int& error) {
  std::string target = path;
  for (int hops = 0;; ++hops) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    linked = true;
    if (hops == kMaxLinks) {
      error = ELOOP;
      return target;
    }
    char link[PATH_MAX];
    const ssize_t length = ::readlink(target.c_str(), link, sizeof link);
    if (length < 0 || length == static_cast<ssize_t>(sizeof link)) {
      error = length < 0 ? errno : ENAMETOOLONG;
      return target;
    }
    const std::string to(link, static_cast<size_t>(length));
    target = to.starts_with('/') ? to : FolderOf(target) + "/" + to;
  }
}

// Why a write to `path`, a link that leads to `target`, is refused (see Links); empty when not.
std::string RefusalFor(const std::string& path, const std::string& target,
                       FileReplacement::Links links) {
  using Links = FileReplacement::Links;
  if (links == Links::kFollowed) return {};
  if (links == Links::kRefused) {
    return path + ": シンボリックリンクなので書き込みません (リンク先: " + target + ")";
  }
  // Compared as the folders really are, so that ".." and links among the folders cannot hide
  // where the target lies.
  const auto real = [](const std::string& folder) {
    char resolved[PATH_MAX];
    return ::realpath(folder.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
  };
  const std::string own = real(FolderOf(path));
  const std::string at = real(FolderOf(target));
  const bool inside =
      !own.empty() && !at.empty() && (at == own || at.starts_with(own == "/" ? own : own + "/"));
  if (inside) return {};
  return path + ": リンク先が曲のフォルダの外なので書き込みません (リンク先: " + target + ")";
}

}  // namespace

void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;  // nothing we could clean
  const int dir_fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsTemporaryName(name)) continue;
    const int fd = ::openat(dir_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    // A live writer holds the lock; the lock of a killed one went with its process.
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlinkat(dir_fd, name.c_str(), 0);
    }
    ::close(fd);
  }
  ::closedir(dir);
}

FileReplacement::FileReplacement(const std::string& path, Durability durability,
                                 Temporary temporary, Links links)
    : durability_(durability) {
  if (path.find('\0') != std::string::npos) {
    throw FileWriteError(path + ": 名前にNULバイトが含まれています");
  }
  ResolveTarget(path);
  if (linked_) CheckLinkTarget(path, links);
  folder_ = FolderOf(target_);
  RemoveStaleTemporaries(folder_);
  if (temporary == Temporary::kUnnamedWhereOffered) {
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ < 0 && !NoUnnamedFiles(errno)) Fail("一時ファイルを作れません", errno);
  }
  for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
    temporary_ = TemporaryName(target_);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) {
      temporary_.clear();
      Fail("一時ファイルを作れません", errno);
    }
  }
  if (fd_ < 0) Fail("一時ファイルを作れません", EEXIST);
  // Tells RemoveStaleTemporaries that this file is in use.
  ::flock(fd_, LOCK_EX);
}

FileReplacement::~FileReplacement() { Discard(); }

void FileReplacement::ResolveTarget(const std::string& path) {
  int error = 0;
  target_ = LastTarget(path, linked_, error);
  if (error != 0) Fail(error == ELOOP ? "置き換えられません" : "調べられません", error);
  struct stat info {};
  if (::lstat(target_.c_str(), &info) != 0) {
    if (errno == ENOENT) return;  // a new file (or a link to one)
    Fail("調べられません", errno);
  }
  if (S_ISDIR(info.st_mode)) Fail("置き換えられません", EISDIR);
  if (!S_ISREG(info.st_mode)) {
    throw FileWriteError(target_ + ": 通常のファイルではないので置き換えません");
  }
  replaces_ = true;
  mode_ = info.st_mode & 07777;
  owner_ = info.st_uid;
  group_ = info.st_gid;
}

void FileReplacement::CheckLinkTarget(const std::string& path, Links links) const {
  const std::string refusal = RefusalFor(path, target_, links);
  if (!refusal.empty()) throw LinkRefusedError(refusal);
}

std::string FileReplacement::LinkRefusal(const std::string& path, Links links) {
  if (links == Links::kFollowed) return {};
  bool linked = false;
  int error = 0;
  const std::string target = LastTarget(path, linked, error);
  // A link that cannot be followed is the write's to report.
  if (!linked || error != 0) return {};
  return RefusalFor(path, target, links);
}

void FileReplacement::Commit() {
  if (fd_ < 0) throw FileWriteError(target_ + ": 書き込めません (" + ErrnoText(EBADF) + ")");
  if (durability_ == Durability::kSynced && ::fdatasync(fd_) != 0) Fail("書き込めません", errno);
  if (replaces_) {
    struct stat own {};
    // Only where permitted: another user's file stays replaceable by its folder's rights.
    if (::fstat(fd_, &own) == 0 && (own.st_uid != owner_ || own.st_gid != group_) &&
        ::fchown(fd_, owner_, group_) != 0) {
      (void)::fchown(fd_, static_cast<uid_t>(-1), group_);
    }
    if (!modeSet_ && ::fchmod(fd_, mode_) != 0) Fail("アクセス権を設定できません", errno);
  }
  if (modeSet_ && ::fchmod(fd_, mode_) != 0) Fail("アクセス権を設定できません", errno);
  if (temporary_.empty()) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    // A new file appears at once; an existing one is replaced through a name of its own.
    if (!replaces_ &&
        ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      Discard();
      return;
    }
    if (!replaces_ && errno != EEXIST) Fail("置き換えられません", errno);
    for (int attempt = 0; temporary_.empty() && attempt < 100; ++attempt) {
      temporary_ = TemporaryName(target_);
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        const int error = errno;
        temporary_.clear();
        if (error != EEXIST) Fail("置き換えられません", error);
      }
    }
    if (temporary_.empty()) Fail("置き換えられません", EEXIST);
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("置き換えられません", errno);
  temporary_.clear();
  Discard();
}

void FileReplacement::Fail(const std::string& what, int error) {
  Discard();
  throw FileWriteError(target_ + ": " + what + " (" + ErrnoText(error) + ")", error);
}

void FileReplacement::Discard() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}
