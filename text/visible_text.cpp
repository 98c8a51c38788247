#include "text/visible_text.h"

#include <cstdio>

std::string VisibleText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char shown[5];
      std::snprintf(shown, sizeof shown, "<%02X>", byte);
      out += shown;
    } else {
      out += c;
    }
  }
  return out;
}
