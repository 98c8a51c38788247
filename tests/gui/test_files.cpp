#include "test_files.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QtEndian>

#include "document/cp932.h"
#include "main_window_fixture.h"

namespace {

void Put16(QByteArray& bytes, uint16_t value) {
  char raw[2];
  qToLittleEndian(value, raw);
  bytes.append(raw, 2);
}

void Put32(QByteArray& bytes, uint32_t value) {
  char raw[4];
  qToLittleEndian(value, raw);
  bytes.append(raw, 4);
}

}  // namespace

void WriteBmp8(const QString& path, int width, int height, uint8_t index) {
  const int stride = (width + 3) / 4 * 4;
  const uint32_t offset = 14 + 40 + 256 * 4;
  QByteArray bytes("BM");
  Put32(bytes, offset + stride * height);
  Put32(bytes, 0);
  Put32(bytes, offset);
  Put32(bytes, 40);
  Put32(bytes, width);
  Put32(bytes, height);
  Put16(bytes, 1);
  Put16(bytes, 8);
  Put32(bytes, 0);
  Put32(bytes, stride * height);
  Put32(bytes, 2835);
  Put32(bytes, 2835);
  Put32(bytes, 256);
  Put32(bytes, 0);
  for (int i = 0; i < 256; ++i) {
    bytes.append(static_cast<char>(i)).append(static_cast<char>(i)).append(static_cast<char>(i));
    bytes.append('\0');
  }
  QByteArray row(stride, '\0');
  for (int x = 0; x < width; ++x) row[x] = static_cast<char>(index);
  for (int y = 0; y < height; ++y) bytes.append(row);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

std::string Utf8(const std::string& cp932) { return Cp932ToUtf8(cp932); }
std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8); }
