#include "transport/nudge_times.h"

#include <algorithm>

std::vector<EventTime> NudgeTimes(const EventTable& table, int selection, int32_t from,
                                  int direction, bool with_later, int32_t length) {
  if (selection < 0 || selection >= table.EventCount) return {};
  auto moved = [&](int32_t count) { return std::clamp(count + direction, 0, length); };
  if (moved(from) == from) return {};
  std::vector<EventTime> changes{{selection, moved(from)}};
  if (with_later) {
    for (int i = 0; i < table.EventCount; ++i) {
      if (i != selection && table.events[i].Count >= from) {
        changes.push_back({i, moved(table.events[i].Count)});
      }
    }
  }
  return changes;
}
