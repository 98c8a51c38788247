#include "lyrics/lyric_list_text.h"

#include <algorithm>
#include <cstdio>

#include "make/lyric_layout.h"

std::string SongTimeText(int64_t micros) {
  const long long hundredths = std::max<int64_t>(micros, 0) / 10000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", hundredths / 6000, hundredths / 100 % 60,
                hundredths % 100);
  return text;
}

std::string LyricsOnOneLine(const std::string& lyrics) {
  std::string line;
  for (const std::string& part : SplitLyricLines(lyrics)) {
    if (!line.empty()) line += " / ";
    line += part;
  }
  return line;
}
