#include "editing/replace_events_command.h"

#include <algorithm>

ReplaceEventsCommand::ReplaceEventsCommand(const EventTable& table, const EventTable& replacement)
    : count_before_(table.EventCount), count_after_(replacement.EventCount) {
  const int n = std::max(count_before_, count_after_);
  before_.assign(table.events.begin(), table.events.begin() + n);
  after_.assign(replacement.events.begin(), replacement.events.begin() + n);
}

void ReplaceEventsCommand::Put(EventTable& table, const std::vector<EventItem>& slots, int count) {
  std::copy(slots.begin(), slots.end(), table.events.begin());
  table.EventCount = count;
}

void ReplaceEventsCommand::Redo(EventTable& table) const { Put(table, after_, count_after_); }

void ReplaceEventsCommand::Undo(EventTable& table) const { Put(table, before_, count_before_); }

bool ReplaceEventsCommand::ChangesNothing() const {
  return count_before_ == count_after_ &&
         std::equal(before_.begin(), before_.begin() + count_before_, after_.begin());
}
