#pragma once

#include <array>
#include <cstdint>

class BitmapFile;

// The highest palette index no pixel of the 8-bit picture uses, or -1.
int FindFreeIndex(const BitmapFile& image);

// The same answer for a picture seen a block of rows at a time (BitmapFile::Scan), reading as
// little as it can. The first rows are marked pixel by pixel; a picture that uses every colour
// is usually known by then. When they leave index 255 unused, the rest is only searched for a
// 255, sixteen pixels at a step, and the answer is 255 unless one turns up. If one does, the
// picture has to be marked whole: NeedsAnotherScan() tells, and the next scan does that.
class FreeColourSearch {
 public:
  // Takes `count` stored rows of `stride` bytes, `width` pixels each; false once the answer is
  // known, or once another scan is needed.
  bool Take(const uint8_t* rows, int32_t count, int32_t width, int32_t stride);
  bool NeedsAnotherScan() const { return needsAnotherScan_; }
  // Makes the next scan mark every pixel, from the start.
  void StartAgain();
  // The answer once the scans are done: the highest unused index, or -1.
  int FreeIndex() const;

 private:
  // Rows marked pixel by pixel before only 255 is looked for.
  static constexpr int32_t kRowsMarkedFirst = 32;

  std::array<uint8_t, 256> used_{};
  int32_t rowsMarked_ = 0;
  bool markEveryRow_ = false;
  bool only255_ = false;  // looking for a 255 in the rows after the first
  bool needsAnotherScan_ = false;
};
