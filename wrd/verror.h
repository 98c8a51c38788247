#pragma once

#include <concepts>
#include <cstdint>
#include <exception>
#include <string>
#include <type_traits>

#include "errors/error.h"
#include "wrd/wrd_types.h"

namespace verror_detail {
// Formats printf-style and cuts the result to at most `limit` bytes (never inside a UTF-8
// sequence).
std::string Format(size_t limit, const char* format, ...) __attribute__((format(printf, 2, 3)));
std::string FormatUnchecked(size_t limit, const char* format, ...);
template <typename T>
concept PrintfArgument = std::is_arithmetic_v<T> || std::is_pointer_v<T>;
}  // namespace verror_detail

// The writer library's error: a message, the position it refers to (0 when not given) and an
// extra number (0 when not given). what() returns the message.
class VError : public VwrdError {
 public:
  // Formatted messages of the base type hold at most this many characters (longer ones are cut).
  static constexpr size_t kMaxMessage = 512;
  // Messages of the derived types hold at most this many characters (longer ones are cut).
  static constexpr size_t kMaxDerivedMessage = 1024;

  VError() : VwrdError("") {}
  // The message is copied as it stands.
  explicit VError(const char* message) : VwrdError(message ? message : "") {}
  explicit VError(const std::string& message) : VwrdError(message) {}
  // A printf-style format with one or two arguments, cut to kMaxMessage characters.
  template <verror_detail::PrintfArgument A>
  VError(const char* format, A a)
      : VwrdError(verror_detail::FormatUnchecked(kMaxMessage, format, a)) {}
  template <verror_detail::PrintfArgument A, verror_detail::PrintfArgument B>
  VError(const char* format, A a, B b)
      : VwrdError(verror_detail::FormatUnchecked(kMaxMessage, format, a, b)) {}
  ~VError() override = default;

  std::string Message() const { return what(); }
  uint32_t Position() const { return position_; }
  int32_t Value() const { return value_; }

 protected:
  VError(const std::string& message, uint32_t position, int32_t value)
      : VwrdError(message), position_(position), value_(value) {}

 private:
  uint32_t position_ = 0;
  int32_t value_ = 0;
};

// "%08X: Invalid rectangle (%d,%d)-(%d,%d) %s", corners printed as unsigned 16-bit numbers.
class VErrorRect : public VError {
 public:
  VErrorRect(uint32_t position, WrdRect rect, const char* text);
};

// "%08X: Invalid point (%d,%d) %s", coordinates printed as unsigned 16-bit numbers.
class VErrorPoint : public VError {
 public:
  VErrorPoint(uint32_t position, WrdPoint point, const char* text);
};

// "%08X: %s #%d."
class VErrorPalette : public VError {
 public:
  VErrorPalette(uint32_t position, int number, const char* text);
};

// "%08X: %s #%d."
class VErrorScreen : public VError {
 public:
  VErrorScreen(uint32_t position, int number, const char* text);
};

// "%08X: %s"
class VErrorInput : public VError {
 public:
  VErrorInput(uint32_t position, const char* text);
};

// "Internal: %s"
class VErrorInternal : public VError {
 public:
  VErrorInternal(uint32_t position, const char* text);
};

// The text itself; the value is stored, the position stays 0.
class VErrorTextInput : public VError {
 public:
  VErrorTextInput(int32_t value, const char* text);
};
