#include "picture/bmp_rle.h"

#include <cstring>
#include <string>

#include "picture/bmp_header.h"

namespace {

// The escape codes that follow a zero count.
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfPicture = 1;
constexpr uint8_t kDelta = 2;

[[noreturn]] void Throw(const std::string& what, size_t at) {
  throw BmpFormatError("ランレングスデータの " + std::to_string(at) + " バイト目: " + what, at);
}

}  // namespace

void DecodeRle8(std::span<const uint8_t> data, int32_t rows, int32_t stride, uint8_t* pixels) {
  size_t pos = 0;
  int64_t x = 0;
  int64_t y = 0;
  // Writing `count` pixels at (x, y) must stay inside the stored row and the picture. Runs
  // may cover the row's padding: ImageMagick encodes whole stored rows.
  auto check_span = [&](int64_t count, size_t at) {
    if (y >= rows) Throw("最後の行より後ろのピクセルがあります", at);
    if (x + count > stride)
      Throw(std::to_string(y) + " 行目の終わりより後ろのピクセルがあります", at);
  };
  while (true) {
    if (data.size() - pos < 2) {
      // Some writers end the last row and omit the end mark.
      if (y >= rows && pos == data.size()) return;
      Throw("終了マークの前でデータが終わっています", pos);
    }
    const size_t at = pos;
    const uint8_t count = data[pos];
    const uint8_t code = data[pos + 1];
    pos += 2;
    if (count > 0) {
      check_span(count, at);
      std::memset(pixels + y * stride + x, code, count);
      x += count;
      continue;
    }
    switch (code) {
      case kEndOfLine:
        if (y >= rows) Throw("最後の行より後ろに行末マークがあります", at);
        x = 0;
        ++y;
        break;
      case kEndOfPicture:
        return;
      case kDelta: {
        if (data.size() - pos < 2) Throw("移動の途中でデータが終わっています", at);
        x += data[pos];
        y += data[pos + 1];
        pos += 2;
        if (x > stride || y >= rows) Throw("移動が画像の外に出ます", at);
        break;
      }
      default: {  // `code` literal pixels, padded to a 16-bit boundary
        check_span(code, at);
        if (data.size() - pos < code) Throw("非圧縮ピクセルの途中でデータが終わっています", at);
        std::memcpy(pixels + y * stride + x, data.data() + pos, code);
        x += code;
        pos += code + (code & 1u);
        if (pos > data.size()) pos = data.size();  // the last pad byte may be missing
        break;
      }
    }
  }
}
