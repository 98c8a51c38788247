#include "editing/delete_event_command.h"

DeleteEventCommand::DeleteEventCommand(const EventTable& table, int index)
    : index_(index), removed_(table.events.at(index)) {}

void DeleteEventCommand::Redo(EventTable& table) const {
  for (int i = index_ + 1; i < table.EventCount; ++i) table.events[i - 1] = table.events[i];
  --table.EventCount;
}

void DeleteEventCommand::Undo(EventTable& table) const {
  // The old last slot still holds what it held before the deletion, so moving the events back
  // up restores every slot.
  for (int i = table.EventCount; i > index_; --i) table.events[i] = table.events[i - 1];
  table.events[index_] = removed_;
  ++table.EventCount;
}
