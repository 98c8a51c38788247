#include "editing/project_backup.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/atomic_file.h"

void KeepBackup(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in || in.bad()) throw FileWriteError("Cannot keep a copy of " + path + " before saving");
  WriteFileAtomically(path + ".bak", bytes);
}
