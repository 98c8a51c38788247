#pragma once

#include <vector>

#include "editing/edit_command.h"

// Replaces the live events with those of another table (a restored recovery copy). Undoing
// gives back the events, and the slots they overwrote, as they were.
class ReplaceEventsCommand : public EditCommand {
 public:
  ReplaceEventsCommand(const EventTable& table, const EventTable& replacement);

  void Redo(EventTable& table) const override;
  void Undo(EventTable& table) const override;
  bool ChangesNothing() const override;

 private:
  static void Put(EventTable& table, const std::vector<EventItem>& slots, int count);

  std::vector<EventItem> before_;  // slots 0 .. n - 1, n the larger of the two counts
  std::vector<EventItem> after_;
  int count_before_;
  int count_after_;
};
