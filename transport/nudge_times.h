#pragma once

#include <cstdint>
#include <vector>

#include "document/event_table.h"
#include "editing/retime_events_command.h"

// A nudge of the selected event (at `from`, as the controls show it) by `direction` sixteenths,
// with every later event too when `with_later`, within 0 .. `length`. Empty when the selected
// event would not move (at either end of the song), so that a group keeps its spacing.
std::vector<EventTime> NudgeTimes(const EventTable& table, int selection, int32_t from,
                                  int direction, bool with_later, int32_t length);
