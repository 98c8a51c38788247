#include "app/document/cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp932Test, ConvertsBothWays) {
  EXPECT_EQ(Utf8ToCp932("\xE3\x81\x82"), "\x82\xA0");  // あ
  EXPECT_EQ(Cp932ToUtf8("\x82\xA0"), "\xE3\x81\x82");
}

TEST(Cp932Test, AConversionThatCannotBeOpenedFailsLoudly) {
  EXPECT_THROW(ConvertText("abc", "NO-SUCH-ENCODING", "UTF-8", "?"), Cp932Error);
}

}  // namespace
