#include "checks/format_text.h"

#include <vector>

#include "text/visible_text.h"

std::string FormatText(std::string_view text, std::initializer_list<std::string> values) {
  const std::vector<std::string> value(values);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t n = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : value.size();
    if (text[i] == '%' && n < value.size() && n < 9) {
      out += VisibleText(value[n]);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Decimal(int64_t value) { return std::to_string(value); }
