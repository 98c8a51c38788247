#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "document/event_table.h"
#include "editing/retime_events_command.h"
#include "editing/undo_history.h"

// The document being edited: the event table and the history of the steps made to it. Every
// change to the live events goes through here as one step, so that it can be undone; whether
// the document is modified is whether the history stands at its clean state.
//
// The table's names are the window's to keep; the model touches only the slots and EventCount,
// and keeps the selected event (-1: none), which each step restores when undone or redone.
class EditingModel {
 public:
  EditingModel() = default;
  EditingModel(const EditingModel&) = delete;
  EditingModel& operator=(const EditingModel&) = delete;

  EventTable& Table() { return table_; }
  const EventTable& Table() const { return table_; }
  int32_t Selection() const { return selection_; }
  // Selects an event (or -1) outside any step.
  void Select(int32_t selection) { selection_ = selection; }

  // Makes the command and keeps it as one step, then selects `selection`. A command that
  // changes nothing is dropped and the selection stays: returns false.
  bool Apply(std::unique_ptr<EditCommand> command, int32_t selection);

  // Gives event `index` (a live event) new fields and selects it, or `selection` when given
  // (the event the user went on to, when leaving one commits its edits).
  bool ChangeEvent(int index, const EventItem& after,
                   std::optional<int32_t> selection = std::nullopt);
  // Appends the event `fields` in slot EventCount and selects it. False when the table is full.
  bool AddEvent(const EventItem& fields);
  // Deletes live event `index` and selects the event now at that place (or the new last one).
  bool DeleteEvent(int index);
  // Gives live events new times, as one step; the selection stays.
  bool RetimeEvents(const std::vector<EventTime>& times);
  // Replaces the live events with those of `replacement` and selects `selection`.
  bool ReplaceEvents(const EventTable& replacement, int32_t selection);

  // Take back the last step (or make again the last one taken back), restoring the selection of
  // that moment. False when there is none.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  size_t UndoCount() const { return history_.UndoCount(); }

  // The state last saved or opened.
  bool IsClean() const { return history_.IsClean(); }
  void SetClean() { history_.SetClean(); }
  // Another song: forgets every step, and the present state is clean.
  void ClearHistory() { history_.Clear(); }

 private:
  EventTable table_;
  int32_t selection_ = -1;
  UndoHistory history_;
};
