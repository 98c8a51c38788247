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
  // Palette entry i of the test pictures: a different colour for every index.
  static QRgb EntryColour(int i) { return qRgb(i, 255 - i, (i * 37) & 0xFF); }
  // The palette index of a test picture's pixel (x, y).
  static int PixelIndex(int x, int y) { return (x + 7 * y) & 0xFF; }
  // The colour the player shows a test picture's pixel (x, y) in.
  static QRgb PixelColour(int x, int y) { return EntryColour(PixelIndex(x, y)); }
  // The colour around a centred test picture: its palette entry 0.
  static QRgb Surround() { return EntryColour(0); }

  // Writes a w x h 256-colour BMP of PixelIndex pixels and returns its path.
  QString WritePicture(const QString& name, int w, int h) {
    QImage image(w, h, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i) table.append(EntryColour(i));
    image.setColorTable(table);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) image.scanLine(y)[x] = static_cast<uchar>(PixelIndex(x, y));
    }
    const QString path = folder_.filePath(name);
    EXPECT_TRUE(image.save(path, "BMP"));
    return path;
  }

  // A 24-bit BMP, which the build refuses.
  QString WriteTrueColourPicture(const QString& name, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
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

  // The player's screen where nothing is drawn.
  static QRgb Background() { return qRgb(0, 0, 0); }
  static QRgb Inverted(QRgb colour) { return colour ^ 0x00FFFFFFu; }

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
