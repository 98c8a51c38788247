#include "editing/recovery_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "document/names.h"
#include "editing/song_lock.h"
#include "files/atomic_file.h"
#include "files/regular_file.h"

namespace fs = std::filesystem;

namespace {

constexpr char kFolderName[] = "varnel-wrd-maker";
// A copy larger than any table of 1024 events could make is not read at all.
constexpr uint64_t kLargestCopy = 64u << 20;

// FNV-1a, 64 bits: a stable name for a path across runs.
uint64_t PathHash(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : text) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash;
}

// The project's file name with everything but ASCII letters, digits, ".", "-" and "_" made "_",
// so that the folder reads well in any encoding.
std::string SafeName(const std::string& cp932) {
  std::string name = FileNamePart(cp932);
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return name.substr(0, 64);
}

}  // namespace

fs::path RecoveryStore::DefaultFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return fs::path(state) / kFolderName;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    // Without HOME the account's home folder; never the working folder, beside the user's files.
    const passwd* account = ::getpwuid(::getuid());
    home = account != nullptr && account->pw_dir != nullptr ? account->pw_dir : "/tmp";
  }
  return fs::path(home) / ".local" / "state" / kFolderName;
}

fs::path RecoveryStore::FileFor(const std::string& project_path) const {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx",
                static_cast<unsigned long long>(PathHash(project_path)));
  return folder_ / (SafeName(project_path) + "-" + hash + ".recovery");
}

fs::path RecoveryStore::LockFileFor(const std::string& project_path) const {
  fs::path file = FileFor(project_path);
  file.replace_extension(".lock");
  return file;
}

std::string RecoveryStore::PrepareFolder() const {
  const std::string name = folder_.string();
  struct stat info {};
  if (::lstat(folder_.c_str(), &info) != 0 && errno == ENOENT) {
    std::error_code ignored;
    fs::create_directories(folder_.parent_path(), ignored);
    if (::mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST) {
      return "復元用コピーのフォルダを作れません: " + name + " (" + ErrnoText(errno) + ")";
    }
    ::chmod(folder_.c_str(), 0700);  // whatever the umask took away
  }
  if (::lstat(folder_.c_str(), &info) != 0) {
    return "復元用コピーのフォルダを調べられません: " + name + " (" + ErrnoText(errno) + ")";
  }
  // Someone else's link or folder could show the copies to others, or hand them in.
  if (S_ISLNK(info.st_mode)) {
    return "復元用コピーのフォルダがシンボリックリンクなので使いません: " + name;
  }
  if (!S_ISDIR(info.st_mode)) return "復元用コピーのフォルダがフォルダではありません: " + name;
  if (info.st_uid != ::geteuid()) {
    return "復元用コピーのフォルダが他のユーザーのものなので使いません: " + name;
  }
  if ((info.st_mode & 07777) != 0700) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return "復元用コピーのフォルダのアクセス権が 0700 ではないので使いません: " + name + " (今は " +
           mode + ")";
  }
  return {};
}

std::unique_ptr<SongLock> RecoveryStore::Lock(const std::string& project_path) const {
  const std::string why = PrepareFolder();
  if (!why.empty()) return SongLock::Unavailable(project_path, why);
  return std::make_unique<SongLock>(LockFileFor(project_path), project_path);
}

bool RecoveryStore::MayUse(const std::string& project_path, const SongLock* lock) const {
  if (lock != nullptr) return lock->Held() && lock->ProjectPath() == project_path;
  return !SongLock::IsHeld(LockFileFor(project_path));
}

void RecoveryStore::Write(const RecoveryCopy& copy) const {
  if (!MayUse(copy.project_path, nullptr)) {
    throw FileWriteError("この曲は別のウィンドウで開かれているので、復元用コピーを書きません");
  }
  WriteCopy(copy);
}

void RecoveryStore::Write(const RecoveryCopy& copy, const SongLock& lock) const {
  if (!MayUse(copy.project_path, &lock)) {
    throw FileWriteError(lock.Message().empty()
                             ? "この曲のロックがないので、復元用コピーを書きません"
                             : lock.Message() + "。復元用コピーは書きません");
  }
  WriteCopy(copy);
}

void RecoveryStore::WriteCopy(const RecoveryCopy& copy) const {
  const std::string why = PrepareFolder();
  if (!why.empty()) throw FileWriteError(why);
  const std::string bytes = RecoveryCopyBytes(copy);
  AtomicFile file(FileFor(copy.project_path).string(), AtomicFile::Durability::kSynced,
                  FileReplacement::Temporary::kUnnamedWhereOffered, AtomicFile::Links::kRefused);
  file.SetMode(0600);
  file.Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.Commit();
}

std::optional<RecoveryCopy> RecoveryStore::Read(const std::string& project_path) const {
  if (!MayUse(project_path, nullptr)) return std::nullopt;
  return ReadCopy(project_path);
}

std::optional<RecoveryCopy> RecoveryStore::Read(const std::string& project_path,
                                                const SongLock& lock) const {
  if (!MayUse(project_path, &lock)) return std::nullopt;
  return ReadCopy(project_path);
}

std::optional<RecoveryCopy> RecoveryStore::ReadCopy(const std::string& project_path) const {
  // A folder that is not the user's own may hold a copy someone else put there.
  struct stat info {};
  if (::lstat(folder_.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
      info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
    return std::nullopt;
  }
  std::string bytes;
  try {
    bytes = ReadRegularFile(FileFor(project_path).string(), kLargestCopy,
                            RegularFile::FollowLinks::kNo);
  } catch (const FileReadError&) {
    return std::nullopt;
  }
  std::optional<RecoveryCopy> copy = ParseRecoveryCopy(bytes);
  if (!copy || copy->project_path != project_path) return std::nullopt;
  return copy;
}

bool RecoveryStore::Exists(const std::string& project_path) const {
  std::error_code error;
  return fs::exists(fs::symlink_status(FileFor(project_path), error));
}

bool RecoveryStore::Remove(const std::string& project_path) const {
  return MayUse(project_path, nullptr) && RemoveCopy(project_path);
}

bool RecoveryStore::Remove(const std::string& project_path, const SongLock& lock) const {
  return MayUse(project_path, &lock) && RemoveCopy(project_path);
}

bool RecoveryStore::RemoveCopy(const std::string& project_path) const {
  // unlink removes a link itself, never what it leads to.
  return ::unlink(FileFor(project_path).c_str()) == 0 || errno == ENOENT;
}
