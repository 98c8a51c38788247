#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The program's one rule for cutting Shift-JIS (CP932) text into characters: a lead byte 81-9F
// or E0-FC with a byte after it is one double-byte character; any other byte, a lead byte at the
// end of the text included, is one single-byte character.
constexpr bool IsShiftJisLead(uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The length in bytes (1 or 2) of the character that starts at `at` (< text.size()).
constexpr size_t ShiftJisCharLength(std::string_view text, size_t at) {
  return IsShiftJisLead(static_cast<uint8_t>(text[at])) && at + 1 < text.size() ? 2 : 1;
}
