#include "build/lyric_layout.h"

#include "wrd/shift_jis.h"

namespace {

int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

}  // namespace

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
    if (at < lyrics.size() && lyrics[at] == '\r') ++at;
    if (at < lyrics.size() && lyrics[at] == '\n') ++at;
  }
  return lines;
}

std::vector<LyricLine> LayOutLyrics(const std::string& lyrics, int32_t align, int32_t x1,
                                    int32_t y1, int32_t x2) {
  std::vector<LyricLine> placed;
  const std::vector<std::string> lines = SplitLyricLines(lyrics);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].empty()) continue;
    const int64_t room = int64_t{x2} - x1 - 8 * static_cast<int64_t>(lines[k].size());
    const int64_t x = align == 0 ? x1 : align == 1 ? x1 + room : x1 + room / 2;
    placed.push_back({lines[k], Wrap(x), Wrap(int64_t{y1} + 16 * static_cast<int64_t>(k))});
  }
  return placed;
}

std::vector<std::string> SplitCp932Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = ShiftJisCharLength(text, at);
    characters.push_back(text.substr(at, length));
    at += length;
  }
  return characters;
}
