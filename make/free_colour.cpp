#include "make/free_colour.h"

#include <algorithm>
#include <cstring>

#include "picture/bitmap_file.h"

namespace {

using Used = std::array<uint8_t, 256>;

void MarkRow(Used& used, const uint8_t* row, int32_t width) {
  for (int32_t x = 0; x < width; ++x) used[row[x]] = 1;
}

// Eight marks at a time: cheap enough to ask after every row.
bool AllUsed(const Used& used) {
  uint64_t all = ~uint64_t{0};
  for (size_t i = 0; i < used.size(); i += 8) {
    uint64_t marks;
    std::memcpy(&marks, &used[i], sizeof marks);
    all &= marks;
  }
  return all == 0x0101010101010101u;
}

int HighestUnused(const Used& used) {
  for (int index = 255; index >= 0; --index) {
    if (used[index] == 0) return index;
  }
  return -1;
}

// Whether one of `size` pixels is 255: the largest of sixteen bytes at a time, in four running
// maxima so that the steps do not wait for each other; the compiler turns each into one vector
// instruction.
bool Holds255(const uint8_t* pixels, size_t size) {
  using Sixteen = uint8_t __attribute__((vector_size(16)));
  const auto load = [pixels](size_t at) {
    Sixteen bytes;
    std::memcpy(&bytes, pixels + at, sizeof bytes);
    return bytes;
  };
  const auto larger = [](Sixteen a, Sixteen b) { return a > b ? a : b; };
  Sixteen a{}, b{}, c{}, d{};
  size_t x = 0;
  for (; x + 64 <= size; x += 64) {
    a = larger(a, load(x));
    b = larger(b, load(x + 16));
    c = larger(c, load(x + 32));
    d = larger(d, load(x + 48));
  }
  for (; x + 16 <= size; x += 16) a = larger(a, load(x));
  const Sixteen all = larger(larger(a, b), larger(c, d));
  uint8_t top = 0;
  for (int i = 0; i < 16; ++i) top = std::max<uint8_t>(top, all[i]);
  for (; x < size; ++x) top = std::max(top, pixels[x]);
  return top == 255;
}

}  // namespace

int FindFreeIndex(const BitmapFile& image) {
  Used used{};
  for (int32_t y = 0; y < image.Height(); ++y) {
    MarkRow(used, image.Row(y), image.Width());
    // Once every index has been seen the rest of the picture cannot change the answer.
    if (AllUsed(used)) return -1;
  }
  return HighestUnused(used);
}

bool FreeColourSearch::Take(const uint8_t* rows, int32_t count, int32_t width, int32_t stride) {
  for (int32_t r = 0; r < count; ++r, rows += stride) {
    if (only255_) {
      // Rows without padding are looked at as one run of pixels.
      const bool whole = stride == width;
      if (Holds255(rows, static_cast<size_t>(whole ? count - r : 1) * width)) {
        needsAnotherScan_ = true;
        return false;
      }
      if (whole) return true;
      continue;
    }
    MarkRow(used_, rows, width);
    if (AllUsed(used_)) return false;
    if (++rowsMarked_ == kRowsMarkedFirst && !markEveryRow_ && used_[255] == 0) only255_ = true;
  }
  return true;
}

void FreeColourSearch::StartAgain() {
  used_ = {};
  markEveryRow_ = true;
  only255_ = false;
  needsAnotherScan_ = false;
}

int FreeColourSearch::FreeIndex() const { return only255_ ? 255 : HighestUnused(used_); }
