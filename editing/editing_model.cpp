#include "editing/editing_model.h"

#include <algorithm>
#include <utility>

#include "editing/add_event_command.h"
#include "editing/change_event_command.h"
#include "editing/delete_event_command.h"
#include "editing/replace_events_command.h"

namespace {

bool IsLive(const EventTable& table, int index) { return index >= 0 && index < table.EventCount; }

}  // namespace

bool EditingModel::Apply(std::unique_ptr<EditCommand> command, int32_t selection) {
  if (command->ChangesNothing()) return false;
  command->Redo(table_);
  EditStep step{std::move(command), selection_, selection};
  selection_ = selection;
  history_.Push(std::move(step));
  return true;
}

bool EditingModel::ChangeEvent(int index, const EventItem& after,
                               std::optional<int32_t> selection) {
  if (!IsLive(table_, index)) return false;
  return Apply(std::make_unique<ChangeEventCommand>(index, table_.events[index], after),
               selection.value_or(index));
}

bool EditingModel::AddEvent(const EventItem& fields) {
  const int slot = table_.EventCount;
  if (slot < 0 || slot >= EventTable::kCapacity) return false;
  return Apply(std::make_unique<AddEventCommand>(table_, slot, fields), slot);
}

bool EditingModel::DeleteEvent(int index) {
  if (!IsLive(table_, index)) return false;
  const int32_t selection = std::min(index, table_.EventCount - 2);
  return Apply(std::make_unique<DeleteEventCommand>(table_, index), selection);
}

bool EditingModel::RetimeEvents(const std::vector<EventTime>& times) {
  for (const EventTime& time : times) {
    if (!IsLive(table_, time.index)) return false;
  }
  return Apply(std::make_unique<RetimeEventsCommand>(table_, times), selection_);
}

bool EditingModel::ReplaceEvents(const EventTable& replacement, int32_t selection) {
  if (replacement.EventCount < 0 || replacement.EventCount > EventTable::kCapacity) return false;
  return Apply(std::make_unique<ReplaceEventsCommand>(table_, replacement), selection);
}

bool EditingModel::Undo() {
  const EditStep* step = history_.TakeUndo();
  if (step == nullptr) return false;
  step->command->Undo(table_);
  selection_ = step->selection_before;
  return true;
}

bool EditingModel::Redo() {
  const EditStep* step = history_.TakeRedo();
  if (step == nullptr) return false;
  step->command->Redo(table_);
  selection_ = step->selection_after;
  return true;
}
