#pragma once

#include <cstdint>
#include <string_view>

// Reads a number the lenient way of the edit controls and the project file: leading white space
// is skipped, one optional "+" or "-" is taken, then decimal digits up to the first other byte.
// No digit gives 0. There is no range check: a value too large for 32 bits wraps around as
// 32-bit arithmetic would.
int32_t ReadNumber(std::string_view text);
