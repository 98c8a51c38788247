#pragma once

#include <cstdint>

#include "document/event_table.h"

// A new event at `count` (sixteenths): the mark "新規イベント", no effect, no lyrics, and the
// layout (picture, tiling, rectangle, alignment, colour) of the event shown at that time, the
// latest live event at or before it (of events at the same time, the later in table order).
// With none, no picture and white lyrics centred in the rectangle (0, 400) - (639, 479), where
// lyrics belong on the screen.
EventItem NewEvent(const EventTable& table, int32_t count);
