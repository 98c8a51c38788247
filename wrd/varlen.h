#pragma once

#include <cstdint>

// Values from this limit on have no variable-length encoding (it holds at most four 7-bit
// groups).
inline constexpr uint32_t kVarLenLimit = 0x10000000;

// The number of bytes EncodeVarLen writes for a value below kVarLenLimit.
inline int VarLenSize(uint32_t value) {
  return value < (1u << 7) ? 1 : value < (1u << 14) ? 2 : value < (1u << 21) ? 3 : 4;
}

// Encodes a value below kVarLenLimit as 7-bit groups, most significant first, every byte but
// the last with bit 7 set. Returns the number of bytes written to out (1 to 4).
inline int EncodeVarLen(uint32_t value, uint8_t out[4]) {
  if (value < 0x80) {  // nearly every tick delta and record length
    out[0] = static_cast<uint8_t>(value);
    return 1;
  }
  uint8_t groups[4];
  int count = 0;
  do {
    groups[count++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && count < 4);
  for (int i = 0; i < count; ++i) {
    const int group = count - 1 - i;
    out[i] = static_cast<uint8_t>(groups[group] | (group > 0 ? 0x80 : 0));
  }
  return count;
}
