#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPalette>
#include <QTemporaryDir>
#include <QWidget>

#include "preview/paint_box.h"
#include "preview/tform2.h"

// A preview window with a temporary folder for its pictures.
class PreviewTest : public testing::Test {
 protected:
  // The colour a picture's pixel (x, y) gets: every pixel of a test picture is unique.
  static QRgb PixelColor(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8));
  }

  // Writes a w x h BMP of PixelColor pixels and returns its path.
  QString WritePicture(const QString& name, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        image.setPixel(x, y, PixelColor(x, y));
      }
    }
    const QString path = folder_.filePath(name);
    EXPECT_TRUE(image.save(path, "BMP"));
    return path;
  }

  QString WriteBytes(const QString& name, const QByteArray& bytes) {
    const QString path = folder_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  // What the paint box shows, drawn through its own paint event.
  QImage Shown() {
    return preview_.PaintBox1()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  QRgb Background() const { return preview_.palette().color(QPalette::Window).rgb(); }
  static QRgb Inverted(QRgb color) { return color ^ 0x00FFFFFFu; }

  void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x, int y) {
    const QPointF at(x, y);
    QMouseEvent event(type, at, preview_.PaintBox1()->mapToGlobal(at), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(preview_.PaintBox1(), &event);
  }
  void Press(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonPress, button, button, x, y);
  }
  void Move(int x, int y) { Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, x, y); }
  void Release(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonRelease, button, Qt::NoButton, x, y);
  }

  QTemporaryDir folder_;
  TForm2 preview_;
};
