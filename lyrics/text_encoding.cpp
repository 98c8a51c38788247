#include "lyrics/text_encoding.h"

#include <cstdint>

#include "text/cp932.h"
#include "text/shift_jis.h"

namespace {

bool IsCp932Trail(uint8_t byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

// Single bytes CP932 leaves unused.
bool IsUnusedCp932Byte(uint8_t byte) { return byte == 0x80 || byte == 0xA0 || byte >= 0xFD; }

}  // namespace

bool IsUtf8(std::string_view text, bool* multi_byte) {
  bool several = false;
  for (size_t at = 0; at < text.size();) {
    const uint8_t lead = static_cast<uint8_t>(text[at]);
    size_t length = 1;
    uint32_t least = 0;
    if (lead < 0x80) {
      ++at;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, least = 0x10000;
    } else {
      return false;
    }
    if (text.size() - at < length) return false;
    uint32_t code = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const uint8_t byte = static_cast<uint8_t>(text[at + k]);
      if ((byte & 0xC0) != 0x80) return false;
      code = code << 6 | (byte & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    several = true;
    at += length;
  }
  if (multi_byte) *multi_byte = several;
  return true;
}

bool IsCp932(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const uint8_t byte = static_cast<uint8_t>(text[at]);
    if (IsShiftJisLead(byte)) {
      if (at + 1 >= text.size() || !IsCp932Trail(static_cast<uint8_t>(text[at + 1]))) return false;
      at += 2;
      continue;
    }
    if (IsUnusedCp932Byte(byte)) return false;
    ++at;
  }
  return true;
}

TextEncoding GuessEncoding(const std::vector<std::string_view>& texts) {
  bool utf8 = true;
  bool several = false;
  bool cp932 = true;
  for (std::string_view text : texts) {
    bool multi = false;
    if (utf8 && !IsUtf8(text, &multi)) utf8 = false;
    several = several || multi;
    if (cp932 && !IsCp932(text)) cp932 = false;
  }
  if (utf8 && several) return TextEncoding::kUtf8;
  return cp932 ? TextEncoding::kCp932 : TextEncoding::kLatin1;
}

std::string TextToCp932(std::string_view text, TextEncoding encoding, size_t* replaced,
                        Utf8ToCp932Conversion* conversion) {
  auto from_utf8 = [&](std::string_view utf8) {
    if (conversion) return conversion->Convert(utf8, replaced);
    return Utf8ToCp932Counted(std::string(utf8), replaced);
  };
  switch (encoding) {
    case TextEncoding::kUtf8:
      return from_utf8(text);
    case TextEncoding::kLatin1: {
      std::string utf8;
      utf8.reserve(text.size() * 2);
      for (const char c : text) {
        const uint8_t byte = static_cast<uint8_t>(c);
        if (byte < 0x80) {
          utf8 += c;
        } else {
          utf8 += static_cast<char>(0xC0 | byte >> 6);
          utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
      }
      return from_utf8(utf8);
    }
    case TextEncoding::kCp932:
      break;
  }
  // CP932 stays as it is, but for bytes that would join with their neighbours into other
  // characters once syllables are put together.
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const uint8_t byte = static_cast<uint8_t>(text[at]);
    if (IsShiftJisLead(byte) && at + 1 < text.size() &&
        IsCp932Trail(static_cast<uint8_t>(text[at + 1]))) {
      out.append(text.substr(at, 2));
      at += 2;
      continue;
    }
    if (IsShiftJisLead(byte) || IsUnusedCp932Byte(byte)) {
      out += '?';
      ++*replaced;
    } else {
      out += static_cast<char>(byte);
    }
    ++at;
  }
  return out;
}

std::string ReplacedCharactersNotice(size_t replaced) {
  return "CP932 で書けない文字 " + std::to_string(replaced) + " 個を「?」にしました";
}
