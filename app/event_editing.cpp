// The event edits of the main window as steps of the editing model.
#include "app/event_editing.h"

#include <QColor>
#include <algorithm>

#include "app/dialogs.h"
#include "app/event_controls.h"
#include "editing/new_event.h"
#include "transport/nudge_times.h"
#include "ui_tform1.h"

EventEditing::EventEditing(Ui::TForm1& ui, EditingModel& editing, EventControls& controls,
                           Dialogs& dialogs, QObject* parent)
    : QObject(parent), ui_(ui), editing_(editing), controls_(controls), dialogs_(dialogs) {}

bool EventEditing::CommitWorkingCopy(std::optional<int> next) {
  const bool changed = controls_.Commit(next);
  if (changed) emit Committed();
  return changed;
}

void EventEditing::CommitGesture(const std::function<void(EventItem&)>& change) {
  CommitWorkingCopy();
  const EventTable& doc = editing_.Table();
  const int index = editing_.Selection();
  if (index < 0 || index >= doc.EventCount) {
    // No event to change: the controls alone take the change, as a working copy does.
    EventItem item = controls_.Read();
    change(item);
    controls_.Show(item);
    emit WorkingCopyChanged(item);
    emit StateChanged();
    return;
  }
  EventItem item = doc.events[index];
  change(item);
  if (editing_.ChangeEvent(index, item)) emit EventChanged(index);
  emit StateChanged();
}

void EventEditing::RetimeEvents(const std::vector<EventTime>& times) {
  CommitWorkingCopy();
  if (editing_.RetimeEvents(times)) emit StepMade();
}

void EventEditing::ReplaceEvents(const EventTable& replacement, int selection) {
  CommitWorkingCopy();
  if (editing_.ReplaceEvents(replacement, selection)) emit StepMade();
}

void EventEditing::ApplyStep(std::unique_ptr<EditCommand> command, int selection) {
  CommitWorkingCopy();
  if (editing_.Apply(std::move(command), selection)) emit StepMade();
}

void EventEditing::Add(const std::function<int32_t()>& tap) {
  const EventTable& doc = editing_.Table();
  if (doc.EventCount >= EventTable::kCapacity) {
    // In the status line, not a box: a box would take the focus from a user tapping along.
    emit Status(QStringLiteral("イベントは%1個までです。これ以上追加できません。")
                    .arg(EventTable::kCapacity));
    return;
  }
  const int32_t position = tap();  // the position of the press, before anything else
  CommitWorkingCopy();
  editing_.AddEvent(NewEvent(doc, position));
  // The controls edit the new event, and the list's highlight names it.
  emit StepMade();
}

void EventEditing::Delete() {
  const EventTable& doc = editing_.Table();
  if (doc.EventCount <= 1) return;
  const Dialogs::Answer answer = dialogs_.AskYesNo(QStringLiteral("削除します"), ui_.Mark->text());
  if (answer != Dialogs::Answer::Yes) return;
  const int selection = editing_.Selection();
  if (selection < 0 || selection >= doc.EventCount) return;
  // Edits made before are a step of their own, so that undoing the deletion brings them back.
  CommitWorkingCopy();
  // The controls still hold the deleted event: the event now at that place (or the new last
  // one) is loaded into them without committing them over it.
  editing_.DeleteEvent(selection);
  emit StepMade();
}

void EventEditing::Undo() {
  // Edits not yet committed are the latest step: they are the first to go.
  CommitWorkingCopy();
  if (editing_.Undo()) emit StepMade();
}

void EventEditing::Redo() {
  // New edits replace the steps that could be redone, as in any editor.
  if (CommitWorkingCopy() || !editing_.Redo()) {
    emit StateChanged();
    return;
  }
  emit StepMade();
}

void EventEditing::Nudge(int direction, bool with_later, int32_t song_length) {
  const EventTable& doc = editing_.Table();
  if (doc.MidiPath.empty()) return;
  const std::vector<EventTime> times = NudgeTimes(doc, editing_.Selection(), ui_.TimeBar2->value(),
                                                  direction, with_later, song_length);
  if (!times.empty()) RetimeEvents(times);  // one press, one step
}

void EventEditing::SetRect(int x1, int y1, int x2, int y2) {
  // A dragged rectangle is one step of its own.
  CommitGesture([&](EventItem& item) {
    item.X1 = x1;
    item.X2 = x2;
    item.Y1 = y1;
    item.Y2 = y2;
  });
}

void EventEditing::TimeBarReleased() {
  // The release of the bar is one step; edits made before it are another.
  const int32_t released = ui_.TimeBar2->value();
  const int32_t count =
      std::clamp(controls_.Loaded().Count, ui_.TimeBar2->minimum(), ui_.TimeBar2->maximum());
  ui_.TimeBar2->setValue(count);
  CommitGesture([released](EventItem& item) { item.Count = released; });
}

void EventEditing::SetTime(int32_t position) {
  // The position of the press, as the bar can hold it; the Count text and the unsaved-changes
  // mark follow.
  const int32_t clamped = std::clamp(position, ui_.TimeBar2->minimum(), ui_.TimeBar2->maximum());
  CommitGesture([clamped](EventItem& item) { item.Count = clamped; });
}

void EventEditing::TypedTime() {
  bool number = false;
  const int typed = ui_.Count->text().trimmed().toInt(&number);
  const int32_t shown = ui_.TimeBar2->value();
  if (!number || typed == shown) {
    // No number (or no change): the field shows the time again.
    ui_.Count->setText(QString::number(shown));
    return;
  }
  const int32_t count = std::clamp(typed, ui_.TimeBar2->minimum(), ui_.TimeBar2->maximum());
  CommitGesture([count](EventItem& item) { item.Count = count; });
  ui_.Count->setText(QString::number(ui_.TimeBar2->value()));
}

bool EventEditing::ChooseColour() {
  const uint32_t c = controls_.Colour();
  const std::optional<QColor> chosen =
      dialogs_.ChooseColour(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  if (!chosen) return false;
  const uint32_t colour = static_cast<uint32_t>(chosen->red()) |
                          static_cast<uint32_t>(chosen->green()) << 8 |
                          static_cast<uint32_t>(chosen->blue()) << 16;
  // A chosen colour is one step of its own.
  CommitGesture([colour](EventItem& item) { item.Color = colour; });
  return true;
}
