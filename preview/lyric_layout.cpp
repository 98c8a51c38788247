#include "preview/lyric_layout.h"

std::vector<std::string> SplitLyricLines(const std::string& lyrics) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < lyrics.size()) {
    const std::size_t end = lyrics.find_first_of("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(lyrics.substr(at));
      break;
    }
    lines.push_back(lyrics.substr(at, end - at));
    at = end;
    if (at < lyrics.size() && lyrics[at] == '\r') {
      ++at;
    }
    if (at < lyrics.size() && lyrics[at] == '\n') {
      ++at;
    }
  }
  return lines;
}

std::vector<LyricLine> LayOutLyrics(const std::string& lyrics, int align, int x1, int y1, int x2) {
  std::vector<LyricLine> placed;
  const std::vector<std::string> lines = SplitLyricLines(lyrics);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].empty()) {
      continue;
    }
    const int width = 8 * static_cast<int>(lines[k].size());
    int x = x1;
    if (align == 1) {
      x = x1 + (x2 - x1 - width);
    } else if (align != 0) {
      x = x1 + (x2 - x1 - width) / 2;
    }
    placed.push_back({lines[k], x, y1 + 16 * static_cast<int>(k)});
  }
  return placed;
}

std::vector<std::string> SplitCp932Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const bool doubleByte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    const std::size_t length = doubleByte && at + 1 < text.size() ? 2 : 1;
    characters.push_back(text.substr(at, length));
    at += length;
  }
  return characters;
}
