#include "lyrics/lyric_sheet.h"

#include <algorithm>

#include "files/regular_file.h"
#include "lyrics/lyric_pages.h"
#include "lyrics/text_encoding.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string CleanLine(std::string line) {
  std::replace(line.begin(), line.end(), '\t', ' ');
  // Other control characters show nothing; none is part of a Shift-JIS character.
  std::erase_if(line, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<LyricPage> PagesFromSheet(std::string_view bytes, int lines_per_page,
                                      size_t* replaced) {
  lines_per_page = std::clamp(lines_per_page, 1, kMaxLinesPerPage);
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  const TextEncoding encoding = GuessEncoding({bytes});
  const std::string text = TextToCp932(bytes, encoding, replaced);
  std::vector<std::string> lines;  // empty: a blank line
  for (size_t at = 0; at <= text.size();) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(CleanLine(text.substr(at, end - at)));
    if (end == text.size()) break;
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  // Blank lines part the pages when one stands between two lines of text.
  const auto has_text = [](const std::string& line) { return !line.empty(); };
  const auto first = std::find_if(lines.begin(), lines.end(), has_text);
  const auto last = std::find_if(lines.rbegin(), lines.rend(), has_text).base();
  const bool blank_parts = first < last && std::find(first, last, std::string()) != last;
  std::vector<LyricPage> pages;
  LyricPage page;
  for (std::string& line : lines) {
    const bool full = !blank_parts && static_cast<int>(page.lines.size()) >= lines_per_page;
    if ((line.empty() || full) && !page.lines.empty()) {
      pages.push_back(std::move(page));
      page = LyricPage{};
    }
    if (!line.empty()) page.lines.push_back(std::move(line));
  }
  if (!page.lines.empty()) pages.push_back(std::move(page));
  return pages;
}

std::vector<LyricPage> ReadLyricSheet(const std::string& path, int lines_per_page,
                                      size_t* replaced) {
  return PagesFromSheet(ReadRegularFile(path, kMaxLyricSheetSize), lines_per_page, replaced);
}
