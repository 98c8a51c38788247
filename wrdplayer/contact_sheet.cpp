#include "wrdplayer/contact_sheet.h"

#include <algorithm>

#include "picture/rgb_png_writer.h"
#include "text/shift_jis.h"
#include "wrdplayer/glyph_font.h"

namespace {

void Put(ContactSheet& sheet, int x, int y, Rgb colour) {
  uint8_t* at = sheet.rgb.data() + (size_t(y) * sheet.width + x) * 3;
  at[0] = colour.r;
  at[1] = colour.g;
  at[2] = colour.b;
}

// Draws a CP932 line with its top-left at (x, y), cut at `right`.
void DrawCaption(ContactSheet& sheet, GlyphFont& font, const std::string& text, int x, int y,
                 int right) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = ShiftJisCharLength(text, at);
    const GlyphFont::Glyph* glyph = font.Find(std::string_view(text).substr(at, length));
    const int advance = 8 * int(length);
    if (x + advance > right) return;
    for (int row = 0; glyph != nullptr && row < GlyphFont::kHeight; ++row) {
      for (int column = 0; column < glyph->width; ++column) {
        if (glyph->rows[row] & (0x8000 >> column)) {
          Put(sheet, x + column, y + row, ContactSheet::kCaptionColour);
        }
      }
    }
    x += advance;
    at += length;
  }
}

}  // namespace

int ContactSheet::CellX(int index, int columns) {
  return kMargin + (index % columns) * (kCellWidth + kMargin);
}

int ContactSheet::CellY(int index, int columns) {
  return kMargin + (index / columns) * (kCellHeight + kMargin);
}

ContactSheet ComposeContactSheet(const std::vector<SheetEntry>& entries, int columns,
                                 GlyphFont& font) {
  columns = std::max(columns, 1);
  const int count = int(entries.size());
  const int rows = (count + columns - 1) / columns;
  const int shownColumns = std::max(std::min(columns, count), 1);
  ContactSheet sheet;
  sheet.width =
      ContactSheet::kMargin + shownColumns * (ContactSheet::kCellWidth + ContactSheet::kMargin);
  sheet.height = ContactSheet::kMargin + rows * (ContactSheet::kCellHeight + ContactSheet::kMargin);
  sheet.rgb.resize(size_t(sheet.width) * sheet.height * 3);
  for (int y = 0; y < sheet.height; ++y) {
    for (int x = 0; x < sheet.width; ++x) Put(sheet, x, y, ContactSheet::kGround);
  }
  for (int i = 0; i < count; ++i) {
    const int x = ContactSheet::CellX(i, columns), y = ContactSheet::CellY(i, columns);
    const std::vector<uint8_t>& tile = entries[size_t(i)].tile.rgb;
    for (int row = 0; row < ScreenTile::kHeight; ++row) {
      std::copy_n(tile.data() + size_t(row) * ScreenTile::kWidth * 3, ScreenTile::kWidth * 3,
                  sheet.rgb.data() + (size_t(y + row) * sheet.width + x) * 3);
    }
    DrawCaption(sheet, font, entries[size_t(i)].caption, x,
                y + ScreenTile::kHeight + ContactSheet::kCaptionGap, x + ContactSheet::kCellWidth);
  }
  return sheet;
}

std::string ContactSheetPng(const ContactSheet& sheet) {
  return EncodeRgbPng(sheet.width, sheet.height, sheet.rgb.data());
}
