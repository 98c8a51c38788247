#include "text/cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp932Test, ConvertsBothWays) {
  EXPECT_EQ(Utf8ToCp932("\xE3\x81\x82"), "\x82\xA0");  // あ
  EXPECT_EQ(Cp932ToUtf8("\x82\xA0"), "\xE3\x81\x82");
}

TEST(Cp932Test, AsciiTextNeedsNoConverterAndComesOutAsTheConverterGivesIt) {
  std::string ascii;
  for (int c = 0; c < 128; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(Cp932ToUtf8(ascii), ConvertText(ascii, "UTF-8", "CP932", "?"));
  EXPECT_EQ(Utf8ToCp932(ascii), ConvertText(ascii, "CP932", "UTF-8", "?"));
  // 表 (0x95 0x5C) ends in the byte of a backslash: not ASCII text as a whole.
  EXPECT_EQ(Cp932ToUtf8("C:\\\x95\x5C"
                        "a.bmp"),
            "C:\\\xE8\xA1\xA8"
            "a.bmp");
}

TEST(Cp932Test, AConversionThatCannotBeOpenedFailsLoudly) {
  EXPECT_THROW(ConvertText("abc", "NO-SUCH-ENCODING", "UTF-8", "?"), Cp932Error);
}

}  // namespace
