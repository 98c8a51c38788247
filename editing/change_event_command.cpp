#include "editing/change_event_command.h"

#include <utility>

ChangeEventCommand::ChangeEventCommand(int index, EventItem before, EventItem after)
    : index_(index), before_(std::move(before)), after_(std::move(after)) {}

void ChangeEventCommand::Redo(EventTable& table) const { table.events.at(index_) = after_; }

void ChangeEventCommand::Undo(EventTable& table) const { table.events.at(index_) = before_; }
