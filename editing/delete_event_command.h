#pragma once

#include "editing/edit_command.h"

// Deletes one live event: the later events move down one place and the old last slot keeps its
// contents. Undoing moves them back up and puts the event back.
class DeleteEventCommand : public EditCommand {
 public:
  // `index` names a live event of `table`.
  DeleteEventCommand(const EventTable& table, int index);

  void Redo(EventTable& table) const override;
  void Undo(EventTable& table) const override;

 private:
  int index_;
  EventItem removed_;
};
