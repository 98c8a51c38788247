#pragma once

#include "editing/edit_command.h"

// Appends an event in slot EventCount. The slot keeps what it last held but for the fields the
// new event sets (mark, time, effect); undoing gives the slot back its old contents, so that a
// later addition reuses it exactly as before.
class AddEventCommand : public EditCommand {
 public:
  // `slot` is the table's EventCount when the command is made (below its capacity).
  AddEventCommand(const EventTable& table, int slot, const EventItem& fields);

  void Redo(EventTable& table) const override;
  void Undo(EventTable& table) const override;

 private:
  int slot_;
  EventItem before_;
  EventItem after_;
};
