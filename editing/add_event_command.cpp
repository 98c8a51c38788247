#include "editing/add_event_command.h"

AddEventCommand::AddEventCommand(const EventTable& table, int slot, const EventItem& fields)
    : slot_(slot), before_(table.events.at(slot)), after_(fields) {}

void AddEventCommand::Redo(EventTable& table) const {
  table.events.at(slot_) = after_;
  table.EventCount = slot_ + 1;
}

void AddEventCommand::Undo(EventTable& table) const {
  table.events.at(slot_) = before_;
  table.EventCount = slot_;
}
