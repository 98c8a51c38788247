#pragma once

#include <cstddef>
#include <cstdint>

#include "wrd/wrd_types.h"

// The payload of a record of fixed layout, built on the stack: the emitters of the common
// commands fill one and hand its bytes to the writer, with no buffer of their own to grow.
// Values are cut to their field widths as VOutBuffer cuts them; N must hold every field put.
template <size_t N>
class FixedRecord {
 public:
  void PutU8(uint32_t value) { bytes_[length_++] = static_cast<uint8_t>(value); }
  // Low byte first.
  void PutU16(uint32_t value) {
    bytes_[length_++] = static_cast<uint8_t>(value);
    bytes_[length_++] = static_cast<uint8_t>(value >> 8);
  }
  void PutRect(WrdRect rect) {
    PutU16(static_cast<uint16_t>(rect.x1));
    PutU16(static_cast<uint16_t>(rect.y1));
    PutU16(static_cast<uint16_t>(rect.x2));
    PutU16(static_cast<uint16_t>(rect.y2));
  }
  void PutPoint(WrdPoint point) {
    PutU16(static_cast<uint16_t>(point.x));
    PutU16(static_cast<uint16_t>(point.y));
  }
  const uint8_t* Data() const { return bytes_; }
  size_t Length() const { return length_; }

 private:
  uint8_t bytes_[N];
  size_t length_ = 0;
};
