#include "test_files.h"

#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "make/test_bmp_writer.h"
#include "text/cp932.h"

void WriteBmp8(const QString& path, int width, int height, uint8_t index) {
  test_bmp::WritePlainBmp(path.toStdString(), width, height, index);
}

std::string Utf8(const std::string& cp932) { return Cp932ToUtf8(cp932); }
std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8); }
