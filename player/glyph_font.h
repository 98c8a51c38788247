#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The bitmap glyphs of GNU Unifont (its .hex format: "XXXX:" and 32 or 64 hex digits, 16 rows of
// 8 or 16 pixels), looked up by CP932 character. The file is read on the first look-up, once; a
// file that is missing or unreadable gives a font without glyphs.
class GlyphFont {
 public:
  static constexpr char kDefaultPath[] = "/usr/share/unifont/unifont_jp.hex";
  static constexpr int kHeight = 16;

  struct Glyph {
    int width = 0;        // 8 or 16
    uint16_t rows[16]{};  // bit 15 is the leftmost pixel
  };

  explicit GlyphFont(std::string path = kDefaultPath);

  // The glyph of one CP932 character (one or two bytes); nullptr for control bytes (00-1F, 7F),
  // characters CP932 cannot decode and characters the font has no glyph for.
  const Glyph* Find(std::string_view character);

 private:
  void Load();
  const Glyph* FindCodePoint(uint32_t codePoint) const;
  static std::optional<uint32_t> DecodeCp932(std::string_view character);

  std::string path_;
  bool loaded_ = false;
  std::vector<uint32_t> codePoints_;  // ascending, parallel to glyphs_
  std::vector<Glyph> glyphs_;
  // CP932 code (one byte, or lead << 8 | trail) -> index into glyphs_ + 1; 0 = not yet looked
  // up, kNoGlyph = nothing to draw.
  std::vector<uint32_t> byCode_;
  static constexpr uint32_t kNoGlyph = 0xFFFFFFFF;
};
