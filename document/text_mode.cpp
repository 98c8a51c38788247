#include "document/text_mode.h"

std::string ToTextMode(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16 + 2);
  // Whole lines at a time: a build's script is a megabyte or more.
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
    out.append(text.data() + start, end - start);
    out += "\r\n";
  }
  out.append(text.data() + start, text.size() - start);
  return out;
}

std::string FromTextMode(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    if (c == '\x1A') break;
    if (c != '\r') out += c;
  }
  return out;
}
