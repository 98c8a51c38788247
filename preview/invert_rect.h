#pragma once

#include <QRect>

#include "preview/preview_rect.h"

class QImage;

// Inverts the colour of the pixels of `image` (32-bit RGB) that the rectangle spans, as far
// as they lie inside the image: from the smaller to the larger corner coordinate, the larger
// one excluded. Inverting twice restores the pixels. Returns the area changed (may be empty).
QRect InvertRect(QImage& image, const PreviewRect& rect);
