#pragma once

#include <cstdint>
#include <string>

// Encodes width x height pixels of RGB888 (row-major, top row first) as a PNG file (colour
// type 2, 8 bits, no interlace) and returns its bytes. Throws std::runtime_error when libpng
// fails.
std::string EncodeRgbPng(int width, int height, const uint8_t* rgb);
