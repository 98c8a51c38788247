#pragma once

#include "editing/edit_command.h"

// Appends an event in slot EventCount, every field of it given: nothing the slot held before
// survives. Undoing gives the slot back its old contents.
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
