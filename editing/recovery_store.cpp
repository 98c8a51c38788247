#include "editing/recovery_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "document/names.h"
#include "files/atomic_file.h"

namespace fs = std::filesystem;

namespace {

constexpr char kFolderName[] = "varnel-wrd-maker";
// A copy larger than any table of 1024 events could make is not read at all.
constexpr std::uintmax_t kLargestCopy = 64u << 20;

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

void RecoveryStore::Write(const RecoveryCopy& copy) const {
  std::error_code error;
  if (!fs::is_directory(folder_, error)) {
    fs::create_directories(folder_, error);
    if (error) {
      throw FileWriteError("Cannot create the folder " + folder_.string() + ": " + error.message());
    }
    ::chmod(folder_.c_str(), 0700);
  }
  WriteFileAtomically(FileFor(copy.project_path).string(), RecoveryCopyBytes(copy));
}

std::optional<RecoveryCopy> RecoveryStore::Read(const std::string& project_path) const {
  const fs::path file = FileFor(project_path);
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return std::nullopt;
  const std::uintmax_t size = fs::file_size(file, error);
  if (error || size > kLargestCopy) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  std::optional<RecoveryCopy> copy = ParseRecoveryCopy(bytes);
  if (!copy || copy->project_path != project_path) return std::nullopt;
  return copy;
}

bool RecoveryStore::Exists(const std::string& project_path) const {
  std::error_code error;
  return fs::exists(FileFor(project_path), error);
}

bool RecoveryStore::Remove(const std::string& project_path) const {
  std::error_code error;
  fs::remove(FileFor(project_path), error);
  return !error;
}
