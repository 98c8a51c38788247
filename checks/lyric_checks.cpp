// The checks of the lyric lines: each placed as the build places it, 8 pixels per byte and 16
// per line, against the 640 x 480 screen and the event's rectangle.

#include <algorithm>
#include <string_view>

#include "checks/check_parts.h"
#include "checks/check_texts.h"
#include "checks/format_text.h"
#include "make/lyric_layout.h"

namespace {

constexpr int64_t kScreenWidth = 640;
constexpr int64_t kScreenHeight = 480;
constexpr int64_t kCharWidth = 8;
constexpr int64_t kLineHeight = 16;

// How far a line's box runs past each side of an area, 0 where it does not.
struct Overrun {
  int64_t left = 0, right = 0, up = 0, down = 0;

  bool Any() const { return left > 0 || right > 0 || up > 0 || down > 0; }

  // "右に 24 ドット、下に 4 ドット"
  std::string Text() const {
    std::string text;
    auto add = [&text](std::string_view form, int64_t amount) {
      if (amount <= 0) return;
      if (!text.empty()) text += check_texts::kListSeparator;
      text += FormatText(form, {Decimal(amount)});
    };
    add(check_texts::kLeftBy, left);
    add(check_texts::kRightBy, right);
    add(check_texts::kUpBy, up);
    add(check_texts::kDownBy, down);
    return text;
  }
};

// The overrun of the box (x, y, width, 16) past the area [x1, x2) x [y1, y2).
Overrun Past(int64_t x, int64_t y, int64_t width, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  return Overrun{std::max<int64_t>(x1 - x, 0), std::max<int64_t>(x + width - x2, 0),
                 std::max<int64_t>(y1 - y, 0), std::max<int64_t>(y + kLineHeight - y2, 0)};
}

// The line number the user counts: the placed line's row, from 1.
int64_t LineNumber(const LyricLine& line, const EventItem& item) {
  return (static_cast<int64_t>(line.y) - item.Y1) / kLineHeight + 1;
}

}  // namespace

void CheckLyrics(const EventTable& table, std::vector<Problem>& found) {
  const int count = std::clamp(table.EventCount, 0, EventTable::kCapacity);
  for (int i = 0; i < count; ++i) {
    const EventItem& item = table.events[i];
    const int event = i + 1;
    const std::vector<LyricLine> lines =
        LayOutLyrics(item.Lyrics, item.Align, item.X1, item.Y1, item.X2);
    if (lines.empty()) continue;
    const bool emptyRect = item.X2 <= item.X1 || item.Y2 <= item.Y1;
    if (emptyRect) {
      found.push_back(Problem{
          "no-text-rect", event, Problem::Severity::kWarning,
          FormatText(check_texts::kNoTextRect,
                     {Decimal(item.X1), Decimal(item.Y1), Decimal(item.X2), Decimal(item.Y2)})});
    }
    for (const LyricLine& line : lines) {
      const int64_t width = kCharWidth * static_cast<int64_t>(line.text.size());
      const Overrun screen = Past(line.x, line.y, width, 0, 0, kScreenWidth, kScreenHeight);
      if (screen.Any()) {
        found.push_back(Problem{"text-off-screen", event, Problem::Severity::kWarning,
                                FormatText(check_texts::kTextOffScreen,
                                           {Decimal(LineNumber(line, item)), screen.Text()})});
        continue;
      }
      if (emptyRect) continue;
      // Lines start at Y1, so none lies above the rectangle.
      const Overrun rect =
          Past(line.x, line.y, width, item.X1, item.Y1, static_cast<int64_t>(item.X2) + 1,
               static_cast<int64_t>(item.Y2) + 1);
      if (rect.Any()) {
        found.push_back(
            Problem{"text-outside-rect", event, Problem::Severity::kWarning,
                    FormatText(check_texts::kTextOutsideRect,
                               {Decimal(LineNumber(line, item)), Decimal(item.X1), Decimal(item.Y1),
                                Decimal(item.X2), Decimal(item.Y2), rect.Text()})});
      }
    }
  }
}
