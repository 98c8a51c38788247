#include "make/lyric_layout.h"

#include <algorithm>

#include "document/event_table.h"
#include "text/shift_jis.h"

namespace {

int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

// Calls line(start, length, number) for each line: a line runs to the first CR, LF or the end;
// after it one CR and then one LF are skipped; a trailing line end adds no line.
template <typename Line>
void ForEachLine(const std::string& lyrics, Line line) {
  int64_t number = 0;
  for (std::size_t at = 0; at < lyrics.size(); ++number) {
    std::size_t end = lyrics.find_first_of("\r\n", at);
    if (end == std::string::npos) end = lyrics.size();
    line(at, end - at, number);
    at = end;
    if (at < lyrics.size() && lyrics[at] == '\r') ++at;
    if (at < lyrics.size() && lyrics[at] == '\n') ++at;
  }
}

}  // namespace

std::vector<std::string> SplitLyricLines(const std::string& lyrics) {
  std::vector<std::string> lines;
  ForEachLine(lyrics, [&](std::size_t at, std::size_t length, int64_t) {
    lines.push_back(lyrics.substr(at, length));
  });
  return lines;
}

std::vector<LyricLine> LayOutLyrics(const std::string& lyrics, int32_t align, int32_t x1,
                                    int32_t y1, int32_t x2) {
  std::vector<LyricLine> placed;
  ForEachLine(lyrics, [&](std::size_t at, std::size_t length, int64_t k) {
    if (length == 0) return;
    const int64_t room = int64_t{x2} - x1 - 8 * static_cast<int64_t>(length);
    const int64_t x = align == kAlignLeft ? x1 : align == kAlignRight ? x1 + room : x1 + room / 2;
    placed.push_back({lyrics.substr(at, length), Wrap(x), Wrap(int64_t{y1} + 16 * k)});
  });
  return placed;
}

namespace {

// Whether a line of `length` bytes placed as LayOutLyrics places it stays inside the screen
// and the columns x1 .. x2.
bool LineFits(int64_t length, int32_t align, int32_t x1, int32_t x2) {
  const int64_t width = 8 * length;
  const int64_t room = int64_t{x2} - x1 - width;
  const int64_t x = align == kAlignLeft ? x1 : align == kAlignRight ? x1 + room : x1 + room / 2;
  return x >= std::max<int64_t>(x1, 0) && x + width <= std::min<int64_t>(int64_t{x2} + 1, 640);
}

}  // namespace

std::vector<std::string> BreakLyricLine(const std::string& line, int32_t align, int32_t x1,
                                        int32_t x2) {
  if (LineFits(static_cast<int64_t>(line.size()), align, x1, x2)) return {line};
  int64_t most = std::min<int64_t>(static_cast<int64_t>(line.size()), 80);
  while (most >= 2 && !LineFits(most, align, x1, x2)) --most;
  if (most < 2) return {line};
  std::vector<std::string> lines(1);
  for (const std::string& character : SplitCp932Characters(line)) {
    std::string& last = lines.back();
    if (static_cast<int64_t>(last.size() + character.size()) > most) {
      // Words stay whole where a space gives a place to break: the space goes.
      const size_t space = last.rfind(' ');
      if (character == " ") {
        lines.emplace_back();
        continue;
      }
      if (space != std::string::npos && space > 0) {
        std::string rest = last.substr(space + 1);
        last.erase(space);
        lines.push_back(std::move(rest));
      } else {
        lines.emplace_back();
      }
    }
    lines.back() += character;
  }
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();  // a space at the very end
  return lines;
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
