// The contact sheet: tiles in rows with their captions under them.

#include "wrdplayer/contact_sheet.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_folder.h"
#include "wrdplayer/glyph_font.h"

namespace {

Rgb SheetPixel(const ContactSheet& sheet, int x, int y) {
  const uint8_t* at = sheet.rgb.data() + (size_t(y) * sheet.width + x) * 3;
  return {at[0], at[1], at[2]};
}

TEST(ContactSheetTest, TilesGoInRowsWithTheirCaptionsCutAtTheTilesWidth) {
  // A font of one glyph, "1": its top-left pixel and its bottom-right pixel set.
  TempFolder folder;
  const std::string fontPath = (folder.Path() / "font.hex").string();
  std::ofstream(fontPath) << "0031:80000000000000000000000000000001\n";
  GlyphFont font(fontPath);
  std::vector<SheetEntry> entries;
  for (int i = 0; i < 5; ++i) {
    SheetEntry entry;
    entry.tile.rgb.assign(entry.tile.rgb.size(), uint8_t(10 * i + 1));
    entry.caption = i == 4 ? std::string(21, '1') : "1";  // 21 characters: 168 pixels
    entries.push_back(entry);
  }
  const ContactSheet sheet = ComposeContactSheet(entries, 4, font);
  ASSERT_EQ(sheet.width, 8 + 4 * (160 + 8));
  ASSERT_EQ(sheet.height, 8 + 2 * (120 + 4 + 16 + 8));
  const Rgb white{255, 255, 255}, ground = ContactSheet::kGround;
  const struct {
    int x, y;
    Rgb colour;
  } pixels[] = {
      {0, 0, ground},           {8, 8, {1, 1, 1}},         {167, 127, {1, 1, 1}},
      {168, 8, ground},         {176, 8, {11, 11, 11}},    {512, 8, {31, 31, 31}},
      {8, 156, {41, 41, 41}},   {176, 156, ground},        {8, 132, white},
      {15, 147, white},         {9, 132, ground},          {16, 132, ground},
      {8 + 19 * 8, 280, white}, {8 + 20 * 8, 280, ground}, {sheet.width - 1, 295, ground},
  };
  for (const auto& p : pixels) {
    EXPECT_EQ(SheetPixel(sheet, p.x, p.y), p.colour) << p.x << ", " << p.y;
  }
  EXPECT_EQ(ContactSheet::CellX(5, 4), 176);
  EXPECT_EQ(ContactSheet::CellY(5, 4), 156);
}

TEST(ContactSheetTest, ASheetWithoutTilesIsItsMargins) {
  GlyphFont font("/nonexistent");
  const ContactSheet sheet = ComposeContactSheet({}, 4, font);
  EXPECT_EQ(sheet.width, 8 + 168);
  EXPECT_EQ(sheet.height, 8);
  EXPECT_EQ(sheet.rgb.size(), size_t(sheet.width * sheet.height * 3));
}

}  // namespace
