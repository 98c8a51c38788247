#include "wrdplayer/glyph_font.h"

#include <algorithm>

#include "files/regular_file.h"
#include "text/cp932.h"

namespace {

// Unifont's .hex files are a few megabytes; anything far larger is not a font of this kind.
constexpr uint64_t kMaxFontFileSize = uint64_t{64} << 20;

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
  byCode_.assign(0x10000, nullptr);
  lookedUp_.assign(0x10000, false);
  try {
    text_ = ReadRegularFile(path_, kMaxFontFileSize);
  } catch (const FileReadError&) {
    text_.clear();  // no font: no glyphs
  }
}

const GlyphFont::Glyph* GlyphFont::FindCodePoint(uint32_t codePoint) {
  auto decoded = decoded_.find(codePoint);
  if (decoded != decoded_.end()) return &decoded->second;
  // Binary search of the lines: [low, high) is a run of whole lines.
  const std::string_view text(text_);
  size_t low = 0, high = text.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const size_t previous = middle == 0 ? std::string_view::npos : text.rfind('\n', middle - 1);
    const size_t start = previous == std::string_view::npos || previous < low ? low : previous + 1;
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    uint32_t lineCodePoint = 0;
    Glyph glyph;
    if (!ParseLine(text.substr(start, end - start), lineCodePoint, glyph)) return nullptr;
    if (lineCodePoint < codePoint) {
      low = end + 1;
    } else if (lineCodePoint > codePoint) {
      high = start;
    } else {
      return &decoded_.emplace(codePoint, glyph).first->second;
    }
  }
  return nullptr;
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
  if (!lookedUp_[code]) {
    lookedUp_[code] = true;
    const std::optional<uint32_t> codePoint = DecodeCp932(character);
    byCode_[code] = codePoint ? FindCodePoint(*codePoint) : nullptr;
  }
  return byCode_[code];
}
