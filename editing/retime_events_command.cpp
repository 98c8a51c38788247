#include "editing/retime_events_command.h"

#include <algorithm>

RetimeEventsCommand::RetimeEventsCommand(const EventTable& table,
                                         const std::vector<EventTime>& times) {
  for (const EventTime& time : times) {
    auto same = std::find_if(changes_.begin(), changes_.end(),
                             [&](const Change& change) { return change.index == time.index; });
    if (same != changes_.end()) {
      same->after = time.count;
    } else {
      changes_.push_back({time.index, table.events.at(time.index).Count, time.count});
    }
  }
}

void RetimeEventsCommand::Redo(EventTable& table) const {
  for (const Change& change : changes_) table.events.at(change.index).Count = change.after;
}

void RetimeEventsCommand::Undo(EventTable& table) const {
  for (const Change& change : changes_) table.events.at(change.index).Count = change.before;
}

bool RetimeEventsCommand::ChangesNothing() const {
  return std::all_of(changes_.begin(), changes_.end(),
                     [](const Change& change) { return change.before == change.after; });
}
