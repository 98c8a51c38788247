#pragma once

#include <cstdint>
#include <vector>

#include "editing/edit_command.h"

// A new time for one event.
struct EventTime {
  int index = 0;
  int32_t count = 0;
};

// Gives several events new times at once (a nudge, a marker dragged on a timeline): one step.
class RetimeEventsCommand : public EditCommand {
 public:
  // Every index names a live event of `table`; a later entry for the same event wins.
  RetimeEventsCommand(const EventTable& table, const std::vector<EventTime>& times);

  void Redo(EventTable& table) const override;
  void Undo(EventTable& table) const override;
  bool ChangesNothing() const override;

 private:
  struct Change {
    int index;
    int32_t before;
    int32_t after;
  };
  std::vector<Change> changes_;
};
