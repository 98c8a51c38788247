#pragma once

#include <cstdint>
#include <span>

// Decodes the run-length encoded (RLE8) pixel data `data` of an 8-bit picture into `pixels`:
// `rows` rows of `stride` bytes in the file's order (bottom row first), which the caller has
// filled with zeros; pixels the data skips keep index 0. Every run, literal and delta is
// checked against the stored rows (a row's padding counts as part of it). Throws
// BmpFormatError when the data leaves the picture or ends before its end mark (unless the
// last row was ended).
void DecodeRle8(std::span<const uint8_t> data, int32_t rows, int32_t stride, uint8_t* pixels);
