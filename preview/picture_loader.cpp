#include "preview/picture_loader.h"

#include <QImageReader>
#include <stdexcept>

namespace {

[[noreturn]] void Refuse(const QString& path, const QString& reason) {
  throw std::runtime_error(
      QStringLiteral("画像を読み込めません: %1 (%2)").arg(path, reason).toStdString());
}

}  // namespace

QImage LoadPreviewPicture(const QString& path) {
  // Only BMP: the build converts nothing else, so the preview should not pretend otherwise.
  QImageReader reader(path, "bmp");
  reader.setAutoDetectImageFormat(false);
  const QSize size = reader.size();
  if (!size.isValid()) {
    Refuse(path, reader.errorString());
  }
  if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
      qint64{size.width()} * size.height() > kMaxPicturePixels) {
    Refuse(path,
           QStringLiteral("%1 x %2 ピクセルは大きすぎます").arg(size.width()).arg(size.height()));
  }
  QImage image = reader.read();
  if (image.isNull()) {
    Refuse(path, reader.errorString());
  }
  return image;
}
