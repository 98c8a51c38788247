// Fuzzes the BMP reader: any bytes must load or fail cleanly, a loaded picture's rows and
// palette must be readable in full, and loading the same bytes from a file (which Load reads in
// parts) must give the same picture as loading them from memory. A scan of the file judges it as
// Load does and hands over the same rows; the scanner and a second loader live from one input to
// the next, so that their pixel buffers are reused. The free colour found while scanning (with the
// search's shortcut and its second scan) is the one found in the whole picture.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "make/free_colour.h"
#include "picture/bitmap_file.h"

namespace {

// Puts `file` into an in-memory file and returns a path that opens it, for Load.
std::string AsFile(std::span<const uint8_t> file) {
  static const int fd = ::memfd_create("bitmap_load_fuzz", MFD_CLOEXEC);
  if (fd < 0 || ::ftruncate(fd, 0) != 0) std::abort();
  size_t done = 0;
  while (done < file.size()) {
    const ssize_t put =
        ::pwrite(fd, file.data() + done, file.size() - done, static_cast<off_t>(done));
    if (put <= 0) std::abort();
    done += static_cast<size_t>(put);
  }
  return "/proc/self/fd/" + std::to_string(fd);
}

// Touches every byte that the accessors promise, so that the sanitizers see any overrun.
unsigned Scan(const BitmapFile& image) {
  unsigned sum = 0;
  if (image.BitCount() > 8) return 0;
  for (int i = 0; i < image.ColorCount() * 4; ++i) sum += image.Palette()[i];
  for (int32_t y = 0; y < image.Height(); ++y) {
    const uint8_t* row = image.Row(y);
    for (int32_t x = 0; x < image.Stride(); ++x) sum += row[x];
  }
  return sum;
}

bool SamePicture(const BitmapFile& a, const BitmapFile& b) {
  if (a.BitCount() != b.BitCount() || a.Width() != b.Width() || a.Height() != b.Height()) {
    return false;
  }
  if (a.BitCount() > 8) return true;
  if (std::memcmp(a.Palette(), b.Palette(), static_cast<size_t>(a.ColorCount()) * 4) != 0) {
    return false;
  }
  for (int32_t y = 0; y < a.Height(); ++y) {
    if (std::memcmp(a.Row(y), b.Row(y), static_cast<size_t>(a.Stride())) != 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  BitmapFile whole;
  const bool loaded = whole.LoadFromMemory(file);
  if (loaded != whole.ErrorText().empty()) std::abort();
  volatile unsigned sink = Scan(whole);
  (void)sink;

  // Load reads a file in parts (headers, colour table, pixel data): the same picture.
  BitmapFile from_file;
  const bool file_loaded = from_file.Load(AsFile(file));
  if (file_loaded != loaded || (loaded && !SamePicture(whole, from_file))) std::abort();

  static BitmapFile reused;
  const std::string path = AsFile(file);
  if (reused.Load(path) != loaded || (loaded && !SamePicture(whole, reused))) std::abort();
  if (!loaded && reused.ErrorText() != from_file.ErrorText()) std::abort();

  static BitmapFile scanner;
  std::vector<uint8_t> rows;
  const bool scanned = scanner.Scan(path, [&](const uint8_t* block, int32_t count) {
    rows.insert(rows.end(), block, block + static_cast<size_t>(count) * scanner.Stride());
    return true;
  });
  if (scanned != loaded || (!loaded && scanner.ErrorText() != from_file.ErrorText())) std::abort();
  if (loaded && whole.BitCount() <= 8) {
    const int32_t height = whole.Height();
    const bool bottomUp = height > 1 && whole.Row(0) > whole.Row(1);
    const auto stride = static_cast<size_t>(whole.Stride());
    if (rows.size() != stride * static_cast<size_t>(height)) std::abort();
    for (int32_t y = 0; y < height; ++y) {
      const size_t stored = static_cast<size_t>(bottomUp ? height - 1 - y : y);
      if (std::memcmp(rows.data() + stored * stride, whole.Row(y), stride) != 0) std::abort();
    }
  }

  if (loaded && whole.BitCount() == 8) {
    FreeColourSearch search;
    const auto scan = [&] {
      return scanner.Scan(path, [&](const uint8_t* block, int32_t count) {
        return search.Take(block, count, scanner.Width(), scanner.Stride());
      });
    };
    if (!scan()) std::abort();
    if (search.NeedsAnotherScan()) {
      search.StartAgain();
      if (!scan() || search.NeedsAnotherScan()) std::abort();
    }
    if (search.FreeIndex() != FindFreeIndex(whole)) std::abort();
  }
  return 0;
}
