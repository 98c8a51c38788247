#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The bitmap glyphs of GNU Unifont (its .hex format: "XXXX:" and 32 or 64 hex digits, 16 rows of
// 8 or 16 pixels, lines sorted by code point as Unifont ships them), looked up by CP932
// character. The file is read on the first look-up, once; a glyph is found by a binary search
// of its lines and decoded when first asked for. A file that is missing, unreadable or no
// regular file (a named pipe is not waited for) gives a font without glyphs.
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
  const Glyph* FindCodePoint(uint32_t codePoint);
  static std::optional<uint32_t> DecodeCp932(std::string_view character);

  std::string path_;
  bool loaded_ = false;
  std::string text_;                             // the whole file
  std::unordered_map<uint32_t, Glyph> decoded_;  // by code point; nodes stay where they are
  // CP932 code (one byte, or lead << 8 | trail) -> its glyph; unset until first looked up.
  std::vector<const Glyph*> byCode_;
  std::vector<bool> lookedUp_;
};
