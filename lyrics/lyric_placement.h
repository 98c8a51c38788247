#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/event_table.h"

// Where imported events go in a document.
enum class LyricPlacement {
  kReplaceAll,   // they become the only events
  kReplaceFrom,  // the events before a time stay; those at or after it give way
  kAdd,          // after the events there are
};

// The live events after placing `imported` (in order) in `table`: with kReplaceFrom only the
// imported events at or after `from` go in. The table's capacity is kept: imported events that
// do not fit are left out and counted in `left_out`.
std::vector<EventItem> PlaceLyricEvents(const EventTable& table,
                                        const std::vector<EventItem>& imported,
                                        LyricPlacement placement, int32_t from, size_t* left_out);
