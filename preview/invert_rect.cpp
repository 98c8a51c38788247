#include "preview/invert_rect.h"

#include <QImage>
#include <QRgb>
#include <algorithm>

QRect InvertRect(QImage& image, const PreviewRect& rect) {
  const int left = std::max(std::min(rect.x1, rect.x2), 0);
  const int right = std::min(std::max(rect.x1, rect.x2), image.width());
  const int top = std::max(std::min(rect.y1, rect.y2), 0);
  const int bottom = std::min(std::max(rect.y1, rect.y2), image.height());
  if (left >= right || top >= bottom) {
    return QRect();
  }
  // XOR of the colour bits, leaving the (opaque) alpha byte alone.
  for (int y = top; y < bottom; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = left; x < right; ++x) {
      line[x] ^= 0x00FFFFFFu;
    }
  }
  return QRect(left, top, right - left, bottom - top);
}
