#include "player/glyph_font.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/document/cp932.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Parses "XXXX:hexdigits"; false for anything else.
bool ParseLine(std::string_view line, uint32_t& codePoint, GlyphFont::Glyph& glyph) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 6) return false;
  codePoint = 0;
  for (size_t i = 0; i < colon; ++i) {
    const int digit = HexDigit(line[i]);
    if (digit < 0) return false;
    codePoint = codePoint << 4 | uint32_t(digit);
  }
  std::string_view bits = line.substr(colon + 1);
  while (!bits.empty() && (bits.back() == '\r' || bits.back() == ' ')) bits.remove_suffix(1);
  if (bits.size() != 32 && bits.size() != 64) return false;
  const size_t perRow = bits.size() / 16;  // 2 or 4 hex digits
  glyph.width = int(perRow) * 4;
  for (size_t row = 0; row < 16; ++row) {
    uint32_t value = 0;
    for (size_t i = 0; i < perRow; ++i) {
      const int digit = HexDigit(bits[row * perRow + i]);
      if (digit < 0) return false;
      value = value << 4 | uint32_t(digit);
    }
    glyph.rows[row] = uint16_t(value << (16 - glyph.width));
  }
  return true;
}

// The single code point of a UTF-8 text; nullopt when it holds anything else.
std::optional<uint32_t> SingleCodePoint(const std::string& utf8) {
  if (utf8.empty()) return std::nullopt;
  const auto lead = static_cast<uint8_t>(utf8[0]);
  size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || utf8.size() != length) return std::nullopt;
  uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) value = value << 6 | (static_cast<uint8_t>(utf8[i]) & 0x3F);
  return value;
}

}  // namespace

GlyphFont::GlyphFont(std::string path) : path_(std::move(path)) {}

void GlyphFont::Load() {
  loaded_ = true;
  byCode_.assign(0x10000, 0);
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;
  std::stringstream whole;
  whole << in.rdbuf();
  const std::string text = whole.str();
  std::vector<std::pair<uint32_t, Glyph>> read;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    uint32_t codePoint = 0;
    Glyph glyph;
    if (ParseLine(std::string_view(text).substr(at, end - at), codePoint, glyph)) {
      read.emplace_back(codePoint, glyph);
    }
    at = end + 1;
  }
  // The file is sorted; a stable sort keeps the first glyph of a repeated code point first.
  std::stable_sort(read.begin(), read.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  codePoints_.reserve(read.size());
  glyphs_.reserve(read.size());
  for (const auto& [codePoint, glyph] : read) {
    codePoints_.push_back(codePoint);
    glyphs_.push_back(glyph);
  }
}

const GlyphFont::Glyph* GlyphFont::FindCodePoint(uint32_t codePoint) const {
  auto it = std::lower_bound(codePoints_.begin(), codePoints_.end(), codePoint);
  if (it == codePoints_.end() || *it != codePoint) return nullptr;
  return &glyphs_[size_t(it - codePoints_.begin())];
}

std::optional<uint32_t> GlyphFont::DecodeCp932(std::string_view character) {
  const auto first = static_cast<uint8_t>(character[0]);
  if (character.size() == 1 && (first < 0x20 || first == 0x7F)) return std::nullopt;
  const std::optional<uint32_t> codePoint = SingleCodePoint(Cp932ToUtf8(std::string(character)));
  if (!codePoint || *codePoint == 0xFFFD) return std::nullopt;
  return codePoint;
}

const GlyphFont::Glyph* GlyphFont::Find(std::string_view character) {
  if (character.empty() || character.size() > 2) return nullptr;
  if (!loaded_) Load();
  uint32_t code = static_cast<uint8_t>(character[0]);
  if (character.size() == 2) code = code << 8 | static_cast<uint8_t>(character[1]);
  uint32_t& cached = byCode_[code];
  if (cached == 0) {
    const std::optional<uint32_t> codePoint = DecodeCp932(character);
    const Glyph* glyph = codePoint ? FindCodePoint(*codePoint) : nullptr;
    cached = glyph ? uint32_t(glyph - glyphs_.data()) + 1 : kNoGlyph;
  }
  return cached == kNoGlyph ? nullptr : &glyphs_[cached - 1];
}
