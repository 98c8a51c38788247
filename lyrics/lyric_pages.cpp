#include "lyrics/lyric_pages.h"

#include <algorithm>
#include <string>

namespace {

std::string Trimmed(const std::string& line) {
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  // A trailing space is a single byte, never the second byte of a Shift-JIS character (those
  // start at 0x40).
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

// Whether a rest of at least a quarter note lies between `before` and `after`.
bool RestBetween(const Syllable& before, const Syllable& after, int64_t division) {
  const int64_t end = before.end_tick >= 0 ? before.end_tick : before.tick + division;
  return after.tick - end >= division;
}

}  // namespace

std::vector<LyricPage> PagesFromSyllables(const std::vector<Syllable>& syllables, int64_t division,
                                          int lines_per_page) {
  lines_per_page = std::clamp(lines_per_page, 1, kMaxLinesPerPage);
  division = std::max<int64_t>(division, 1);
  const bool marks_lines =
      std::any_of(syllables.begin() + std::min<size_t>(1, syllables.size()), syllables.end(),
                  [](const Syllable& s) { return s.new_line || s.new_page; });
  const bool marks_pages =
      std::any_of(syllables.begin() + std::min<size_t>(1, syllables.size()), syllables.end(),
                  [](const Syllable& s) { return s.new_page; });
  std::vector<LyricPage> pages;
  LyricPage page;
  std::string line;
  int64_t line_tick = LyricPage::kUntimed;
  auto end_line = [&] {
    std::string trimmed = Trimmed(line);
    if (!trimmed.empty()) {
      if (page.lines.empty()) page.tick = line_tick;
      page.lines.push_back(std::move(trimmed));
    }
    line.clear();
    line_tick = LyricPage::kUntimed;
  };
  auto end_page = [&] {
    end_line();
    if (!page.lines.empty()) pages.push_back(std::move(page));
    page = LyricPage{};
  };
  for (size_t k = 0; k < syllables.size(); ++k) {
    const Syllable& syllable = syllables[k];
    const bool new_line = marks_lines ? syllable.new_line || syllable.new_page
                                      : k > 0 && RestBetween(syllables[k - 1], syllable, division);
    if (marks_pages ? syllable.new_page : new_line) {
      if (marks_pages) {
        end_page();
      } else {
        end_line();
        if (static_cast<int>(page.lines.size()) >= lines_per_page) end_page();
      }
    } else if (new_line) {
      end_line();
    }
    // A line's time is that of its first syllable that shows something.
    if (line_tick == LyricPage::kUntimed && !Trimmed(syllable.text).empty()) {
      line_tick = syllable.tick;
    }
    line += syllable.text;
  }
  end_page();
  return pages;
}
