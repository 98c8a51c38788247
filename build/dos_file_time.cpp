#include "build/dos_file_time.h"

#include <sys/stat.h>

int32_t PackDosTime(const std::tm& local) {
  const uint32_t date = static_cast<uint32_t>((local.tm_year + 1900 - 1980) * 512 +
                                              (local.tm_mon + 1) * 32 + local.tm_mday);
  const uint32_t time =
      static_cast<uint32_t>(local.tm_hour * 2048 + local.tm_min * 32 + local.tm_sec / 2);
  return static_cast<int32_t>(((date & 0xFFFFu) << 16) | (time & 0xFFFFu));
}

int32_t DosFileTime(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return -1;
  std::tm local{};
  if (::localtime_r(&status.st_mtime, &local) == nullptr) return -1;
  return PackDosTime(local);
}
