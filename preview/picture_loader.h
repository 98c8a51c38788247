#pragma once

#include <QImage>
#include <QString>

// Pictures beyond this many pixels on a side, or in all, are refused before they are
// decoded, so that a corrupt or enormous file can neither hang the preview nor exhaust
// memory. The build's pictures are 640 x 480 at most; this leaves ample room.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr qint64 kMaxPicturePixels = qint64{4096} * 4096;

// Reads the BMP file at `path` (UTF-8). Throws std::runtime_error with a readable message
// when the file cannot be read as a BMP picture or is larger than the limits above.
QImage LoadPreviewPicture(const QString& path);
