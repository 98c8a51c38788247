#include "wrd/verror.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(VError, DefaultIsEmpty) {
  VError error;
  EXPECT_STREQ(error.what(), "");
  EXPECT_EQ(error.Position(), 0u);
  EXPECT_EQ(error.Value(), 0);
}

TEST(VError, MessageIsCopiedAndFormatsTakeOneOrTwoArguments) {
  EXPECT_EQ(VError("plain %d text").Message(), "plain %d text");
  EXPECT_EQ(VError("count %d", 7).Message(), "count 7");
  EXPECT_EQ(VError("%s at %04X", "page", 0x1F).Message(), "page at 001F");
}

TEST(VError, FormattedMessagesAreCutTo512Characters) {
  std::string longText(600, 'x');
  EXPECT_EQ(VError("%s", longText.c_str()).Message(), std::string(512, 'x'));
}

TEST(VError, CutNeverSplitsAUtf8Character) {
  std::string text = std::string(1023, 'a') + "\xE3\x81\x82";  // 1023 + a 3-byte character
  VErrorTextInput error(0, text.c_str());
  EXPECT_EQ(error.Message(), std::string(1023, 'a'));
}

struct MessageCase {
  const char* name;
  VError error;
  const char* message;
  uint32_t position;
  int32_t value;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class ErrorMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(ErrorMessage, HasItsFixedFormat) {
  const MessageCase& c = GetParam();
  EXPECT_EQ(c.error.Message(), c.message);
  EXPECT_STREQ(c.error.what(), c.message);
  EXPECT_EQ(c.error.Position(), c.position);
  EXPECT_EQ(c.error.Value(), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ErrorMessage,
    testing::Values(
        MessageCase{"RectCoordinatesUnsigned",
                    VErrorRect(0x1A2B, WrdRect{0, 0, -1, 479}, "in Move"),
                    "00001A2B: Invalid rectangle (0,0)-(65535,479) in Move", 0x1A2B, 0},
        MessageCase{"RectNullText", VErrorRect(0x1A2B, WrdRect{0, 0, -1, 479}, nullptr),
                    "00001A2B: Invalid rectangle (0,0)-(65535,479) ", 0x1A2B, 0},
        MessageCase{"Point", VErrorPoint(5, WrdPoint{-2, 3}, "at start"),
                    "00000005: Invalid point (65534,3) at start", 5, 0},
        MessageCase{"PointNullText", VErrorPoint(5, WrdPoint{1, 2}, nullptr),
                    "00000005: Invalid point (1,2) ", 5, 0},
        MessageCase{"Palette", VErrorPalette(16, 3, "Unknown palette"),
                    "00000010: Unknown palette #3.", 16, 0},
        MessageCase{"PaletteNullText", VErrorPalette(16, -1, nullptr), "00000010:  #-1.", 16, 0},
        MessageCase{"Screen", VErrorScreen(0xFFFFFFFF, 2, "Unknown page"),
                    "FFFFFFFF: Unknown page #2.", 0xFFFFFFFF, 0},
        MessageCase{"Input", VErrorInput(0x100, "Bad value"), "00000100: Bad value", 0x100, 0},
        MessageCase{"Internal", VErrorInternal(9, "queue broken"), "Internal: queue broken", 9, 0},
        MessageCase{"TextInput", VErrorTextInput(-5, "line 3 too long"), "line 3 too long", 0, -5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VError, DerivedMessagesAreCutTo1024Characters) {
  std::string longText(2000, 'y');
  VErrorInput error(1, longText.c_str());
  EXPECT_EQ(error.Message().size(), 1024u);
  EXPECT_EQ(error.Message().substr(0, 10), "00000001: ");
}

TEST(VError, DerivedTypesAreCaughtAsStdException) {
  try {
    throw VErrorPalette(16, 3, "Unknown palette");
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "00000010: Unknown palette #3.");
  }
}

}  // namespace
