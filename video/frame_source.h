#pragma once

#include <cstdint>

// What a video shows: the 640 x 480 screen at a WRD tick, as RGB.
class FrameSource {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  virtual ~FrameSource() = default;
  // Writes kWidth * kHeight * 3 bytes, RGB888, row-major, into `rgb`.
  virtual void Render(int64_t wrd_tick, uint8_t* rgb) = 0;
};
