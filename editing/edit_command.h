#pragma once

#include "document/event_table.h"

// One step of the editing history: a change to the event table that can be made (Redo) and taken
// back (Undo). A command keeps what it needs to do both, nothing of the window; the selection
// around it is kept by the history.
class EditCommand {
 public:
  virtual ~EditCommand() = default;

  virtual void Redo(EventTable& table) const = 0;
  virtual void Undo(EventTable& table) const = 0;
  // True for a command whose Redo would leave the table as it is: such a change is no step.
  virtual bool ChangesNothing() const { return false; }
};
