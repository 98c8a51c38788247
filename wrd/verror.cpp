#include "wrd/verror.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace verror_detail {
namespace {

std::string FormatV(size_t limit, const char* format, va_list args) {
  if (format == nullptr) {
    return {};
  }
  // One byte more than the limit for the terminating zero.
  std::vector<char> text(limit + 1);
  int wanted = std::vsnprintf(text.data(), text.size(), format, args);
  if (wanted < 0) {
    return {};
  }
  size_t length = static_cast<size_t>(wanted) < limit ? static_cast<size_t>(wanted) : limit;
  if (static_cast<size_t>(wanted) > limit) {
    // A cut message must stay valid UTF-8: do not end on the middle of a sequence.
    size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
      --start;
    }
    if (start < length) {
      unsigned char lead = static_cast<unsigned char>(text[start]);
      size_t sequence = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
      if (start + sequence > length) {
        length = start;
      }
    }
  }
  return std::string(text.data(), length);
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
