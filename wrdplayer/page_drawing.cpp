#include "wrdplayer/page_drawing.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "text/shift_jis.h"
#include "wrdplayer/glyph_font.h"

namespace {

struct Span {
  int x1, y1, x2, y2;  // inclusive
  bool Empty() const { return x1 > x2 || y1 > y2; }
};

Span Clip(int x1, int y1, int x2, int y2, const Page& page) {
  return {std::max(x1, 0), std::max(y1, 0), std::min(x2, page.width - 1),
          std::min(y2, page.height - 1)};
}

uint8_t Masked(uint8_t d, uint8_t mask, uint8_t value) {
  return uint8_t((d & ~mask) | (value & mask));
}

}  // namespace

size_t FillRect(Page& page, uint8_t mask, WrdRect rect, uint8_t colour) {
  const Span area = Clip(rect.x1, rect.y1, rect.x2, rect.y2, page);
  if (area.Empty()) return 0;
  const size_t width = size_t(area.x2 - area.x1 + 1);
  for (int y = area.y1; y <= area.y2; ++y) {
    uint8_t* row = page.pixels.data() + size_t(y) * size_t(page.width) + area.x1;
    if (mask == 0xFF) {
      std::memset(row, colour, width);
    } else {
      for (size_t i = 0; i < width; ++i) row[i] = Masked(row[i], mask, colour);
    }
  }
  return width * size_t(area.y2 - area.y1 + 1);
}

size_t MovePixels(const Page& source, Page& target, uint8_t mask, bool skipZero, WrdRect rect,
                  WrdPoint point) {
  const Span from = Clip(rect.x1, rect.y1, rect.x2, rect.y2, source);
  if (from.Empty()) return 0;
  // Where the clipped source's top-left lands, then the part of it that lies inside the target.
  const int left = point.x + (from.x1 - rect.x1);
  const int top = point.y + (from.y1 - rect.y1);
  const Span to = Clip(left, top, left + (from.x2 - from.x1), top + (from.y2 - from.y1), target);
  if (to.Empty()) return 0;
  const size_t width = size_t(to.x2 - to.x1 + 1);
  const size_t height = size_t(to.y2 - to.y1 + 1);
  const int sourceX = from.x1 + (to.x1 - left);
  const int sourceY = from.y1 + (to.y1 - top);

  // Reading before writing matters only when both are one page: copy the source part first.
  std::vector<uint8_t> copy;
  const uint8_t* base = source.pixels.data() + size_t(sourceY) * size_t(source.width) + sourceX;
  size_t stride = size_t(source.width);
  if (&source == &target) {
    copy.resize(width * height);
    for (size_t y = 0; y < height; ++y) std::memcpy(&copy[y * width], base + y * stride, width);
    base = copy.data();
    stride = width;
  }
  for (size_t y = 0; y < height; ++y) {
    const uint8_t* s = base + y * stride;
    uint8_t* d = target.pixels.data() + (size_t(to.y1) + y) * size_t(target.width) + to.x1;
    if (mask == 0xFF && !skipZero) {
      std::memcpy(d, s, width);
      continue;
    }
    for (size_t i = 0; i < width; ++i) {
      if (skipZero && s[i] == 0) continue;
      d[i] = Masked(d[i], mask, s[i]);
    }
  }
  return width * height;
}

size_t DrawText(Page& page, GlyphFont& font, uint8_t mask, uint8_t colour, WrdPoint point,
                std::string_view text) {
  size_t visited = 0;
  int x = point.x;
  // Characters right of the page cannot show, and stopping there keeps x from overflowing.
  for (size_t at = 0; at < text.size() && x < page.width;) {
    const size_t length = ShiftJisCharLength(text, at);
    const bool visible = x > -16 && point.y > -GlyphFont::kHeight && point.y < page.height;
    const GlyphFont::Glyph* glyph = visible ? font.Find(text.substr(at, length)) : nullptr;
    if (glyph != nullptr) {
      for (int row = 0; row < GlyphFont::kHeight; ++row) {
        const int y = point.y + row;
        if (y < 0 || y >= page.height) continue;
        uint8_t* line = page.pixels.data() + size_t(y) * size_t(page.width);
        for (int column = 0; column < glyph->width; ++column) {
          const int px = x + column;
          if (px < 0 || px >= page.width || (glyph->rows[row] & (0x8000 >> column)) == 0) continue;
          line[px] = Masked(line[px], mask, colour);
        }
      }
      visited += size_t(GlyphFont::kHeight * glyph->width);
    }
    x += 8 * int(length);
    at += length;
  }
  return visited;
}
