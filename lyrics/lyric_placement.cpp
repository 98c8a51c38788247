#include "lyrics/lyric_placement.h"

#include <algorithm>

std::vector<EventItem> PlaceLyricEvents(const EventTable& table,
                                        const std::vector<EventItem>& imported,
                                        LyricPlacement placement, int32_t from, size_t* left_out) {
  std::vector<EventItem> events;
  const int count = std::clamp(table.EventCount, 0, EventTable::kCapacity);
  if (placement != LyricPlacement::kReplaceAll) {
    for (int i = 0; i < count; ++i) {
      const EventItem& event = table.events[i];
      if (placement == LyricPlacement::kReplaceFrom && event.Count >= from) continue;
      events.push_back(event);
    }
  }
  *left_out = 0;
  for (const EventItem& event : imported) {
    if (placement == LyricPlacement::kReplaceFrom && event.Count < from) continue;
    if (events.size() >= EventTable::kCapacity) {
      ++*left_out;
      continue;
    }
    events.push_back(event);
  }
  return events;
}
