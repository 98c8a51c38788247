#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// The text with %1, %2, ... %9 replaced by the values in order (CP932 text and values; a CP932
// trail byte is never "%"). Inserted values are not scanned again; their control bytes (00-1F,
// 7F: a name may hold a NUL or a line end) are shown as "<00>", so that the text is one whole
// line that no byte cuts short.
std::string FormatText(std::string_view text, std::initializer_list<std::string> values);

// The number as decimal text.
std::string Decimal(int64_t value);
