#include "test_files.h"

#include <gtest/gtest.h>
#include <QImage>

#include "document/cp932.h"
#include "main_window_fixture.h"

void WriteBmp8(const QString& path, int width, int height, uint8_t index) {
  QImage image(width, height, QImage::Format_Indexed8);
  QList<QRgb> greys;
  for (int i = 0; i < 256; ++i) greys.append(qRgb(i, i, i));
  image.setColorTable(greys);
  image.fill(index);
  ASSERT_TRUE(image.save(path, "BMP"));  // Qt writes it bottom-up, rows padded to four bytes
}

std::string Utf8(const std::string& cp932) { return Cp932ToUtf8(cp932); }
std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8); }
