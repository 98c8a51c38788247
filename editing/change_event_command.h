#pragma once

#include "editing/edit_command.h"

// Replaces one event's fields: the edits made to it between selecting and leaving it, a chosen
// colour, a dragged rectangle, a new time.
class ChangeEventCommand : public EditCommand {
 public:
  ChangeEventCommand(int index, EventItem before, EventItem after);

  void Redo(EventTable& table) const override;
  void Undo(EventTable& table) const override;
  bool ChangesNothing() const override { return before_ == after_; }

 private:
  int index_;
  EventItem before_;
  EventItem after_;
};
