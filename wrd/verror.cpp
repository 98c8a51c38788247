#include "wrd/verror.h"

#include <cstdarg>
#include <cstdio>

namespace verror_detail {
namespace {

std::string FormatV(size_t limit, const char* format, va_list args) {
  if (format == nullptr) {
    return {};
  }
  va_list sizing;
  va_copy(sizing, args);
  int wanted = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  if (wanted < 0) {
    return {};
  }
  std::string text(static_cast<size_t>(wanted), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  if (text.size() > limit) {
    // A cut message must stay valid UTF-8: when the first byte left out continues a
    // character, leave out that whole character.
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
      --cut;
    }
    text.resize(cut);
  }
  return text;
}

}  // namespace

std::string Format(size_t limit, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(limit, format, args);
  va_end(args);
  return text;
}

std::string FormatUnchecked(size_t limit, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(limit, format, args);
  va_end(args);
  return text;
}

}  // namespace verror_detail

namespace {

const char* OrEmpty(const char* text) { return text ? text : ""; }

// Coordinates are shown as unsigned 16-bit numbers, so -1 reads 65535.
unsigned U16(int16_t value) { return static_cast<uint16_t>(value); }

}  // namespace

using verror_detail::Format;

VErrorRect::VErrorRect(uint32_t position, WrdRect rect, const char* text)
    : VError(Format(kMaxDerivedMessage, "%08X: Invalid rectangle (%u,%u)-(%u,%u) %s", position,
                    U16(rect.x1), U16(rect.y1), U16(rect.x2), U16(rect.y2), OrEmpty(text)),
             position, 0) {}

VErrorPoint::VErrorPoint(uint32_t position, WrdPoint point, const char* text)
    : VError(Format(kMaxDerivedMessage, "%08X: Invalid point (%u,%u) %s", position, U16(point.x),
                    U16(point.y), OrEmpty(text)),
             position, 0) {}

VErrorPalette::VErrorPalette(uint32_t position, int number, const char* text)
    : VError(Format(kMaxDerivedMessage, "%08X: %s #%d.", position, OrEmpty(text), number), position,
             0) {}

VErrorScreen::VErrorScreen(uint32_t position, int number, const char* text)
    : VError(Format(kMaxDerivedMessage, "%08X: %s #%d.", position, OrEmpty(text), number), position,
             0) {}

VErrorInput::VErrorInput(uint32_t position, const char* text)
    : VError(Format(kMaxDerivedMessage, "%08X: %s", position, OrEmpty(text)), position, 0) {}

VErrorInternal::VErrorInternal(uint32_t position, const char* text)
    : VError(Format(kMaxDerivedMessage, "Internal: %s", OrEmpty(text)), position, 0) {}

VErrorTextInput::VErrorTextInput(int32_t value, const char* text)
    : VError(Format(kMaxDerivedMessage, "%s", OrEmpty(text)), 0, value) {}
