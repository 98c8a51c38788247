#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The one Shift-JIS (CP932) character rule of the program: a lead byte 81-9F or E0-FC takes the
// byte after it (whatever that is) into one double-byte character; every other byte is a
// character of its own, and so is a lead byte at the end of the text.
constexpr bool IsShiftJisLead(uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The length in bytes (1 or 2) of the character that starts at text[at].
constexpr size_t ShiftJisCharLength(std::string_view text, size_t at) {
  return IsShiftJisLead(static_cast<uint8_t>(text[at])) && at + 1 < text.size() ? 2 : 1;
}
