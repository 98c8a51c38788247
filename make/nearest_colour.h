#pragma once

#include <array>
#include <cstdint>

// The palette index whose colour is nearest to `colour` (0x00BBGGRR): the smallest sum of the
// differences of blue, green and red, the lowest index on a tie. The lyrics of a picture without
// a free palette index are drawn in it. `palette` holds 256 entries of blue, green, red, reserved.
int NearestPaletteIndex(const std::array<uint8_t, 256 * 4>& palette, uint32_t colour);
