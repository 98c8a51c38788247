// The checks of the events' times, in sixteenth notes as the list shows them: events after the
// song, fades that run into each other, events that hide each other.

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "checks/check_parts.h"
#include "checks/check_texts.h"
#include "checks/format_text.h"
#include "make/command_generator.h"
#include "make/current_picture.h"

namespace {

// Ticks of the build per sixteenth note.
constexpr int64_t kTicksPerSixteenth = 12;
constexpr int64_t kFadeIn = CommandGenerator::kFadeTicks / kTicksPerSixteenth;
constexpr int64_t kFadeOut = CommandGenerator::kFadeOutTicks / kTicksPerSixteenth;

Problem Warning(const char* id, int event, std::string text) {
  return Problem{id, event, Problem::Severity::kWarning, std::move(text)};
}

// Events whose fade-in or fade-out starts before the fade-in of an earlier event has ended.
void CheckFades(const EventTable& table, const PictureTable& pictures, int count,
                std::vector<Problem>& found) {
  std::vector<bool> fadesIn(count);
  CurrentPicture current(pictures);
  for (int i = 0; i < count; ++i) {
    const EventItem& item = table.events[i];
    fadesIn[i] = current.Next(item) != current.None() && CommandGenerator::Fades(item);
  }
  std::vector<int> order(count);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return table.events[a].Count < table.events[b].Count; });
  int last = -1;  // the event whose fade-in, among those at earlier times, ends last
  for (size_t k = 0; k < order.size(); ++k) {
    const int i = order[k];
    const EventItem& item = table.events[i];
    const int64_t time = item.Count;
    if (last >= 0 && table.events[last].Count < time) {
      const int64_t end = table.events[last].Count + kFadeIn;
      const bool fadesOut = CommandGenerator::Fades(item) && time >= kFadeOut;
      const int64_t start = fadesOut ? time - kFadeOut : time;
      if (start < end) {
        found.push_back(Warning("fade-overlap", i + 1,
                                FormatText(fadesOut ? check_texts::kFadeOutDuringFadeIn
                                                    : check_texts::kStartsDuringFadeIn,
                                           {Decimal(start), Decimal(last + 1),
                                            Decimal(table.events[last].Count), Decimal(end)})));
      }
    }
    // Fade-ins are all as long: the one that starts last ends last. Events of one time join
    // only when the next time comes, so that they do not count against each other.
    if (k + 1 == order.size() || table.events[order[k + 1]].Count != time) {
      for (size_t back = k + 1; back-- > 0 && table.events[order[back]].Count == time;) {
        if (fadesIn[order[back]]) {
          last = order[back];  // the last in table order: the one shown
          break;
        }
      }
    }
  }
}

}  // namespace

void CheckTiming(const EventTable& table, const PictureTable& pictures,
                 std::optional<int32_t> songLength, std::vector<Problem>& found) {
  const int count = std::clamp(table.EventCount, 0, EventTable::kCapacity);
  std::unordered_map<int32_t, int> lastAt;  // Count -> the last event of that time, so far
  std::vector<int> hiddenBy(count, -1);
  for (int i = count - 1; i >= 0; --i) {
    const int32_t time = table.events[i].Count;
    if (const auto later = lastAt.find(time); later != lastAt.end()) hiddenBy[i] = later->second;
    lastAt[time] = i;
  }
  for (int i = 0; i < count; ++i) {
    const EventItem& item = table.events[i];
    if (songLength && item.Count > *songLength) {
      found.push_back(Warning(
          "past-song-end", i + 1,
          FormatText(check_texts::kPastSongEnd, {Decimal(item.Count), Decimal(*songLength),
                                                 Decimal(int64_t{item.Count} - *songLength)})));
    }
    if (hiddenBy[i] >= 0) {
      found.push_back(Warning(
          "same-time", i + 1,
          FormatText(check_texts::kSameTime, {Decimal(hiddenBy[i] + 1), Decimal(item.Count)})));
    }
    if (CommandGenerator::Fades(item) && item.Count < kFadeOut) {
      found.push_back(Warning("no-fade-out", i + 1,
                              FormatText(check_texts::kNoFadeOut, {Decimal(item.Count)})));
    }
  }
  CheckFades(table, pictures, count, found);
}
