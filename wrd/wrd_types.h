#pragma once

#include <cstdint>

// A rectangle argument of the writer: (x1, y1) top-left, (x2, y2) bottom-right, both inclusive,
// so a 640 by 480 page is (0,0)-(639,479).
struct WrdRect {
  int16_t x1 = 0;
  int16_t y1 = 0;
  int16_t x2 = 0;
  int16_t y2 = 0;
};

// A position argument of the writer.
struct WrdPoint {
  int16_t x = 0;
  int16_t y = 0;
};
