#pragma once

// Small shows for the player's tests: VNL bytes written by the real writer, pictures from
// memory, and the glyphs of the font file read on their own to draw the expected text.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "wrd/vbinary_out.h"
#include "wrdplayer/glyph_font.h"
#include "wrdplayer/picture_source.h"
#include "wrdplayer/show_player.h"

namespace player_test {

using Bytes = std::vector<uint8_t>;

// Pictures by name, and the names asked for.
class MapSource : public PictureSource {
 public:
  explicit MapSource(std::map<std::string, IndexedPicture> pictures = {})
      : pictures_(std::move(pictures)) {}
  std::optional<IndexedPicture> Load(int, const std::string& name) override {
    auto it = pictures_.find(name);
    if (it == pictures_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, IndexedPicture> pictures_;
};

// A width x height picture whose pixel (x, y) is pixel(x, y) and whose palette entry i is
// (i, 255 - i, 2 i).
inline IndexedPicture MakePicture(int width, int height,
                                  const std::function<uint8_t(int, int)>& pixel) {
  IndexedPicture picture;
  picture.width = width;
  picture.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.pixels.push_back(pixel(x, y));
  }
  for (int i = 0; i < 256; ++i)
    picture.palette[size_t(i)] = Rgb{uint8_t(i), uint8_t(255 - i), uint8_t(2 * i)};
  return picture;
}

// The bytes of a VNL file: `setup` runs before Start (at tick 0), `timed` after it.
inline Bytes WriteVnl(const std::function<void(VBinaryOut&)>& setup,
                      const std::function<void(VBinaryOut&)>& timed) {
  std::ostringstream stream;
  {
    VBinaryOut out(stream);
    out.SetTitle("test");
    out.SetTimebase(48);
    out.EndBlock();
    setup(out);
    out.Start();
    timed(out);
    out.Close();
  }
  const std::string text = stream.str();
  return Bytes(text.begin(), text.end());
}

// The glyph rows of a code point as the font file gives them ("0041:..."), each row a string of
// '#' and '.'; empty when the file has none.
inline std::vector<std::string> GlyphRows(uint32_t codePoint) {
  std::ifstream in(GlyphFont::kDefaultPath);
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%04X:", codePoint);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) != 0) continue;
    const std::string hex = line.substr(std::string(prefix).size());
    const size_t perRow = hex.size() / 16;
    std::vector<std::string> rows;
    for (size_t row = 0; row < 16; ++row) {
      const unsigned long bits = std::stoul(hex.substr(row * perRow, perRow), nullptr, 16);
      std::string text;
      for (size_t bit = perRow * 4; bit-- > 0;) text += (bits >> bit) & 1 ? '#' : '.';
      rows.push_back(text);
    }
    return rows;
  }
  return {};
}

// Writes the glyph of `codePoint` into `indices` (a page of `width` columns) with its top-left
// at (x, y), set bits as `colour`, clipped to the page of height `height`.
inline void PutGlyph(std::vector<uint8_t>& indices, int width, int height, int x, int y,
                     uint32_t codePoint, uint8_t colour) {
  const std::vector<std::string> rows = GlyphRows(codePoint);
  for (int row = 0; row < int(rows.size()); ++row) {
    for (int column = 0; column < int(rows[size_t(row)].size()); ++column) {
      const int px = x + column, py = y + row;
      if (rows[size_t(row)][size_t(column)] == '#' && px >= 0 && px < width && py >= 0 &&
          py < height) {
        indices[size_t(py) * size_t(width) + size_t(px)] = colour;
      }
    }
  }
}

}  // namespace player_test
