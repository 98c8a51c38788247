#include "checks/format_text.h"

#include <cstdio>
#include <vector>

namespace {

// The value with each control byte shown as "<00>".."<1F>", "<7F>". Such a byte is never part of
// a double-byte character, and left in it would end or break the line that shows the text.
void AppendVisible(std::string& out, const std::string& value) {
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char shown[5];
      std::snprintf(shown, sizeof shown, "<%02X>", byte);
      out += shown;
    } else {
      out += c;
    }
  }
}

}  // namespace

std::string FormatText(std::string_view text, std::initializer_list<std::string> values) {
  const std::vector<std::string> value(values);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t n = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : value.size();
    if (text[i] == '%' && n < value.size() && n < 9) {
      AppendVisible(out, value[n]);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Decimal(int64_t value) { return std::to_string(value); }
