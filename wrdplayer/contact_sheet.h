#pragma once

#include <string>
#include <vector>

#include "wrdplayer/screen_tile.h"

class GlyphFont;

// One picture of every event of a show: the tiles in rows of `columns`, left to right, each
// with its caption under it, on a dark ground.
struct ContactSheet {
  // The layout, in pixels.
  static constexpr int kMargin = 8;          // around the sheet and between tiles
  static constexpr int kCaptionGap = 4;      // between a tile and its caption
  static constexpr int kCaptionHeight = 16;  // one line of the glyph font
  static constexpr int kCellWidth = ScreenTile::kWidth;
  static constexpr int kCellHeight = ScreenTile::kHeight + kCaptionGap + kCaptionHeight;
  static constexpr Rgb kGround{40, 40, 40};
  static constexpr Rgb kCaptionColour{255, 255, 255};

  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // width x height RGB888, row-major

  // Where the tile at `index` lies (its top-left corner).
  static int CellX(int index, int columns);
  static int CellY(int index, int columns);
};

struct SheetEntry {
  ScreenTile tile;
  std::string caption;  // CP932; what does not fit under the tile is cut off
};

// Lays the entries out (columns at least 1). A sheet without entries is the margins alone.
ContactSheet ComposeContactSheet(const std::vector<SheetEntry>& entries, int columns,
                                 GlyphFont& font);

// The sheet as the bytes of an RGB PNG file. Throws std::runtime_error when libpng fails.
std::string ContactSheetPng(const ContactSheet& sheet);
