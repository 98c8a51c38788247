#include "make/png_freshness.h"

#include <sys/stat.h>

bool PngUpToDate(const std::string& pngPath, const std::string& bmpPath) {
  struct stat png {};
  if (::stat(pngPath.c_str(), &png) != 0 || !S_ISREG(png.st_mode)) return false;
  struct stat bmp {};
  if (::stat(bmpPath.c_str(), &bmp) != 0) return true;
  if (png.st_mtim.tv_sec != bmp.st_mtim.tv_sec) return png.st_mtim.tv_sec > bmp.st_mtim.tv_sec;
  return png.st_mtim.tv_nsec >= bmp.st_mtim.tv_nsec;
}
