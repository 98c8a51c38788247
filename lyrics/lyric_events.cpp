#include "lyrics/lyric_events.h"

#include <algorithm>

#include "make/lyric_layout.h"
#include "song/tap_position.h"

EventItem DefaultLyricLayout() { return DefaultEventLayout(); }

EventItem EventForPage(const LyricPage& page, int32_t count, const EventItem& layout) {
  EventItem event = layout;
  event.Count = count;
  event.Lyrics.clear();
  event.Mark.clear();
  for (const std::string& line : page.lines) {
    for (const std::string& piece : BreakLyricLine(line, layout.Align, layout.X1, layout.X2)) {
      if (!event.Lyrics.empty()) event.Lyrics += "\r\n";
      event.Lyrics += piece;
    }
  }
  if (!page.lines.empty()) {
    for (const std::string& character : SplitCp932Characters(page.lines.front())) {
      if (event.Mark.size() + character.size() > kPageMarkBytes) break;
      event.Mark += character;
    }
  }
  return event;
}

int32_t PageCount(const TempoMap& tempo, int64_t tick, int lead, int32_t previous) {
  const int64_t sung = NearestSixteenth(tempo, tempo.MicrosAtTick(std::max<int64_t>(tick, 0)));
  int64_t count = std::max<int64_t>(sung - std::clamp(lead, 0, kMaxLead), 0);
  if (count <= previous) count = std::max<int64_t>(previous, std::min<int64_t>(previous + 1, sung));
  return static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX));
}

PageEvents EventsFromPages(const std::vector<LyricPage>& pages, const TempoMap& tempo, int lead,
                           const EventItem& layout, size_t room) {
  PageEvents result;
  int32_t previous = -1;  // no page yet
  for (const LyricPage& page : pages) {
    if (result.events.size() >= room) {
      ++result.left_out;
      continue;
    }
    previous = PageCount(tempo, page.tick, lead, previous);
    result.events.push_back(EventForPage(page, previous, layout));
  }
  return result;
}
