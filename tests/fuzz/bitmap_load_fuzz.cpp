// Fuzzes the BMP reader: any bytes must load or fail cleanly, a loaded picture's rows and
// palette must be readable in full, and reading only the bytes the headers say are needed (as
// Load does from a file) must give the same picture as reading the whole file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "picture/bitmap_file.h"
#include "picture/bmp_header.h"

namespace {

// The same steps as BitmapFile::Load takes on a file of `file.size()` bytes.
std::span<const uint8_t> ReadAsLoadDoes(std::span<const uint8_t> file) {
  uint64_t have = 0;
  uint64_t needed = std::min<uint64_t>(file.size(), 54);
  while (have < needed) {
    have = needed;
    needed = BmpBytesNeeded(file.first(have), file.size());
    if (needed > file.size()) std::abort();
  }
  return file.first(have);
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

  BitmapFile part;
  const bool part_loaded = part.LoadFromMemory(ReadAsLoadDoes(file));
  // Run-length data is read up to the longest a valid stream can be, so only a stream padded
  // with empty deltas beyond that may differ.
  const bool run_length =
      size >= 34 && data[30] == 1 && data[31] == 0 && data[32] == 0 && data[33] == 0;
  if (!run_length && (part_loaded != loaded || (loaded && !SamePicture(whole, part)))) {
    std::abort();
  }
  return 0;
}
