#include "editing/project_backup.h"

#include <sys/stat.h>

#include "document/project_file.h"
#include "files/atomic_file.h"
#include "files/regular_file.h"

void KeepBackup(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return;  // nothing to keep
  std::string bytes;
  try {
    // Whatever stands there (a pipe, a file grown too large) is read only as a regular file.
    bytes = ReadRegularFile(path, kMaxProjectFileSize);
  } catch (const FileReadError& error) {
    throw FileWriteError(std::string("保存の前に元のファイルの控えを作れません: ") + error.what());
  }
  WriteFileAtomically(path + ".bak", bytes);
}
