#include "document/number_text.h"

int32_t ReadNumber(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Unsigned arithmetic wraps without undefined behaviour.
  uint32_t value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10u + static_cast<uint32_t>(text[pos] - '0');
    ++pos;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}
